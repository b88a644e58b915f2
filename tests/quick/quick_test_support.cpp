#include "quick_test_support.h"

#include <quenmark/banners/application_activity.h>
#include <quenmark/model/model_json.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/platform/platform.h>
#include <quenmark/qt/story_group_list.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/sdk/story_sdk_event.h>
#include <quenmark/testing/test_platform.h>

#include "banner_carousel_model.h"
#include "picture_server.h"

#include <QAccessible>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <variant>

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
  QStringList impressedGroups;
};

Process* process = nullptr;  // kept until the process ends

}  // namespace

void QuickTestSupport::setUpProcess() {
  process = new Process{{}, {}, platform::currentPlatform(), {}};
  platform::Platform platform = process->test.platform(process->pictures.server.baseUrl());
  platform.mainThread = std::make_shared<VirtualTimeMainThread>(process->qt->mainThread, process->test.mainThread);
  platform::installPlatform(std::move(platform));
}

void QuickTestSupport::tearDownProcess() { process->test.http->waitUntilIdle(std::chrono::seconds{10}); }

QString QuickTestSupport::url(const QString& path) const {
  return QString::fromStdString(process->pictures.url(path.toStdString()).string());
}

void QuickTestSupport::servePicture(const QString& path, const QColor& top, const QColor& bottom, int width, int height,
                                    bool held) {
  process->pictures.serve(path.toStdString(), makePng({width, height}, top, bottom), "image/png", held);
}

void QuickTestSupport::release(const QString& path) { process->pictures.release(path.toStdString()); }

int QuickTestSupport::requestCount(const QString& path) const {
  return static_cast<int>(process->pictures.requestCount(path.toStdString()));
}

QString QuickTestSupport::serveStories(const QString& placementKey, const QVariantList& groups, bool held) {
  const QString path = QStringLiteral("/sdk/v1/apps/app-key/placements/%1/stories").arg(placementKey);
  const QJsonObject body{{QStringLiteral("groups"), QJsonArray::fromVariantList(groups)}};
  process->pictures.serve(path.toStdString(), QJsonDocument(body).toJson().toStdString(), "application/json", held);
  return path;
}

void QuickTestSupport::serveVideo(const QString& path) {
  QFile file(QStringLiteral(QUENMARK_SAMPLE_VIDEO));
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("the sample video is missing");
  process->pictures.serve(path.toStdString(), file.readAll().toStdString(), "video/mp4");
}

QVariant QuickTestSupport::storyGroups(const QVariantList& groups) const {
  const StoryTheme& base = StoryTheme::defaultTheme();
  auto color = [](const QVariant& value, const Color& fallback) {
    const QColor parsed(value.toString());
    return parsed.isValid() ? Color(parsed.redF(), parsed.greenF(), parsed.blueF(), parsed.alphaF()) : fallback;
  };
  std::vector<StoryGroup> made;
  for (const QVariant& entry : groups) {
    const QVariantMap group = entry.toMap();
    const QVariantMap theme = group.value(QStringLiteral("theme")).toMap();
    std::vector<StoryItem> items;
    for (const QVariant& itemEntry : group.value(QStringLiteral("items")).toList()) {
      QJsonObject item = QJsonObject::fromVariantMap(itemEntry.toMap());
      if (!item.contains(QStringLiteral("widgetType"))) item.insert(QStringLiteral("widgetType"), "NONE");
      if (!item.contains(QStringLiteral("widgetOptions"))) item.insert(QStringLiteral("widgetOptions"), QJsonArray());
      auto decoded = decodeStoryItemJson(QJsonDocument(item).toJson().toStdString());
      if (!decoded.ok()) throw std::runtime_error(decoded.error().description);
      items.push_back(std::move(decoded).value());
    }
    made.emplace_back(
        group.value(QStringLiteral("id")).toString().toStdString(),
        group.value(QStringLiteral("title")).toString().toStdString(),
        StoryTheme(base.progressStyle(), base.bubbleStyle(), std::nullopt,
                   color(theme.value(QStringLiteral("primaryColor")), base.primaryColor()),
                   color(theme.value(QStringLiteral("secondaryColor")), base.secondaryColor()),
                   theme.value(QStringLiteral("ctaStyle")) == QStringLiteral("OUTLINED") ? CtaStyle::outlined
                                                                                         : base.ctaStyle()),
        std::nullopt, std::move(items));
  }
  return QVariant::fromValue(qt::StoryGroupList(std::move(made)));
}

void QuickTestSupport::serveBanners(const QString& placementKey, const QVariantList& banners) {
  const QJsonObject body{{QStringLiteral("banners"), QJsonArray::fromVariantList(banners)}};
  process->pictures.serve("/sdk/v1/apps/app-key/placements/" + placementKey.toStdString() + "/banners",
                          QJsonDocument(body).toJson().toStdString(), "application/json");
}

void QuickTestSupport::setBannerProgress(QObject* carousel, double progress) {
  auto* adapter = qobject_cast<qt::BannerCarouselModel*>(carousel);
  if (adapter == nullptr || !adapter->bannerView()) {
    qWarning("setBannerProgress: not a completed BannerCarouselModel");
    return;
  }
  platform::currentPlatform()->mainThread->post([view = std::weak_ptr(adapter->bannerView()), progress] {
    if (auto model = view.lock()) model->applyPosition(model->activeBannerIndex(), model->activeItemIndex(), progress);
  });
}

void QuickTestSupport::configure(bool previewMode) {
  StorySDK::shared().configure(StoryConfiguration("sdk-key", "app-key", StoryEnvironment::production, std::nullopt,
                                                  std::nullopt, "user-1", StoryUIStrings::defaultStrings(),
                                                  previewMode));
  StorySDK::shared().setEventHandler([](const StorySDKEvent& event) {
    if (const auto* impression = std::get_if<StorySDKEvent::StoryGroupImpression>(&event))
      process->impressedGroups.append(QString::fromStdString(impression->groupId));
  });
}

QStringList QuickTestSupport::impressedGroups() const { return process->impressedGroups; }

void QuickTestSupport::postApplicationEvent(const QString& event) {
  auto& activity = ApplicationActivity::shared();
  if (event == QLatin1String("didBecomeActive")) activity.postDidBecomeActive();
  if (event == QLatin1String("willResignActive")) activity.postWillResignActive();
}

void QuickTestSupport::setScreenReaderActive(bool active) { QAccessible::setActive(active); }

QStringList QuickTestSupport::openedUrls() const {
  QStringList urls;
  for (const Url& url : process->test.urlOpener->opened()) urls.append(QString::fromStdString(url.string()));
  return urls;
}

void QuickTestSupport::advance(double seconds) { process->test.mainThread->advance(seconds); }

}  // namespace quenmark::qttest
