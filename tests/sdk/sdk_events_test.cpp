#include "sdk_test_fixture.h"

#include "model/uuid_text.h"
#include "sdk/sdk_event_type.h"

#include <quenmark/sdk/story_sdk.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace quenmark::sdktest {
namespace {

using SdkEvents = SdkTest;

constexpr const char* kEventsPath = "/sdk/v1/events";

TEST_F(SdkEvents, GroupImpressionRequestMatchesTheWireRecordKeyByKey) {
  setDevice("en_GB", "GB", std::nullopt, "com.example.host");
  tp.clock->setWallNow(std::chrono::system_clock::time_point{std::chrono::seconds{1769850300}} +
                       std::chrono::milliseconds{750});  // 2026-01-31T09:05:00.750Z
  sdk().configure(makeConfiguration(std::string("host-app"), std::string("host.bundle"), std::string("host-user")));

  sdk().sendStoryEvent(SdkEventType::storyGroupImpression, "home", std::string("g1"), std::nullopt);

  auto bodies = bodiesAt(kEventsPath, 1);
  ASSERT_EQ(bodies.size(), 1u);
  const auto& body = bodies[0];
  EXPECT_EQ(keysOf(body),
            (std::set<std::string>{"appKey", "placementKey", "eventType", "storyGroupId", "anonymousUserId",
                                   "sessionId", "platform", "locale", "sdkVersion", "occurredAt", "eventId"}));
  EXPECT_EQ(body["appKey"], "app-key");
  EXPECT_EQ(body["placementKey"], "home");
  EXPECT_EQ(body["eventType"], "STORY_GROUP_IMPRESSION");
  EXPECT_EQ(body["storyGroupId"], "g1");
  EXPECT_EQ(body["anonymousUserId"], sdk().anonymousUserId());  // never the host's user id
  EXPECT_EQ(body["sessionId"], sdk().sessionId());
  EXPECT_EQ(body["platform"], "IOS");
  EXPECT_EQ(body["locale"], "en-GB");
  EXPECT_EQ(body["sdkVersion"], "1.0.0");
  EXPECT_EQ(body["occurredAt"], "2026-01-31T09:05:00Z");
  auto eventId = body["eventId"].get<std::string>();
  ASSERT_TRUE(canonicalUuid(eventId));
  EXPECT_EQ(eventId.find_first_of("abcdef"), std::string::npos);

  auto request = server.requestsTo(kEventsPath).at(0);
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.header("Content-Type"), "application/json");
  EXPECT_EQ(request.header("X-Talewyn-SDK-Key"), "sdk-secret");
  auto sent = http->sent().at(0);
  EXPECT_EQ(sent.headers,
            (platform::HttpHeaders{{"Content-Type", "application/json"}, {"X-Talewyn-SDK-Key", "sdk-secret"}}));
  EXPECT_EQ(sent.timeoutSeconds, 60.0);
  // The fields go out in the record's declaration order.
  EXPECT_LT(request.body.find("\"appKey\""), request.body.find("\"eventType\""));
  EXPECT_LT(request.body.find("\"sdkVersion\""), request.body.find("\"eventId\""));
}

TEST_F(SdkEvents, BannerAndItemEventsCarryOnlyTheirOwnIds) {
  sdk().configure(makeConfiguration());
  sdk().sendBannerEvent(SdkEventType::bannerImpression, "top", "b1", std::string("bi1"));
  sdk().sendStoryEvent(SdkEventType::pollVote, "home", std::string("g1"), std::string("i1"));

  auto banner = bodiesAt(kEventsPath, 2);
  ASSERT_EQ(banner.size(), 2u);
  const auto& bannerBody = banner[0].contains("bannerId") ? banner[0] : banner[1];
  const auto& pollBody = banner[0].contains("bannerId") ? banner[1] : banner[0];
  EXPECT_EQ(bannerBody["eventType"], "BANNER_IMPRESSION");
  EXPECT_EQ(bannerBody["bannerId"], "b1");
  EXPECT_EQ(bannerBody["bannerItemId"], "bi1");
  EXPECT_FALSE(bannerBody.contains("storyGroupId"));
  EXPECT_FALSE(bannerBody.contains("storyItemId"));
  EXPECT_EQ(pollBody["eventType"], "POLL_VOTE");
  EXPECT_EQ(pollBody["storyItemId"], "i1");
  EXPECT_FALSE(pollBody.contains("bannerId"));
  EXPECT_FALSE(pollBody.contains("bannerItemId"));
}

