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
  tp.device->set({"en_GB@calendar=gregorian", "gb", "6f9619ff-8b86-d011-b42d-00c04fc964ff"});
  sdk().configure(makeConfiguration());

  sdk().analyticsAPI().track(StorySDKEvent::QuizViewed{"g1", "i1"}, sdk().configuration(), std::string("home"));

  ASSERT_EQ(http->sent().size(), 1u);
  const auto sent = http->sent()[0];
  EXPECT_EQ(sent.url.path(), kAnalyticsPath);
  EXPECT_EQ(sent.method, "POST");
  EXPECT_EQ(sent.headers,
            (platform::HttpHeaders{{"Content-Type", "application/json"}, {"X-Talewyn-SDK-Key", "sdk-secret"}}));
  EXPECT_EQ(sent.timeoutSeconds, 60.0);
  auto expected = nlohmann::json::parse(R"({"placementKey": "home", "storyGroupId": "g1", "storyItemId": "i1",
      "eventType": "QUIZ_VIEWED", "devicePlatform": "IOS", "userLanguage": "en-GB", "country": "GB",
      "deviceId": "6F9619FF-8B86-D011-B42D-00C04FC964FF", "occurredAt": "2027-01-01T00:00:00Z"})");
  expected["sessionId"] = sdk().sessionId();
  EXPECT_EQ(nlohmann::json::parse(*sent.body), expected);
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
  tp.device->set({"x", "419", "not-a-uuid"});
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
