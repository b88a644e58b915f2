#pragma once

#include <quenmark/model/story_group.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/testing/test_platform.h>

#include "recording_http_session.h"
#include "sdk/story_sdk_testing.h"
#include "test_http_server.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quenmark::sdktest {

/// A configuration with the given identity hints and the stock words.
inline StoryConfiguration makeConfiguration(std::optional<std::string> appId = std::nullopt,
                                            std::optional<std::string> bundleId = std::nullopt,
                                            std::optional<std::string> userId = std::nullopt,
                                            std::string appKey = "app-key") {
  return StoryConfiguration("sdk-secret", std::move(appKey), StoryEnvironment::production, std::move(appId),
                            std::move(bundleId), std::move(userId), StoryUIStrings::defaultStrings(), false);
}

inline StoryGroup makeGroup(std::string id) {
  return StoryGroup(std::move(id), "Title", StoryTheme::defaultTheme(), std::nullopt, {});
}

inline std::set<std::string> keysOf(const nlohmann::json& object) {
  std::set<std::string> keys;
  for (const auto& [key, value] : object.items()) keys.insert(key);
  return keys;
}

/// The test platform with a recording session in front of libcurl, talking to a local server that
/// accepts SDK events and analytics records; a fresh facade for every test.
class SdkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.on("POST", "/sdk/v1/events", testsupport::reply(202, ""));
    server.on("POST", "/sdk/v1/apps/app-key/events", testsupport::reply(202, ""));
    http = std::make_shared<testsupport::RecordingHttpSession>(tp.http);
    tp.http = http;
    tp.install(server.baseUrl());
    resetStorySDKForTesting();
  }

  void TearDown() override { resetStorySDKForTesting(); }

  StorySDK& sdk() { return StorySDK::shared(); }

  /// JSON bodies of the requests to `path` handed to the HTTP session so far, in order.
  std::vector<nlohmann::json> sentBodies(const std::string& path) const {
    std::vector<nlohmann::json> bodies;
    for (const auto& request : http->sent()) {
      if (request.url.path() == path) bodies.push_back(nlohmann::json::parse(request.body.value_or("null")));
    }
    return bodies;
  }

  testsupport::TestHttpServer server;
  testing::TestPlatform tp;
  std::shared_ptr<testsupport::RecordingHttpSession> http;
};

}  // namespace quenmark::sdktest