TEST_F(SdkEvents, DeduplicationHoldsPerSessionAndClicksAlwaysGoOut) {
  sdk().configure(makeConfiguration(std::nullopt, std::nullopt, std::string("user-1")));
  sdk().sendStoryEvent(SdkEventType::storyGroupImpression, "home", std::string("g1"), std::nullopt);
  sdk().sendStoryEvent(SdkEventType::storyGroupImpression, "home", std::string("g1"), std::nullopt);
  EXPECT_EQ(http->sent().size(), 1u);

  // A different placement, or an id moved between key parts, is a different event.
  sdk().sendStoryEvent(SdkEventType::storyGroupImpression, "feed", std::string("g1"), std::nullopt);
  sdk().sendBannerEvent(SdkEventType::bannerImpression, "top", "b1", std::string("x"));
  sdk().sendBannerEvent(SdkEventType::bannerImpression, "top", "b1", std::string("y"));
  sdk().sendBannerEvent(SdkEventType::bannerImpression, "top", "b1", std::nullopt);
  sdk().sendBannerEvent(SdkEventType::bannerImpression, "top", "b1", std::string(""));  // same key as absent
  EXPECT_EQ(http->sent().size(), 5u);

  // White space only: same session, still de-duplicated.
  sdk().updateSession(std::nullopt, std::nullopt, std::string(" user-1 "));
  sdk().sendStoryEvent(SdkEventType::storyGroupImpression, "home", std::string("g1"), std::nullopt);
  EXPECT_EQ(http->sent().size(), 5u);

  // A new user starts a new session: sent again.
  sdk().updateSession(std::nullopt, std::nullopt, std::string("user-2"));
  sdk().sendStoryEvent(SdkEventType::storyGroupImpression, "home", std::string("g1"), std::nullopt);
  EXPECT_EQ(http->sent().size(), 6u);

  // Call-to-action and banner clicks go out every time, each with its own event id.
  sdk().reportCtaClick("home", "g1", "i1");
  sdk().reportCtaClick("home", "g1", "i1");
  sdk().sendBannerEvent(SdkEventType::bannerClick, "top", "b1", std::nullopt);
  sdk().sendBannerEvent(SdkEventType::bannerClick, "top", "b1", std::nullopt);
  sdk().reportStoryItemView("home", "g1", "i1");
  sdk().reportStoryItemView("home", "g1", "i1");
  EXPECT_EQ(http->sent().size(), 11u);

  auto bodies = bodiesAt(kEventsPath, 11);
  ASSERT_EQ(bodies.size(), 11u);
  std::set<std::string> ctaIds;
  int itemViews = 0;
  for (const auto& body : bodies) {
    if (body["eventType"] == "CTA_CLICK") ctaIds.insert(body["eventId"].get<std::string>());
    if (body["eventType"] == "STORY_ITEM_VIEW") ++itemViews;
  }
  EXPECT_EQ(ctaIds.size(), 2u);
  EXPECT_EQ(itemViews, 1);
}

TEST_F(SdkEvents, NothingIsSentBeforeConfigureButTheHostHandlerIsCalled) {
  std::vector<std::string> heard;
  sdk().setEventHandler([&](const StorySDKEvent& event) { heard.push_back(std::to_string(event.index())); });
  sdk().report(StorySDKEvent::StoryGroupImpression{"g1"}, "home");
  sdk().report(StorySDKEvent::BannerClick{"b1", std::nullopt, "top", Url::parse("https://example.com")}, "top");
  sdk().reportCtaClick("home", "g1", "i1");
  EXPECT_EQ(heard, (std::vector<std::string>{"0", "11"}));
  EXPECT_TRUE(http->sent().empty());

  // Nothing was recorded either: once configured, the same impression goes out.
  sdk().configure(makeConfiguration());
  sdk().report(StorySDKEvent::StoryGroupImpression{"g1"}, "home");
  EXPECT_EQ(sentPaths(), (std::vector<std::string>{kEventsPath}));
}

