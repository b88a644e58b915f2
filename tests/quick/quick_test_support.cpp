#include "quick_test_support.h"

#include <quenmark/platform/platform.h>
#include <quenmark/testing/test_platform.h>

#include "picture_server.h"

#include <chrono>
#include <memory>

namespace quenmark::qttest {
namespace {

/// Posts to the GUI thread; schedules timers on virtual time.
class VirtualTimeMainThread final : public platform::MainThread {
 public:
  VirtualTimeMainThread(std::shared_ptr<platform::MainThread> gui, std::shared_ptr<testing::VirtualMainThread> timers)
      : gui_(std::move(gui)), timers_(std::move(timers)) {}
  void post(std::function<void()> task) override { gui_->post(std::move(task)); }
  std::unique_ptr<platform::Timer> schedule(double seconds, bool repeats, std::function<void()> fire) override {
    return timers_->schedule(seconds, repeats, std::move(fire));
  }
  bool isMainThread() const override { return gui_->isMainThread(); }

 private:
  std::shared_ptr<platform::MainThread> gui_;
  std::shared_ptr<testing::VirtualMainThread> timers_;
};

struct Process {
  PictureServer pictures;
  testing::TestPlatform test;
  std::shared_ptr<const platform::Platform> qt;  // installed when the application was constructed
};

Process* process = nullptr;  // kept until the process ends

}  // namespace

void QuickTestSupport::setUpProcess() {
  process = new Process{{}, {}, platform::currentPlatform()};
  platform::Platform platform = process->test.platform(process->pictures.server.baseUrl());
  platform.mainThread = process->qt->mainThread;
  platform.clock = process->qt->clock;
  platform.fonts = process->qt->fonts;
  platform::installPlatform(std::move(platform));
}

void QuickTestSupport::tearDownProcess() { process->test.http->waitUntilIdle(std::chrono::seconds{10}); }

QString QuickTestSupport::url(const QString& path) const {
  return QString::fromStdString(process->pictures.url(path.toStdString()).string());
}

void QuickTestSupport::servePicture(const QString& path, const QColor& top, const QColor& bottom, int width, int height,
                                    bool held) {
  process->pictures.serve(path.toStdString(), makePicture({width, height}, top, bottom), held);
}

void QuickTestSupport::release(const QString& path) { process->pictures.release(path.toStdString()); }

int QuickTestSupport::requestCount(const QString& path) const {
  return static_cast<int>(process->pictures.requestCount(path.toStdString()));
}

void QuickTestSupport::useVirtualTime() {
  platform::Platform platform = process->test.platform(process->pictures.server.baseUrl());
  platform.mainThread = std::make_shared<VirtualTimeMainThread>(process->qt->mainThread, process->test.mainThread);
  platform::installPlatform(std::move(platform));
}

void QuickTestSupport::advance(double seconds) { process->test.mainThread->advance(seconds); }

}  // namespace quenmark::qttest
