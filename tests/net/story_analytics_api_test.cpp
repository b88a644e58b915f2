#include "net/story_analytics_api.h"

#include "sdk_test_fixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <set>
#include <string>

namespace quenmark::sdktest {
namespace {

using StoryAnalytics = SdkTest;

constexpr const char* kAnalyticsPath = "/sdk/v1/apps/app-key/events";

TEST_F(StoryAnalytics, RecordsMatchThePayloadKeyByKey) {
  setDevice("en_GB@calendar=gregorian", "gb", "6f9619ff-8b86-d011-b42d-00c04fc964ff");
  sdk().configure(makeConfiguration());
  auto config = sdk().configuration();

  sdk().analyticsAPI().track(StorySDKEvent::QuizViewed{"g1", "i1"}, config, std::string("home"));

  auto bodies = bodiesAt(kAnalyticsPath, 1);
  ASSERT_EQ(bodies.size(), 1u);
  const auto& body = bodies[0];
  EXPECT_EQ(keysOf(body),
            (std::set<std::string>{"placementKey", "storyGroupId", "storyItemId", "eventType", "devicePlatform",
                                   "userLanguage", "country", "deviceId", "sessionId", "occurredAt"}));
  EXPECT_EQ(body["placementKey"], "home");
  EXPECT_EQ(body["storyGroupId"], "g1");
  EXPECT_EQ(body["storyItemId"], "i1");
  EXPECT_EQ(body["eventType"], "QUIZ_VIEWED");
  EXPECT_EQ(body["devicePlatform"], "IOS");
  EXPECT_EQ(body["userLanguage"], "en-GB");
  EXPECT_EQ(body["country"], "GB");
  EXPECT_EQ(body["deviceId"], "6F9619FF-8B86-D011-B42D-00C04FC964FF");
  EXPECT_EQ(body["sessionId"], sdk().sessionId());
  EXPECT_EQ(body["occurredAt"], "2027-01-01T00:00:00Z");

  auto request = server.requestsTo(kAnalyticsPath).at(0);
  EXPECT_EQ(request.method, "POST");
  auto sent = http->sent().at(0);
  EXPECT_EQ(sent.headers,
            (platform::HttpHeaders{{"Content-Type", "application/json"}, {"X-Talewyn-SDK-Key", "sdk-secret"}}));
  EXPECT_EQ(sent.timeoutSeconds, 60.0);
}

TEST_F(StoryAnalytics, EventTypesAndIdsPerCase) {
  sdk().configure(makeConfiguration());
  auto config = sdk().configuration();
  const std::vector<StorySDKEvent> events{StorySDKEvent::StoryOpen{"g1"},
                                          StorySDKEvent::StoryItemImpression{"g1", "i1"},
                                          StorySDKEvent::StoryClose{"g1"},
                                          StorySDKEvent::StoryCompleted{"g1"},
                                          StorySDKEvent::PollViewed{"g1", "i1"},
                                          StorySDKEvent::PollVoted{"g1", "i1"},
                                          StorySDKEvent::QuizAnswered{"g1", "i1"},
                                          StorySDKEvent::SwipeUp{"g1", "i1"},
                                          StorySDKEvent::BannerImpression{"b1", std::nullopt, "top"},
                                          StorySDKEvent::BannerClick{"b1", std::nullopt, "top", std::nullopt}};
  for (const auto& event : events) sdk().analyticsAPI().track(event, config, std::string("home"));

  std::vector<std::string> types;
  for (const auto& body : sentBodies(kAnalyticsPath)) {
    const bool groupOnly = body["eventType"] == "STORY_GROUP_OPENED" || body["eventType"] == "STORY_DISMISSED" ||
                           body["eventType"] == "STORY_GROUP_COMPLETED";
    EXPECT_EQ(body["storyGroupId"], "g1");
    EXPECT_EQ(body.contains("storyItemId"), !groupOnly) << body.dump();
    types.push_back(body["eventType"].get<std::string>());
  }
  // Banners have no analytics records.
  EXPECT_EQ(types, (std::vector<std::string>{"STORY_GROUP_OPENED", "STORY_ITEM_VIEWED", "STORY_DISMISSED",
                                             "STORY_GROUP_COMPLETED", "POLL_VIEWED", "POLL_VOTED", "QUIZ_ANSWERED",
                                             "SWIPE_UP"}));
}

TEST_F(StoryAnalytics, PlacementIsViewedOncePerSession) {
  sdk().configure(makeConfiguration(std::nullopt, std::nullopt, std::string("user-1")));
  sdk().registerPlacement({makeGroup("g1"), makeGroup("g2")}, "home");

  // Through the reporting path, as the story bar reports impressions.
  sdk().report(StorySDKEvent::StoryGroupImpression{"g1"}, "home");
  sdk().report(StorySDKEvent::StoryGroupImpression{"g2"}, "home");
  // A group that was never registered has no placement: no record, nothing marked.
  sdk().report(StorySDKEvent::StoryGroupImpression{"stray"}, "home");
  EXPECT_FALSE(sdk().markPlacementViewed("stray"));

  sdk().updateSession(std::nullopt, std::nullopt, std::string("user-2"));
  sdk().report(StorySDKEvent::StoryGroupImpression{"g2"}, "home");

  const auto placementViews = sentBodies(kAnalyticsPath);
  ASSERT_EQ(placementViews.size(), 2u);
  for (const auto& body : placementViews) {
    EXPECT_EQ(body["eventType"], "PLACEMENT_VIEWED");
    EXPECT_EQ(body["placementKey"], "home");
    EXPECT_FALSE(body.contains("storyGroupId"));
    EXPECT_FALSE(body.contains("storyItemId"));
  }
  EXPECT_NE(placementViews[0]["sessionId"], placementViews[1]["sessionId"]);
  EXPECT_EQ(placementViews[1]["sessionId"], sdk().sessionId());
}

TEST_F(StoryAnalytics, NothingIsSentWithoutConfigurationOrPlacement) {
  sdk().registerPlacement({makeGroup("g1")}, "home");
  sdk().report(StorySDKEvent::StoryOpen{"g1"}, "home");
  sdk().report(StorySDKEvent::StoryGroupImpression{"g1"}, "home");
  EXPECT_TRUE(http->sent().empty());

  sdk().configure(makeConfiguration());
  EXPECT_TRUE(sdk().markPlacementViewed("g1"));  // the unconfigured impression marked nothing
  sdk().analyticsAPI().track(StorySDKEvent::StoryOpen{"unregistered"}, sdk().configuration(), std::nullopt);
  EXPECT_TRUE(http->sent().empty());
}

TEST_F(StoryAnalytics, DeviceFactsThatCannotBeReadAreLeftOut) {
  setDevice("x", "419", "not-a-uuid");
  EXPECT_FALSE(StoryAnalyticsAPI::analyticsLanguageTag());
  EXPECT_FALSE(StoryAnalyticsAPI::analyticsCountryCode());

  auto config = makeConfiguration(std::nullopt, std::nullopt, std::nullopt, "my app");
  StoryAnalyticsAPI analytics([](const std::string&) { return true; });
  analytics.setSessionId("S-1");
  analytics.track(StorySDKEvent::StoryOpen{"g1"}, config, std::string("home"));

  auto bodies = bodiesAt("/sdk/v1/apps/my app/events", 1);
  ASSERT_EQ(bodies.size(), 1u);
  EXPECT_EQ(keysOf(bodies[0]), (std::set<std::string>{"placementKey", "storyGroupId", "eventType", "devicePlatform",
                                                      "sessionId", "occurredAt"}));
  EXPECT_EQ(bodies[0]["sessionId"], "S-1");
  EXPECT_EQ(http->sent().at(0).url.path(), "/sdk/v1/apps/my%20app/events");
}

}  // namespace
}  // namespace quenmark::sdktest
