// The story viewer's first frame with a cached full-screen picture (1080 x 1920), next to the first frame
// of a bare Image showing the same picture through the same image provider: from creating the item to a
// rendered frame with the picture in it, offscreen with the software scene graph, in one window of the
// picture's size. The two are shown in turns and compared by their medians. The viewer must cost at most
// 1.5 times the bare Image; the program fails when it does not. A third subject, the bare Image with only
// the viewer's texts, shows how much of that any viewer showing them pays. Measure with the release
// preset.
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

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
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

/// One kind of item to show: its component and initial properties.
struct Subject {
  QQmlComponent& component;
  QVariantMap properties;
};

/// Makes `subject` in the window and runs events until its picture shows in a rendered frame; returns
/// the seconds that took, or a negative number when no frame was rendered. The item is destroyed after
/// the measurement, and a frame without it is rendered, so that the next measurement does not pay for
/// taking its scene graph nodes away.
double showOnce(const Subject& subject) {
  Stage& on = stage();
  const auto started = std::chrono::steady_clock::now();
  std::unique_ptr<QObject> object(subject.component.createWithInitialProperties(subject.properties));
  auto* item = qobject_cast<QQuickItem*>(object.get());
  item->setParentItem(on.window.contentItem());
  runEventsUntil([&] {
    const QQuickItem* image = pictureOf(item);
    return image != nullptr && image->property("status").toInt() == 1;  // Image.Ready
  });
  const QImage frame = on.window.grabWindow();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
  benchmark::DoNotOptimize(frame.constBits());
  object.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  benchmark::DoNotOptimize(on.window.grabWindow().constBits());
  return frame.isNull() ? -1.0 : took.count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

/// Frames measured in one turn of a subject.
constexpr int kFramesPerTurn = 5;

/// Shows the bare Image and the viewer in turns, so that both meet the same machine: load that comes and
/// goes falls on both alike. Each iteration is one turn of each: a first frame unmeasured, which brings
/// the subject's code and data back after the other's, then `kFramesPerTurn` measured ones. The counters
/// are the medians of each and their ratio, which the goal is held to.
///
/// A third subject, shown in the same turns, is the least a viewer can be: the bare Image with the
/// viewer's four texts (group title, item title, body, call-to-action) in their sizes, and nothing else.
/// Its ratio (`texts_ratio`) is a floor for the viewer's.
void BM_FirstFramesInTurns(benchmark::State& state) {
  // The bare Image; the texts subject is the same Image with the texts inside.
  const QByteArray image = R"(
    import QtQuick
    Image {
      objectName: "picture"
      width: 1080; height: 1920
      sourceSize: Qt.size(width, height)
      fillMode: Image.PreserveAspectFit
      cache: false
  )";
  QQmlComponent bare(&stage().engine);
  bare.setData(image + "}", QUrl());
  QQmlComponent viewer(&stage().engine);
  viewer.setData(R"(
    import QtQuick
    import Quenmark.Stories
    StoryViewerView { width: 1080; height: 1920 }
  )",
                 QUrl());
  QQmlComponent texts(&stage().engine);
  texts.setData(image + R"(
      Text {
        x: 12; y: 60; width: 1056
        text: "Recipes"
        font { pixelSize: 17; weight: Font.DemiBold }
        color: "white"; elide: Text.ElideRight; maximumLineCount: 1
      }
      Column {
        x: 20; y: 1700; width: 1040
        Text {
          width: parent.width
          text: "Weekend box"
          font { pixelSize: 22; weight: Font.DemiBold }
          color: "white"; wrapMode: Text.Wrap
        }
        Text {
          width: parent.width
          text: "Three dinners, ready in twenty minutes."
          font.pixelSize: 15
          color: "white"; wrapMode: Text.Wrap
        }
        Text {
          width: parent.width
          text: "Order now"
          font { pixelSize: 17; weight: Font.DemiBold }
          color: "white"; horizontalAlignment: Text.AlignHCenter; elide: Text.ElideRight
        }
      }
    })",
                QUrl());
  for (const QQmlComponent* component : {&bare, &viewer, &texts}) {
    if (component->isError()) {
      state.SkipWithError(component->errorString().toStdString().c_str());
      return;
    }
  }
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
  const Subject subjects[] = {
      {bare, {{QStringLiteral("source"), qt::imageSource(pictureUrl())}}},
      {viewer, {{QStringLiteral("groups"), QVariant::fromValue(qt::StoryGroupList(std::move(groups)))}}},
      {texts, {{QStringLiteral("source"), qt::imageSource(pictureUrl())}}}};

  // Once each unmeasured: the engine loads and compiles the types it uses the first time only.
  for (const Subject& subject : subjects) showOnce(subject);
  constexpr int kSubjects = 3;
  std::vector<double> seconds[kSubjects];
  for (auto _ : state) {
    double turns = 0;
    for (int index = 0; index < kSubjects; ++index) {
      showOnce(subjects[index]);
      for (int frame = 0; frame < kFramesPerTurn; ++frame) {
        const double took = showOnce(subjects[index]);
        if (took < 0) {
          state.SkipWithError("no frame rendered");
          return;
        }
        seconds[index].push_back(took);
        turns += took;
      }
    }
    state.SetIterationTime(turns);
  }
  const double bareMedian = median(seconds[0]);
  const double viewerMedian = median(seconds[1]);
  state.counters["bare_ms"] = bareMedian * 1e3;
  state.counters["viewer_ms"] = viewerMedian * 1e3;
  state.counters["ratio"] = viewerMedian / bareMedian;
  state.counters["texts_ratio"] = median(seconds[2]) / bareMedian;
}
BENCHMARK(BM_FirstFramesInTurns)->UseManualTime()->MinTime(2.0)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Freed buffers stay with the allocator. Otherwise a fresh 8 MB buffer (a picture's texture, a grabbed
  // frame) costs 2,048 page faults, tens of milliseconds in a virtual machine, falling on whichever
  // subject happens to allocate it.
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_QUICK_BACKEND", "software");
  qputenv("XDG_DATA_HOME", QDir::temp().filePath(QStringLiteral("quenmark-bench")).toUtf8());
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  quenmark::bench::RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  theStage.reset();

  if (!reporter.printFailures()) return 1;
  const auto run = std::find_if(reporter.counters.begin(), reporter.counters.end(),
                                [](const auto& entry) { return entry.first.rfind("BM_FirstFramesInTurns", 0) == 0; });
  if (run == reporter.counters.end()) return 0;  // filtered out
  const double ratio = run->second.at("ratio");
  std::printf("viewer first frame / bare Image first frame = %.3f (medians; at most 1.5)\n", ratio);
  return ratio <= 1.5 ? 0 : 1;
}
