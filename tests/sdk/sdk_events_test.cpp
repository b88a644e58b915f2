#include "sdk_test_fixture.h"

#include "model/uuid_text.h"
#include "sdk/sdk_event_type.h"

#include <quenmark/sdk/story_sdk.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <set>
#include <string>
#include <vector>

namespace quenmark::sdktest {
namespace {

using SdkEvents = SdkTest;

constexpr const char* kEventsPath = "/sdk/v1/events";
constexpr const char* kAnalyticsPath = "/sdk/v1/apps/app-key/events";

/// The kind of an event or record with the ids it carries: "POLL_VOTE g1/i1", "BANNER_CLICK b1:".
std::string kindAndIds(const nlohmann::json& body) {
  std::string text = body["eventType"].get<std::string>();
  if (body.contains("storyGroupId")) text += " " + body["storyGroupId"].get<std::string>();
  if (body.contains("storyItemId")) text += "/" + body["storyItemId"].get<std::string>();
  if (body.contains("bannerId")) text += " " + body["bannerId"].get<std::string>() + ":";
  if (body.contains("bannerItemId")) text += body["bannerItemId"].get<std::string>();
  return text;
}

TEST_F(SdkEvents, GroupImpressionRequestIsTheWireRecord) {
  tp.device->set({"en_GB", "GB", std::nullopt, "com.example.host"});
  tp.clock->setWallNow(std::chrono::system_clock::time_point{std::chrono::seconds{1769850300}} +
                       std::chrono::milliseconds{750});  // 2026-01-31T09:05:00.750Z
  sdk().configure(makeConfiguration(std::string("host-app"), std::string("host.bundle"), std::string("host-user")));

  sdk().sendStoryEvent(SdkEventType::storyGroupImpression, "home", std::string("g1"), std::nullopt);

  ASSERT_EQ(http->sent().size(), 1u);
  const auto sent = http->sent()[0];
  EXPECT_EQ(sent.url.path(), kEventsPath);
  EXPECT_EQ(sent.method, "POST");
  EXPECT_EQ(sent.headers,
            (platform::HttpHeaders{{"Content-Type", "application/json"}, {"X-Talewyn-SDK-Key", "sdk-secret"}}));
  EXPECT_EQ(sent.timeoutSeconds, 60.0);
  auto body = nlohmann::json::parse(*sent.body);
  const auto eventId = body["eventId"].get<std::string>();
  EXPECT_TRUE(canonicalUuid(eventId));
  EXPECT_EQ(eventId.find_first_of("abcdef"), std::string::npos);
  body.erase("eventId");
  // The anonymous id, never the host's user id; no item or banner keys.
  nlohmann::json expected = nlohmann::json::parse(R"({"appKey": "app-key", "placementKey": "home",
      "eventType": "STORY_GROUP_IMPRESSION", "storyGroupId": "g1", "platform": "IOS", "locale": "en-GB",
      "sdkVersion": "1.0.0", "occurredAt": "2026-01-31T09:05:00Z"})");
  expected.update({{"anonymousUserId", sdk().anonymousUserId()}, {"sessionId", sdk().sessionId()}});
  EXPECT_EQ(body, expected);
  // The fields go out in the record's declaration order.
  EXPECT_LT(sent.body->find("\"appKey\""), sent.body->find("\"eventType\""));
  EXPECT_LT(sent.body->find("\"sdkVersion\""), sent.body->find("\"eventId\""));
  ASSERT_TRUE(server.waitForRequestsTo(kEventsPath, 1));  // and it reaches the service as sent
  EXPECT_EQ(server.requestsTo(kEventsPath)[0].body, *sent.body);
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

  // Call-to-action and banner clicks go out every time, each with its own event id; item views once.
  for (int i = 0; i < 2; ++i) {
    sdk().reportCtaClick("home", "g1", "i1");
    sdk().sendBannerEvent(SdkEventType::bannerClick, "top", "b1", std::nullopt);
    sdk().reportStoryItemView("home", "g1", "i1");
  }
  std::vector<std::string> kinds;
  std::set<std::string> eventIds;
  for (const auto& body : sentBodies(kEventsPath)) {
    kinds.push_back(kindAndIds(body));
    eventIds.insert(body["eventId"].get<std::string>());
  }
  EXPECT_EQ(std::vector<std::string>(kinds.begin() + 6, kinds.end()),
            (std::vector<std::string>{"CTA_CLICK g1/i1", "BANNER_CLICK b1:", "STORY_ITEM_VIEW g1/i1", "CTA_CLICK g1/i1",
                                      "BANNER_CLICK b1:"}));
  EXPECT_EQ(eventIds.size(), 11u);

  // The parts of an event are compared one by one: a "-" inside them joins nothing.
  sdk().sendStoryEvent(SdkEventType::pollView, "home", std::string("a-b"), std::string("c"));
  sdk().sendStoryEvent(SdkEventType::pollView, "home", std::string("a"), std::string("b-c"));
  sdk().sendStoryEvent(SdkEventType::pollView, "home-a", std::string("b"), std::string("c"));
  EXPECT_EQ(http->sent().size(), 14u);
}

TEST_F(SdkEvents, NothingIsSentBeforeConfigureButTheHostHandlerIsCalled) {
  std::vector<std::size_t> heard;
  sdk().setEventHandler([&](const StorySDKEvent& event) { heard.push_back(event.index()); });
  sdk().report(StorySDKEvent::StoryGroupImpression{"g1"}, "home");
  sdk().report(StorySDKEvent::BannerClick{"b1", std::nullopt, "top", Url::parse("https://example.com")}, "top");
  sdk().reportCtaClick("home", "g1", "i1");
  EXPECT_EQ(heard, (std::vector<std::size_t>{0, 11}));
  EXPECT_TRUE(http->sent().empty());
}

TEST_F(SdkEvents, ReportSendsTheMatchingKindAndIdsForEveryCase) {
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
    kinds.push_back(kindAndIds(body));
    EXPECT_EQ(body["placementKey"], "view-key");  // the reporting view's key
  }
  EXPECT_EQ(kinds,
            (std::vector<std::string>{"STORY_GROUP_IMPRESSION g1", "STORY_OPEN g1", "STORY_COMPLETE g1",
                                      "POLL_VIEW g1/i1", "POLL_VOTE g1/i1", "QUIZ_VIEW g1/i1", "QUIZ_ANSWER g1/i1",
                                      "SWIPE_UP g1/i1", "BANNER_IMPRESSION b1:bi1", "BANNER_CLICK b1:"}));
  // Analytics records carry the placement the group was loaded for.
  const auto records = sentBodies(kAnalyticsPath);
  EXPECT_EQ(records.size(), 10u);
  for (const auto& body : records) EXPECT_EQ(body["placementKey"], "registered");
}

TEST_F(SdkEvents, AThrowingHostHandlerDoesNotStopTheReportsAndTextThatIsNotUtf8IsDroppedQuietly) {
  sdk().configure(makeConfiguration());
  EXPECT_NO_THROW(sdk().sendStoryEvent(SdkEventType::storyOpen, "home", std::string("bad\xff"), std::nullopt));
  EXPECT_TRUE(http->sent().empty());
  sdk().setEventHandler([](const StorySDKEvent&) { throw std::runtime_error("host bug"); });
  EXPECT_NO_THROW(sdk().report(StorySDKEvent::StoryOpen{"g1"}, "home"));
  ASSERT_EQ(http->sent().size(), 1u);
  EXPECT_EQ(http->sent()[0].url.path(), kEventsPath);
}

}  // namespace
}  // namespace quenmark::sdktest
