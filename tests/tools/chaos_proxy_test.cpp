// The SDK behind `quenmark-chaos-proxy` spoiling every request with one fault. Whatever the fault, each
// request ends exactly once with its own error, banners keep their last list, the bar shows nothing and logs
// its line, and an open viewer plays on.
#include "child_process.h"
#include "test_http_server.h"

#include "net/story_api.h"
#include "sdk/story_sdk_testing.h"

#include <quenmark/banners/application_activity.h>
#include <quenmark/banners/banner_view.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/stories/story_bar_view_model.h>
#include <quenmark/stories/story_viewer_view_model.h>
#include <quenmark/testing/test_platform.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace quenmark::testsupport {
namespace {

/// Cuts every timeout to `seconds`, stall timeouts included, so that faults that stall end quickly.
class ShortTimeouts final : public platform::HttpSession {
 public:
  ShortTimeouts(std::shared_ptr<platform::HttpSession> inner, double seconds)
      : inner_(std::move(inner)), seconds_(seconds) {}
  void send(platform::HttpRequest request, platform::HttpCompletion completion) override {
    request.timeoutSeconds = std::min(request.timeoutSeconds, seconds_);
    request.timeoutOnlyWhenStalled = false;
    inner_->send(std::move(request), std::move(completion));
  }
  bool waitUntilIdle(std::chrono::milliseconds timeout) override { return inner_->waitUntilIdle(timeout); }

 private:
  std::shared_ptr<platform::HttpSession> inner_;
  double seconds_;
};

struct Expected {
  const char* fault;
  ErrorKind kind;
  std::set<long> codes;  ///< libcurl's error code, or the HTTP status
  bool stalls = false;   ///< holds transfers until they time out (a drip of 50 ms a byte takes a second)
};

void PrintTo(const Expected& expected, std::ostream* out) { *out << expected.fault; }

const Expected kFaults[] = {
    {"reset", ErrorKind::transport, {56}},           // failure when receiving data
    {"drip", ErrorKind::transport, {28}, true},      // operation timed out
    {"garbage", ErrorKind::httpStatus, {500, 503}},  //
    {"truncate", ErrorKind::transport, {18}},        // partial file
    {"oversize", ErrorKind::transport, {63}},        // maximum file size exceeded
    {"stall", ErrorKind::transport, {28}, true},     //
    {"close", ErrorKind::transport, {52}},           // empty reply
    {"redirect", ErrorKind::httpStatus, {302}},      // requests with the key follow no redirect
};

class ChaosProxyFault : public ::testing::TestWithParam<Expected> {
 protected:
  void SetUp() override {
    resetStorySDKForTesting();
    service.on("GET", "/sdk/v1/apps/app-key/placements/home/banners",
               reply(200, R"({"banners": [{"id": 7, "type": "CAROUSEL", "placementKey": "home", "viewOrder": 0,
                   "items": [{"id": 1, "mediaUrl": "http://127.0.0.1:9/b.png", "orderIndex": 0}]}]})"));
    // The banners' first load passes; every later request meets the fault.
    proxy = std::make_unique<BackgroundProcess>(
        QUENMARK_CHAOS_PROXY_PATH, std::vector<std::string>{"--upstream", service.baseUrl().string(), "--probability",
                                                            "1", "--faults", GetParam().fault, "--pass-first", "1"});
    auto listening = proxy->readLine(std::chrono::seconds{20});
    ASSERT_TRUE(listening && listening->find("http://") != std::string::npos);
    tp.http = std::make_shared<ShortTimeouts>(tp.http, GetParam().stalls ? 0.5 : 60.0);
    tp.install(*Url::parse(listening->substr(listening->find("http://"))));
    StorySDK::shared().configure(StoryConfiguration("sdk-key", "app-key", StoryEnvironment::production, std::nullopt,
                                                    std::nullopt, std::string("user-chaos"),
                                                    StoryUIStrings::defaultStrings(), false));
    StorySDK::shared().setEventHandler([this](const StorySDKEvent& event) { events.push_back(event); });
  }

  void TearDown() override {
    settle();
    resetStorySDKForTesting();
  }

  /// Lets every transfer end, then runs what their completions queued on the main thread.
  void settle() {
    ASSERT_TRUE(tp.http->waitUntilIdle(std::chrono::seconds{20}));
    tp.mainThread->runPending();
  }

  testing::TestPlatform tp;
  TestHttpServer service;
  std::unique_ptr<BackgroundProcess> proxy;
  std::vector<StorySDKEvent> events;
};

