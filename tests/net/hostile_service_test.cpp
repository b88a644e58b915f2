// The SDK against a service that misbehaves on purpose. Whatever the fault, every request ends exactly
// once with its own error, banners keep their last list, the bar shows nothing and logs its line, and an
// open viewer plays on.
#include "hostile_server.h"
#include "test_http_server.h"

#include "net/story_api.h"
#include "platform/curl_http_session.h"
#include "sdk/story_sdk_testing.h"

#include <quenmark/banners/application_activity.h>
#include <quenmark/banners/banner_view.h>
#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/stories/story_bar_view_model.h>
#include <quenmark/stories/story_viewer_view_model.h>
#include <quenmark/testing/test_platform.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace quenmark {
namespace {

using testsupport::Fault;

/// The real libcurl session, with every timeout cut to `seconds` so that faults that stall end quickly. Media
/// loads that time out only when stalled lose that here: a dripping picture would otherwise never end.
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
  Fault fault;
  ErrorKind kind;
  long code;  ///< libcurl's error code, or the HTTP status
  /// The fault holds transfers until they time out; the others end by themselves, however slow the build.
  bool stalls = false;
};

void PrintTo(const Expected& expected, std::ostream* out) { *out << testsupport::faultName(expected.fault); }

const Expected kFaults[] = {
    {Fault::resetMidBody, ErrorKind::transport, 56},    // failure when receiving data
    {Fault::dripBody, ErrorKind::transport, 28, true},  // operation timed out
    {Fault::garbage500, ErrorKind::httpStatus, 500},
    {Fault::garbage503, ErrorKind::httpStatus, 503},
    {Fault::truncatedChunks, ErrorKind::transport, 18},            // partial file
    {Fault::oversizedBody, ErrorKind::transport, 63},              // maximum file size exceeded
    {Fault::stalledTlsHandshake, ErrorKind::transport, 28, true},  // operation timed out
    {Fault::closeBeforeHeaders, ErrorKind::transport, 52},         // empty reply
    {Fault::redirectLoop, ErrorKind::httpStatus, 302},             // requests with the key follow no redirect
};

constexpr const char* kBannersPath = "/sdk/v1/apps/app-key/placements/home/banners";
constexpr const char* kBanners = R"({"banners": [{"id": 7, "type": "CAROUSEL", "placementKey": "home",
    "viewOrder": 0, "items": [{"id": 1, "mediaUrl": "http://127.0.0.1:9/b.png", "orderIndex": 0}]}]})";

class HostileService : public ::testing::TestWithParam<Expected> {
 protected:
  void SetUp() override {
    resetStorySDKForTesting();
    StoryImagePipeline::shared().resetForTesting();
    healthy.on("GET", kBannersPath, testsupport::ScriptedResponse{200, kBanners, "application/json", {}, {}});
    serveFrom(healthy.baseUrl());
    StorySDK::shared().configure(StoryConfiguration("sdk-key", "app-key", StoryEnvironment::production, std::nullopt,
                                                    std::nullopt, std::string("user-hostile"),
                                                    StoryUIStrings::defaultStrings(), false));
    StorySDK::shared().setEventHandler([this](const StorySDKEvent& event) { events.push_back(event); });
  }

  void TearDown() override {
    settle();
    resetStorySDKForTesting();
    StoryImagePipeline::shared().resetForTesting();
  }

  void serveFrom(const Url& base) {
    auto platform = tp.platform(base);
    platform.http = session;
    platform::installPlatform(platform);
  }

  /// Lets every transfer end, then runs what their completions queued on the main thread.
  void settle() {
    ASSERT_TRUE(session->waitUntilIdle(std::chrono::seconds{20}));
    tp.mainThread->runPending();
  }

  void expectError(const Error& error) {
    EXPECT_EQ(error.kind, GetParam().kind) << error.description;
    EXPECT_EQ(error.code, GetParam().code) << error.description;
  }

  // A 1 MiB body cap; timeouts of one second where the fault stalls, the SDK's own elsewhere.
  std::shared_ptr<platform::HttpSession> session = std::make_shared<ShortTimeouts>(
      std::make_shared<platform::CurlHttpSession>(platform::CurlHttpSession::Options{1u << 20, 8, 6}),
      GetParam().stalls ? 1.0 : 60.0);
  testing::TestPlatform tp;
  testsupport::TestHttpServer healthy;
  testsupport::HostileServer hostile{GetParam().fault};
  std::vector<StorySDKEvent> events;
};

TEST_P(HostileService, EveryRequestEndsOnceWithItsErrorAndTheHostCarriesOn) {
  // Banners on screen from the healthy service.
  auto banners = BannerView::create("home");
  int bannerLoads = 0;
  auto watch = banners->subscribe([&](BannerViewField field) { bannerLoads += field == BannerViewField::banners; });
  banners->appear();
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return bannerLoads == 1; }));
  const std::vector<Banner> shown = banners->banners();
  ASSERT_EQ(shown.size(), 1u);

  serveFrom(hostile.baseUrl());

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
  expectError(stories->error());
  EXPECT_EQ(banners->banners(), shown);
  EXPECT_TRUE(bar->groups().empty());
  const std::string prefix = "[Quenmark] Failed to load stories for placement 'home': ";
  ASSERT_EQ(tp.console->lines().size(), 1u);
  EXPECT_TRUE(tp.console->lines()[0].starts_with(prefix) && tp.console->lines()[0].size() > prefix.size())
      << tp.console->lines()[0];

  // A viewer open on a poll: the vote fails back to open choices, and playback goes on to the end.
  const Url media = hostile.baseUrl().appendingPathComponent("media.png");
  std::vector<WidgetOption> options{WidgetOption("option-1", "Yes", std::nullopt, 0, std::nullopt, 4)};
  std::vector<StoryItem> items{
      StoryItem("poll-1", std::nullopt, std::nullopt, StoryMediaType::image, media, 1.0, std::nullopt, std::nullopt,
                WidgetType::poll, std::string("Yes?"), std::nullopt, options, std::nullopt),
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
  EXPECT_GT(hostile.connectionCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Faults, HostileService, ::testing::ValuesIn(kFaults),
                         [](const auto& test) { return testsupport::faultName(test.param.fault); });

}  // namespace
}  // namespace quenmark
