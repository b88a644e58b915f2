#include "net/story_analytics_api.h"

#include "sdk_test_fixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace quenmark::sdktest {
namespace {

using StoryAnalytics = SdkTest;

constexpr const char* kAnalyticsPath = "/sdk/v1/apps/app-key/events";

TEST_F(StoryAnalytics, RecordIsThePayloadWithTheDevicesFacts) {
  setDevice("en_GB@calendar=gregorian", "gb", "6f9619ff-8b86-d011-b42d-00c04fc964ff");
  sdk().configure(makeConfiguration());

  sdk().analyticsAPI().track(StorySDKEvent::QuizViewed{"g1", "i1"}, sdk().configuration(), std::string("home"));

  ASSERT_EQ(http->sent().size(), 1u);
  const auto sent = http->sent()[0];
  EXPECT_EQ(sent.url.path(), kAnalyticsPath);
  EXPECT_EQ(sent.method, "POST");
  EXPECT_EQ(sent.headers,
            (platform::HttpHeaders{{"Content-Type", "application/json"}, {"X-Talewyn-SDK-Key", "sdk-secret"}}));
  EXPECT_EQ(sent.timeoutSeconds, 60.0);
  EXPECT_EQ(nlohmann::json::parse(*sent.body), (nlohmann::json{{"placementKey", "home"},
                                                               {"storyGroupId", "g1"},
                                                               {"storyItemId", "i1"},
                                                               {"eventType", "QUIZ_VIEWED"},
                                                               {"devicePlatform", "IOS"},
                                                               {"userLanguage", "en-GB"},
                                                               {"country", "GB"},
                                                               {"deviceId", "6F9619FF-8B86-D011-B42D-00C04FC964FF"},
                                                               {"sessionId", sdk().sessionId()},
                                                               {"occurredAt", "2027-01-01T00:00:00Z"}}));
}

TEST_F(StoryAnalytics, EventTypesAndIdsPerCase) {
  sdk().configure(makeConfiguration());
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
  for (const auto& event : events) sdk().analyticsAPI().track(event, sdk().configuration(), std::string("home"));

  std::vector<std::string> records;
  for (const auto& body : sentBodies(kAnalyticsPath)) {
    records.push_back(body["eventType"].get<std::string>() + " " + body["storyGroupId"].get<std::string>() +
                      (body.contains("storyItemId") ? "/" + body["storyItemId"].get<std::string>() : ""));
  }
  // Banners have no analytics records.
  EXPECT_EQ(records, (std::vector<std::string>{"STORY_GROUP_OPENED g1", "STORY_ITEM_VIEWED g1/i1", "STORY_DISMISSED g1",
                                               "STORY_GROUP_COMPLETED g1", "POLL_VIEWED g1/i1", "POLL_VOTED g1/i1",
                                               "QUIZ_ANSWERED g1/i1", "SWIPE_UP g1/i1"}));
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
    EXPECT_EQ(keysOf(body), (std::set<std::string>{"placementKey", "eventType", "devicePlatform", "userLanguage",
                                                   "country", "deviceId", "sessionId", "occurredAt"}));
    EXPECT_EQ(body["eventType"], "PLACEMENT_VIEWED");
    EXPECT_EQ(body["placementKey"], "home");
  }
  EXPECT_NE(placementViews[0]["sessionId"], placementViews[1]["sessionId"]);
  EXPECT_EQ(placementViews[1]["sessionId"], sdk().sessionId());
}

TEST_F(StoryAnalytics, NothingIsSentOrMarkedWithoutConfigurationOrPlacement) {
  int marks = 0;
  StoryAnalyticsAPI analytics([&](const std::string&) {
    ++marks;
    return true;
  });
  analytics.track(StorySDKEvent::StoryGroupImpression{"g1"}, std::nullopt, std::string("home"));
  analytics.track(StorySDKEvent::StoryOpen{"g1"}, std::nullopt, std::string("home"));
  analytics.track(StorySDKEvent::StoryOpen{"g1"}, makeConfiguration(), std::nullopt);
  EXPECT_EQ(marks, 0);
  EXPECT_TRUE(http->sent().empty());
}

TEST_F(StoryAnalytics, DeviceFactsThatCannotBeReadAreLeftOut) {
  setDevice("x", "419", "not-a-uuid");
  EXPECT_FALSE(StoryAnalyticsAPI::analyticsLanguageTag());
  EXPECT_FALSE(StoryAnalyticsAPI::analyticsCountryCode());

  StoryAnalyticsAPI analytics([](const std::string&) { return true; });
  analytics.setSessionId("S-1");
  analytics.track(StorySDKEvent::StoryOpen{"g1"}, makeConfiguration(std::nullopt, std::nullopt, std::nullopt, "my app"),
                  std::string("home"));

  ASSERT_EQ(http->sent().size(), 1u);
  EXPECT_EQ(http->sent()[0].url.path(), "/sdk/v1/apps/my%20app/events");
  const auto body = nlohmann::json::parse(*http->sent()[0].body);
  EXPECT_EQ(keysOf(body), (std::set<std::string>{"placementKey", "storyGroupId", "eventType", "devicePlatform",
                                                 "sessionId", "occurredAt"}));
  EXPECT_EQ(body["sessionId"], "S-1");
}

}  // namespace
}  // namespace quenmark::sdktest