TEST_P(ChaosProxyFault, EveryRequestEndsOnceWithItsErrorAndTheHostCarriesOn) {
  auto banners = BannerView::create("home");
  int bannerLoads = 0;
  auto watch = banners->subscribe([&](BannerViewField field) { bannerLoads += field == BannerViewField::banners; });
  banners->appear();
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return bannerLoads == 1; }));
  const std::vector<Banner> shown = banners->banners();
  ASSERT_EQ(shown.size(), 1u);

  // The content client: one completion with the fault's own error.
  StoryAPI api;
  int calls = 0;
  std::optional<Result<std::vector<StoryGroup>>> stories;
  api.fetchStories("home", [&](Result<std::vector<StoryGroup>> result) {
    ++calls;
    stories.emplace(std::move(result));
  });
  // Banners: the reload that the application's return triggers keeps the last list.
  ApplicationActivity::shared().postDidBecomeActive();
  // The bar: an empty row and one console line.
  auto bar = StoryBarViewModel::create("home");
  bar->load();
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return calls > 0 && bannerLoads == 2 && !bar->isLoading(); }));
  settle();
  ASSERT_EQ(calls, 1);
  EXPECT_EQ(bannerLoads, 2);
  ASSERT_FALSE(stories->ok());
  EXPECT_EQ(stories->error().kind, GetParam().kind) << stories->error().description;
  EXPECT_TRUE(GetParam().codes.count(stories->error().code)) << stories->error().description;
  EXPECT_EQ(banners->banners(), shown);
  EXPECT_TRUE(bar->groups().empty());
  const std::string prefix = "[Quenmark] Failed to load stories for placement 'home': ";
  ASSERT_EQ(tp.console->lines().size(), 1u);
  EXPECT_TRUE(tp.console->lines()[0].starts_with(prefix) && tp.console->lines()[0].size() > prefix.size())
      << tp.console->lines()[0];

  // A viewer open on a poll: the vote fails back to open choices, and playback goes on to the end.
  const Url media = *Url::parse("http://127.0.0.1:9/media.png");
  std::vector<StoryItem> items{
      StoryItem("poll-1", std::nullopt, std::nullopt, StoryMediaType::image, media, 1.0, std::nullopt, std::nullopt,
                WidgetType::poll, std::string("Yes?"), std::nullopt,
                {WidgetOption("option-1", "Yes", std::nullopt, 0, std::nullopt, 4)}, std::nullopt),
      StoryItem("plain-1", std::nullopt, std::nullopt, StoryMediaType::image, media, 1.0, std::nullopt, std::nullopt,
                WidgetType::none, std::nullopt, std::nullopt, {}, std::nullopt)};
  auto viewer = StoryViewerViewModel::create(
      {StoryGroup("group-1", "Group", StoryTheme::defaultTheme(), media, std::move(items))}, 0, "home");
  viewer->start();
  viewer->vote("option-1");
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !viewer->isVotingInProgress(); }));
  EXPECT_FALSE(viewer->votedOptionId());
  EXPECT_TRUE(viewer->acceptsVote());
  for (int tick = 0; tick < 100 && !viewer->shouldDismiss(); ++tick) tp.mainThread->advance(0.05);
  EXPECT_TRUE(viewer->shouldDismiss());
  EXPECT_EQ(viewer->currentItemIndex(), 1u);
  settle();
  EXPECT_TRUE(std::none_of(events.begin(), events.end(), [](const StorySDKEvent& event) {
    return std::holds_alternative<StorySDKEvent::PollVoted>(event);
  }));
  ASSERT_FALSE(events.empty());
  EXPECT_TRUE(std::holds_alternative<StorySDKEvent::StoryClose>(events.back()));
}

INSTANTIATE_TEST_SUITE_P(Faults, ChaosProxyFault, ::testing::ValuesIn(kFaults),
                         [](const auto& test) { return std::string(test.param.fault); });

}  // namespace
}  // namespace quenmark::testsupport
