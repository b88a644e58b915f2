// Main-thread cost of the story viewer's model: one playback tick, and one item change (prepare the item,
// report it, arm the item-view timer, restore the vote, hand the media to the image pipeline).
//
// Runs on the test platform's virtual main thread, so that timers and tasks cost what the model asks of
// them and nothing else runs in between. Reports go to a closed sink: either the SDK is not configured
// (host handler and analytics skip, no SDK event), or it is configured with a service base URL on which
// nothing listens (analytics records and SDK events are built and handed to the HTTP session, which fails
// them off the main thread).
#include <quenmark/model/story_group.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/stories/story_viewer_view_model.h>
#include <quenmark/testing/test_platform.h>

#include "sdk/story_sdk_testing.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace quenmark;

constexpr const char* kPlacement = "home";

/// A test platform installed with a base URL that nobody listens on ("http://127.0.0.1:9").
testing::TestPlatform& installedPlatform() {
  static testing::TestPlatform* platform = [] {
    auto* created = new testing::TestPlatform();
    created->install();
    return created;
  }();
  return *platform;
}

std::vector<StoryGroup> makeGroups(std::size_t itemCount, double duration) {
  const Url media = *Url::parse("http://127.0.0.1:9/media");
  std::vector<StoryItem> items;
  for (std::size_t i = 0; i < itemCount; ++i) {
    const std::string id = "item-" + std::to_string(i);
    items.emplace_back(id, std::nullopt, std::nullopt, StoryMediaType::image, media.appendingPathComponent(id + ".jpg"),
                       duration, std::nullopt, std::nullopt, WidgetType::none, std::nullopt, std::nullopt,
                       std::vector<WidgetOption>{}, std::nullopt);
  }
  std::vector<StoryGroup> groups;
  groups.emplace_back("group-1", "Group", StoryTheme::defaultTheme(), items.front().mediaURL(), std::move(items));
  return groups;
}

void prepareSdk(bool configured) {
  installedPlatform();
  resetStorySDKForTesting();
  StoryImagePipeline::shared().resetForTesting();
  if (configured) {
    StorySDK::shared().configure(StoryConfiguration("sdk-key", "app-key", StoryEnvironment::production, std::nullopt,
                                                    std::nullopt, std::nullopt, StoryUIStrings::defaultStrings(),
                                                    false));
  }
}

/// One call of the tick that every firing of the playback timer runs, on an item that never ends.
void BM_PlaybackTick(benchmark::State& state) {
  prepareSdk(false);
  auto viewer = StoryViewerViewModel::create(makeGroups(1, 1e12), 0, kPlacement);
  Subscription view;
  std::size_t redraws = 0;
  if (state.range(0) != 0) view = viewer->subscribe([&](StoryViewerViewModelField) { ++redraws; });
  for (auto _ : state) {
    viewer->tick();
  }
  benchmark::DoNotOptimize(viewer->progress());
  benchmark::DoNotOptimize(redraws);
}
BENCHMARK(BM_PlaybackTick)->Arg(0)->Arg(1)->ArgName("observers");

/// The whole main-thread path of a tick: the timer fires, queues its task, and the task ticks.
void BM_PlaybackTickThroughTimer(benchmark::State& state) {
  prepareSdk(false);
  auto& platform = installedPlatform();
  auto viewer = StoryViewerViewModel::create(makeGroups(1, 1e12), 0, kPlacement);
  viewer->start();
  for (auto _ : state) {
    platform.mainThread->advance(StoryViewerViewModel::tickInterval);
  }
  benchmark::DoNotOptimize(viewer->progress());
  viewer->close();
}
BENCHMARK(BM_PlaybackTickThroughTimer);

/// One item change (a forward or backward tap between two items), with reporting to a closed sink.
void itemChange(benchmark::State& state, bool configured) {
  prepareSdk(configured);
  auto& platform = installedPlatform();
  auto groups = makeGroups(2, 5.0);
  StorySDK::shared().registerPlacement(groups, kPlacement);
  auto viewer = StoryViewerViewModel::create(std::move(groups), 0, kPlacement);
  std::size_t changes = 0;
  for (auto _ : state) {
    if (viewer->currentItemIndex() == 0) {
      viewer->next();
    } else {
      viewer->previous();
    }
    // The virtual main thread drops cancelled item-view timers when it runs; let it, now and then.
    if (++changes % 1024 == 0) platform.mainThread->advance(0);
  }
  benchmark::DoNotOptimize(viewer->currentItemIndex());
  viewer->close();
  platform.mainThread->advance(0);
}

void BM_ItemChangeNotConfigured(benchmark::State& state) { itemChange(state, false); }
BENCHMARK(BM_ItemChangeNotConfigured);

// Every change posts one analytics record to the unreachable service; a fixed count keeps the number of
// failing transfers bounded.
void BM_ItemChangeConfiguredUnreachable(benchmark::State& state) { itemChange(state, true); }
BENCHMARK(BM_ItemChangeConfiguredUnreachable)->Iterations(20000);

}  // namespace

BENCHMARK_MAIN();
