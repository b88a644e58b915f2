#include "quick_test_support.h"

#include <quenmark/platform/platform.h>
#include <quenmark/qt/qt_platform.h>
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
  PictureServer server;
  testing::TestPlatform testPlatform;
  std::shared_ptr<platform::MainThread> gui;  // the Qt platform's main thread
};

Process* process = nullptr;  // made by setUpProcess, kept until the process ends

}  // namespace

void QuickTestSupport::setUpProcess() {
  process = new Process();
  // The Qt platform that the application's construction installed, with the test platform's memory store,
  // fixed device, recording URL opener and console, and the test server as the content service.
  auto qtPlatform = platform::currentPlatform();
  process->gui = qtPlatform->mainThread;
  platform::Platform platform = process->testPlatform.platform(process->server.baseUrl());
  platform.mainThread = qtPlatform->mainThread;
  platform.clock = qtPlatform->clock;
  platform.fonts = qtPlatform->fonts;
  platform::installPlatform(std::move(platform));
}

void QuickTestSupport::tearDownProcess() { process->testPlatform.http->waitUntilIdle(std::chrono::seconds{10}); }

QString QuickTestSupport::url(const QString& path) const {
  return QString::fromStdString(process->server.url(path.toStdString()).string());
}

void QuickTestSupport::servePicture(const QString& path, const QColor& top, const QColor& bottom, int width,
                                    int height) {
  process->server.serve(path.toStdString(), makePicture({width, height}, top, bottom));
}

void QuickTestSupport::holdPicture(const QString& path, const QColor& top, const QColor& bottom, int width,
                                   int height) {
  process->server.hold(path.toStdString(), makePicture({width, height}, top, bottom));
}

void QuickTestSupport::release(const QString& path) { process->server.release(path.toStdString()); }

void QuickTestSupport::serveFailure(const QString& path) { process->server.serveFailure(path.toStdString()); }

int QuickTestSupport::requestCount(const QString& path) const {
  return static_cast<int>(process->server.requestCount(path.toStdString()));
}

void QuickTestSupport::useVirtualTime() {
  auto& test = process->testPlatform;
  platform::Platform platform = test.platform(process->server.baseUrl());
  platform.mainThread = std::make_shared<VirtualTimeMainThread>(process->gui, test.mainThread);
  platform::installPlatform(std::move(platform));
}

void QuickTestSupport::advance(double seconds) { process->testPlatform.mainThread->advance(seconds); }

}  // namespace quenmark::qttest