TEST_F(SdkEvents, ReportCallsHandlerThenAnalyticsThenSdkEvent) {
  sdk().configure(makeConfiguration());
  sdk().registerPlacement({makeGroup("g1")}, "home");
  std::mutex mutex;
  std::vector<std::string> order;
  http->setObserver([&](const platform::HttpRequest& request) {
    std::lock_guard lock(mutex);
    order.push_back(request.url.path());
  });
  sdk().setEventHandler([&](const StorySDKEvent&) {
    std::lock_guard lock(mutex);
    order.push_back("handler");
  });

  sdk().report(StorySDKEvent::PollViewed{"g1", "i1"}, "home");
  EXPECT_EQ(order, (std::vector<std::string>{"handler", "/sdk/v1/apps/app-key/events", kEventsPath}));
}

TEST_F(SdkEvents, ReportSendsTheMatchingKindForEveryCase) {
  sdk().configure(makeConfiguration());
  sdk().registerPlacement({makeGroup("g1")}, "registered");
  const std::vector<StorySDKEvent> events{StorySDKEvent::StoryGroupImpression{"g1"},
                                          StorySDKEvent::StoryOpen{"g1"},
                                          StorySDKEvent::StoryItemImpression{"g1", "i1"},
                                          StorySDKEvent::StoryClose{"g1"},
                                          StorySDKEvent::StoryCompleted{"g1"},
                                          StorySDKEvent::PollViewed{"g1", "i1"},
                                          StorySDKEvent::PollVoted{"g1", "i1"},
                                          StorySDKEvent::QuizViewed{"g1", "i1"},
                                          StorySDKEvent::QuizAnswered{"g1", "i1"},
                                          StorySDKEvent::SwipeUp{"g1", "i1"},
                                          StorySDKEvent::BannerImpression{"b1", std::string("bi1"), "top"},
                                          StorySDKEvent::BannerClick{"b1", std::nullopt, "top", std::nullopt}};
  for (const auto& event : events) sdk().report(event, "view-key");

  std::vector<std::string> kinds;
  for (const auto& body : sentBodies(kEventsPath)) {
    kinds.push_back(body["eventType"].get<std::string>());
    EXPECT_EQ(body["placementKey"], "view-key");  // the reporting view's key, not the registered one
  }
  EXPECT_EQ(kinds, (std::vector<std::string>{"STORY_GROUP_IMPRESSION", "STORY_OPEN", "STORY_COMPLETE", "POLL_VIEW",
                                             "POLL_VOTE", "QUIZ_VIEW", "QUIZ_ANSWER", "SWIPE_UP", "BANNER_IMPRESSION",
                                             "BANNER_CLICK"}));
}

TEST_F(SdkEvents, AThrowingHostHandlerDoesNotStopTheReports) {
  sdk().configure(makeConfiguration());
  sdk().setEventHandler([](const StorySDKEvent&) { throw std::runtime_error("host bug"); });
  EXPECT_NO_THROW(sdk().report(StorySDKEvent::StoryOpen{"g1"}, "home"));
  EXPECT_EQ(sentPaths(), (std::vector<std::string>{kEventsPath}));
}

TEST_F(SdkEvents, TextThatIsNotUtf8IsDroppedQuietly) {
  sdk().configure(makeConfiguration());
  EXPECT_NO_THROW(sdk().sendStoryEvent(SdkEventType::storyOpen, "home", std::string("bad\xff"), std::nullopt));
  EXPECT_TRUE(http->sent().empty());
}

}  // namespace
}  // namespace quenmark::sdktest
