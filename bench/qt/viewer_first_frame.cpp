// The story viewer's first frame with a cached full-screen picture (1080 x 1920), next to the first frame
// of a bare Image showing the same picture through the same image provider: from creating the item to a
// rendered frame with the picture in it, offscreen with the software scene graph, in one window of the
// picture's size. The viewer must cost at most 1.5 times the bare Image; the program fails when it does
// not. Measure with the release preset.
#include <quenmark/model/story_group.h>
#include <quenmark/model/story_item.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/platform/platform.h>
#include <quenmark/qt/story_group_list.h>

#include "memory_picture_session.h"
#include "pipeline_image_provider.h"
#include "recording_reporter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace quenmark;

const Url& pictureUrl() {
  static const Url url = *Url::parse("https://cdn.example.com/stories/welcome.png");
  return url;
}

void runEventsUntil(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

/// One engine and one window for both benchmarks; the picture is in the pipeline's cache.
struct Stage {
  Stage() {
    auto platform = *platform::currentPlatform();  // the Qt platform
    platform.http = session;
    platform::installPlatform(platform);
    bool cached = false;
    StoryImagePipeline::shared().imageFor(pictureUrl(), [&](auto image) { cached = image != nullptr; });
    runEventsUntil([&] { return cached; });

    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    qt::PipelineImageProvider::installInto(engine);
    window.resize(bench::storyPicture().size());
    window.show();
  }

  std::shared_ptr<bench::MemoryPictureSession> session = std::make_shared<bench::MemoryPictureSession>();
  QQmlEngine engine;
  QQuickWindow window;
};

/// Made on first use and dropped before the application goes.
std::unique_ptr<Stage> theStage;

Stage& stage() {
  if (!theStage) theStage = std::make_unique<Stage>();
  return *theStage;
}

/// The Image that shows the picture: `item` itself, or the viewer's (found among the visual children, where
/// the items of a Repeater are).
QQuickItem* pictureOf(QQuickItem* item) {
  if (item->inherits("QQuickImage") && item->objectName() == QLatin1String("picture")) return item;
  for (QQuickItem* child : item->childItems()) {
    if (QQuickItem* found = pictureOf(child)) return found;
  }
  return nullptr;
}

/// Makes `component` in the window `state.iterations()` times, each time until its picture shows in a
/// rendered frame; the item is destroyed outside the measurement.
void measureFirstFrames(benchmark::State& state, QQmlComponent& component, const QVariantMap& properties) {
  Stage& on = stage();
  if (component.isError()) {
    state.SkipWithError(component.errorString().toStdString().c_str());
    return;
  }
  const auto showOnce = [&]() -> std::unique_ptr<QObject> {
    std::unique_ptr<QObject> object(component.createWithInitialProperties(properties));
    auto* item = qobject_cast<QQuickItem*>(object.get());
    item->setParentItem(on.window.contentItem());
    runEventsUntil([&] {
      const QQuickItem* image = pictureOf(item);
      return image != nullptr && image->property("status").toInt() == 1;  // Image.Ready
    });
    const QImage frame = on.window.grabWindow();
    if (frame.isNull()) return nullptr;
    benchmark::DoNotOptimize(frame.constBits());
    return object;
  };
  const auto destroy = [](std::unique_ptr<QObject> object) {
    object.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  // Once unmeasured: the engine loads and compiles the types it uses the first time only.
  destroy(showOnce());
  for (auto _ : state) {
    std::unique_ptr<QObject> object = showOnce();
    if (object == nullptr) {
      state.SkipWithError("no frame rendered");
      break;
    }
    state.PauseTiming();
    destroy(std::move(object));
    state.ResumeTiming();
  }
}

void BM_BareImageFirstFrame(benchmark::State& state) {
  QQmlComponent component(&stage().engine);
  component.setData(R"(
    import QtQuick
    Image {
      objectName: "picture"
      width: 1080; height: 1920
      sourceSize: Qt.size(width, height)
      fillMode: Image.PreserveAspectFit
      cache: false
    })",
                    QUrl());
  measureFirstFrames(state, component, {{QStringLiteral("source"), qt::imageSource(pictureUrl())}});
}
BENCHMARK(BM_BareImageFirstFrame)->Unit(benchmark::kMillisecond);

void BM_ViewerFirstFrame(benchmark::State& state) {
  QQmlComponent component(&stage().engine);
  component.setData(R"(
    import QtQuick
    import Quenmark.Stories
    StoryViewerView { width: 1080; height: 1920 }
  )",
                    QUrl());
  // A group of three picture items, the first with a title, a text and a call-to-action.
  std::vector<StoryItem> items;
  for (int index = 0; index < 3; ++index) {
    items.emplace_back("item-" + std::to_string(index), std::string("Weekend box"),
                       std::string("Three dinners, ready in twenty minutes."), StoryMediaType::image, pictureUrl(), 5.0,
                       std::string("Order now"), Url::parse("https://example.com/order"), WidgetType::none,
                       std::nullopt, std::nullopt, std::vector<WidgetOption>{}, std::nullopt);
  }
  std::vector<StoryGroup> groups;
  groups.emplace_back("group", "Recipes", StoryTheme::defaultTheme(), std::nullopt, std::move(items));
  measureFirstFrames(state, component,
                     {{QStringLiteral("groups"), QVariant::fromValue(qt::StoryGroupList(std::move(groups)))}});
}
BENCHMARK(BM_ViewerFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_QUICK_BACKEND", "software");
  qputenv("XDG_DATA_HOME", QDir::temp().filePath(QStringLiteral("quenmark-bench")).toUtf8());
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  quenmark::bench::RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  theStage.reset();

  const auto bare = reporter.seconds.find("BM_BareImageFirstFrame");
  const auto viewer = reporter.seconds.find("BM_ViewerFirstFrame");
  if (bare == reporter.seconds.end() || viewer == reporter.seconds.end()) return 0;  // filtered out
  const double ratio = viewer->second / bare->second;
  std::printf("viewer first frame / bare Image first frame = %.3f (at most 1.5)\n", ratio);
  return ratio <= 1.5 ? 0 : 1;
}
