#include "net/story_api.h"
#include "net/banner_cache.h"

#include "net/placement_url.h"

#include "sdk_test_fixture.h"

#include <quenmark/net/story_api_error.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/testing/test_platform.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace quenmark {
namespace {

using testsupport::reply;
using testsupport::ScriptedResponse;

constexpr const char* kStoriesPath = "/sdk/v1/apps/app-key/placements/home_top/stories";
constexpr const char* kBannersPath = "/sdk/v1/apps/app-key/placements/home_top/banners";
constexpr const char* kVotePath = "/sdk/v1/apps/app-key/story-items/item-1/vote";

constexpr const char* kStoriesBody = R"({"groups": [
  {"id": "3F2504E0-4F89-11D3-9A0C-0305E82C3301", "title": "With items", "items": [
    {"id": "7c9e6679-7425-40de-944b-e07fc1f90ae7", "type": "IMAGE",
     "media": {"mediaType": "IMAGE", "mediaUrl": "https://cdn.example.com/a.jpg"}}]},
  {"id": "00000000-0000-0000-0000-000000000002", "title": "Empty", "items": []}
]})";

std::string bannersBody(int id) {
  return R"({"banners": [{"id": )" + std::to_string(id) +
         R"(, "type": "CAROUSEL", "placementKey": "home_top", "viewOrder": 0,
             "items": [{"id": 1, "mediaUrl": "https://cdn.example.com/b.png", "orderIndex": 0}]}]})";
}

StoryConfiguration configuration(StoryEnvironment environment = StoryEnvironment::production,
                                 std::optional<std::string> userId = std::string("user-1"), bool preview = false) {
  return StoryConfiguration("sdk-key", "app-key", environment, std::string("app-id"), std::string("bundle.id"),
                            std::move(userId), StoryUIStrings::defaultStrings(), preview);
}

/// What a completion received, and how often.
template <class T>
struct Outcome {
  int calls = 0;
  std::optional<Result<T>> result;

  std::function<void(Result<T>)> completion() {
    return [this](Result<T> value) {
      ++calls;
      result.emplace(std::move(value));
    };
  }
  const T& value() const { return result->value(); }
  const Error& error() const { return result->error(); }
};

/// A configured SDK and a content client; a test may configure again.
class StoryAPITest : public sdktest::SdkTest {
 protected:
  void SetUp() override {
    SdkTest::SetUp();
    StorySDK::shared().configure(configuration());
  }

  /// Runs main-thread tasks until the completion has run, then checks that it ran exactly once.
  template <class T>
  void await(Outcome<T>& outcome) {
    ASSERT_TRUE(tp.mainThread->runUntil([&] { return outcome.calls > 0; }));
    tp.mainThread->runPending();
    ASSERT_EQ(outcome.calls, 1);
    ASSERT_TRUE(outcome.result.has_value());
  }

  Outcome<std::vector<StoryGroup>> fetchStories(const std::string& placement = "home_top") {
    Outcome<std::vector<StoryGroup>> outcome;
    api.fetchStories(placement, outcome.completion());
    await(outcome);
    return outcome;
  }
  Outcome<std::vector<Banner>> fetchBanners(StoryAPI& client) {
    Outcome<std::vector<Banner>> outcome;
    client.fetchBanners("home_top", outcome.completion());
    await(outcome);
    return outcome;
  }
  /// Submits a vote; checks that the completion is not called on the caller's stack.
  Outcome<VoteResponse> submitVote(const std::string& optionId) {
    Outcome<VoteResponse> outcome;
    api.submitVote("item-1", optionId, outcome.completion());
    EXPECT_EQ(outcome.calls, 0);
    await(outcome);
    return outcome;
  }

  StoryAPI api;
};

TEST_F(StoryAPITest, StoriesRequestCarriesTheQueryInOrderAndTheIdentityHeaders) {
  server.on("GET", kStoriesPath, reply(200, kStoriesBody));
  Outcome<std::vector<StoryGroup>> outcome;
  std::optional<std::string> registeredBeforeDelivery;
  {
    StoryAPI scoped;  // a request in flight outlives its client
    scoped.fetchStories("home_top", [&](Result<std::vector<StoryGroup>> result) {
      registeredBeforeDelivery = StorySDK::shared().placementKeyForGroup("3f2504e0-4f89-11d3-9a0c-0305e82c3301");
      outcome.completion()(std::move(result));
    });
  }
  await(outcome);

  ASSERT_TRUE(outcome.result->ok()) << outcome.error().description;
  ASSERT_EQ(outcome.value().size(), 1u);  // the group without items is left out
  EXPECT_EQ(outcome.value()[0].id(), "3f2504e0-4f89-11d3-9a0c-0305e82c3301");
  EXPECT_EQ(outcome.value()[0].coverImageURL()->string(), "https://cdn.example.com/a.jpg");
  EXPECT_EQ(registeredBeforeDelivery, "home_top");
  EXPECT_FALSE(StorySDK::shared().placementKeyForGroup("00000000-0000-0000-0000-000000000002"));

  ASSERT_EQ(server.requests().size(), 1u);  // to the stories route: anything else is answered 404
  const auto request = server.requests()[0];
  EXPECT_EQ(request.rawQuery,
            "environment=PRODUCTION&locale=en-US&platform=IOS&sdkVersion=1.0.0&deviceId=6F9619FF-8B86-D011-B42D-"
            "00C04FC964FF&country=US&appVersion=1.2.3");
  EXPECT_EQ((std::vector{request.header("X-Talewyn-SDK-Key"), request.header("X-Talewyn-AppId"),
                         request.header("X-Talewyn-BundleId"), request.header("X-Talewyn-UserId"),
                         request.header("Content-Type")}),
            (std::vector<std::optional<std::string>>{"sdk-key", "app-id", "bundle.id", "user-1", std::nullopt}));
  EXPECT_EQ(request.body, "");
}

TEST_F(StoryAPITest, EnvironmentAndDeviceOnlyChangeQueryValues) {
  StorySDK::shared().configure(configuration(StoryEnvironment::staging, std::nullopt));
  tp.device->set(platform::DeviceInfo{"e_US", "419", "not-a-uuid", std::nullopt, ""});
  server.on("GET", "/sdk/v1/apps/app-key/placements/a b/c/stories", reply(200, R"({"groups": []})"));
  auto outcome = fetchStories("a b/c");
  ASSERT_TRUE(outcome.result->ok()) << outcome.error().description;
  EXPECT_TRUE(outcome.value().empty());

  auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].rawQuery, "environment=STAGING&platform=IOS&sdkVersion=1.0.0");
  EXPECT_EQ(requests[0].rawPath, "/sdk/v1/apps/app-key/placements/a%20b%2Fc/stories");  // one segment
  // The anonymous user id stands in for the host's user id.
  EXPECT_EQ(requests[0].header("X-Talewyn-UserId"), StorySDK::shared().anonymousUserId());

  // ".." is a placement key like any other, not a step up the path.
  fetchStories("..");
  EXPECT_EQ(server.requests().back().rawPath, "/sdk/v1/apps/app-key/placements/%2E%2E/stories");

  // The country takes two to eight letters (the language tag is the SDK events' one, without "en").
  EXPECT_EQ((std::vector{contentCountryCode(std::string("gb")), contentCountryCode(std::string("ABCDEFGH")),
                         contentCountryCode(std::string("ABCDEFGHI")), contentCountryCode(std::string("G"))}),
            (std::vector<std::optional<std::string>>{"GB", "ABCDEFGH", std::nullopt, std::nullopt}));
}

TEST_F(StoryAPITest, StoriesFailuresArriveAsValues) {
  struct Case {
    ScriptedResponse response;
    ErrorKind kind;
    std::string description;
  };
  const Case cases[] = {
      {reply(500, R"({"groups": []})"), ErrorKind::httpStatus, "Story request failed with status 500."},
      {reply(304, ""), ErrorKind::httpStatus, "Story request failed with status 304."},
      {reply(200, ""), ErrorKind::invalidResponse, "Story request returned an empty response."},
      {reply(200, "{}"), ErrorKind::decoding, "groups: required key is missing"},
  };
  for (const auto& testCase : cases) {
    server.on("GET", kStoriesPath, testCase.response);
    auto outcome = fetchStories();
    ASSERT_FALSE(outcome.result->ok()) << testCase.description;
    EXPECT_EQ(outcome.error().kind, testCase.kind);
    EXPECT_EQ(outcome.error().description, testCase.description);
  }

  // Nothing listens on the other port: the transport's own error is passed on.
  tp.install();
  auto outcome = fetchStories();
  ASSERT_FALSE(outcome.result->ok());
  EXPECT_EQ(outcome.error().kind, ErrorKind::transport);
  EXPECT_FALSE(StoryAPIError::from(outcome.error()));
}

TEST_F(StoryAPITest, WithoutConfigurationEveryOperationFailsLaterAndSendsNothing) {
  resetStorySDKForTesting();
  Outcome<std::vector<StoryGroup>> stories;
  Outcome<std::vector<Banner>> banners;
  Outcome<VoteResponse> vote;
  api.fetchStories("home_top", stories.completion());
  api.fetchBanners("home_top", banners.completion());
  api.submitVote("item-1", "option-1", vote.completion());
  // Never inline: nothing has been delivered before the main thread runs its tasks.
  EXPECT_EQ(stories.calls + banners.calls + vote.calls, 0);
  tp.mainThread->runPending();
  ASSERT_EQ(stories.calls, 1);
  ASSERT_EQ(banners.calls, 1);
  ASSERT_EQ(vote.calls, 1);
  for (const Error* error : {&stories.error(), &banners.error(), &vote.error()}) {
    EXPECT_EQ(error->kind, ErrorKind::notConfigured);
    EXPECT_EQ(error->description, "Story SDK is not configured.");
  }
  EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(StoryAPITest, VoteRequestAndResponse) {
  server.on("POST", kVotePath, reply(200, R"({"voted": true, "optionId": "option-1", "voteCount": 42})"));
  auto outcome = submitVote("option-1");
  ASSERT_TRUE(outcome.result->ok()) << outcome.error().description;
  EXPECT_EQ(outcome.value(), VoteResponse(true, "option-1", 42));

  auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].rawQuery, "");
  EXPECT_EQ((std::vector{requests[0].header("Content-Type"), requests[0].header("X-Talewyn-SDK-Key"),
                         requests[0].header("X-Talewyn-UserId")}),
            (std::vector<std::optional<std::string>>{"application/json", "sdk-key", "user-1"}));
  EXPECT_EQ(
      nlohmann::json::parse(requests[0].body),
      (nlohmann::json{{"optionId", "option-1"}, {"appId", "app-id"}, {"bundleId", "bundle.id"}, {"userId", "user-1"}}));
}

TEST_F(StoryAPITest, VoteFailuresAndLocalAnswers) {
  server.on("POST", kVotePath, reply(404, R"({"voted": true})"));
  EXPECT_EQ(submitVote("option-1").error(),
            (Error{ErrorKind::httpStatus, "Story request failed with status 404.", 404}));

  server.on("POST", kVotePath, reply(201, R"({"optionId": "option-1"})"));
  EXPECT_EQ(submitVote("option-1").error(), (Error{ErrorKind::decoding, "voted: required key is missing", 0}));

  server.clear();
  auto unencodable = submitVote(std::string("option-\xC3"));
  EXPECT_EQ(unencodable.error(), StoryAPIError::encodingFailed().toError());
  EXPECT_EQ(unencodable.error().description, "Failed to encode request body.");

  StorySDK::shared().configure(configuration(StoryEnvironment::production, std::string("user-1"), true));
  EXPECT_EQ(submitVote("option-9").value(), VoteResponse(true, "option-9", 1));
  EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(StoryAPITest, FailedBannerRequestFallsBackToTheLastListOfTheSameIdentity) {
  server.on("GET", kBannersPath, reply(200, bannersBody(17)));
  auto first = fetchBanners(api);
  ASSERT_TRUE(first.result->ok()) << first.error().description;
  ASSERT_EQ(first.value().size(), 1u);
  EXPECT_EQ(first.value()[0].id(), "17");

  // Every kind of failure after sending gives the cached list, from any client of the process.
  StoryAPI other;
  for (const auto& failing : {reply(503, ""), reply(200, ""), reply(200, "[]")}) {
    server.on("GET", kBannersPath, failing);
    auto fallback = fetchBanners(other);
    ASSERT_TRUE(fallback.result->ok());
    EXPECT_EQ(fallback.value(), first.value());
  }

  // Another user is another key: the error comes through.
  StorySDK::shared().updateSession(std::nullopt, std::nullopt, std::string("user-2"));
  auto otherUser = fetchBanners(api);
  ASSERT_FALSE(otherUser.result->ok());
  EXPECT_EQ(otherUser.error().description, "top level: expected an object, found an array");

  // Back to the first user, with the transport failing too.
  StorySDK::shared().updateSession(std::nullopt, std::nullopt, std::string("user-1"));
  tp.install();
  auto transport = fetchBanners(api);
  ASSERT_TRUE(transport.result->ok());
  EXPECT_EQ(transport.value(), first.value());

  // Values holding the separator cannot pass for another identity.
  EXPECT_NE(BannerCache::key("k", "p", "e", "a", "b|u", "v"), BannerCache::key("k", "p", "e", "a", "b", "u|v"));
  EXPECT_NE(BannerCache::key("k", "p", "e", "a\\", "b", "c|d"), BannerCache::key("k", "p", "e", "a|b", "c\\", "d"));
}

TEST_F(StoryAPITest, AnEmptyBannerListReplacesACachedOne) {
  // A user of its own keeps this test apart from lists that other tests cached in the process.
  StorySDK::shared().configure(configuration(StoryEnvironment::staging, std::string("user-empty")));
  server.on("GET", kBannersPath, reply(200, bannersBody(5)));
  ASSERT_EQ(fetchBanners(api).value().size(), 1u);

  // A banner whose only item cannot be shown is left out, leaving an empty success.
  server.on("GET", kBannersPath, reply(200, R"({"banners": [{"id": 6, "type": "STATIC", "placementKey": "home_top",
                                  "viewOrder": 0, "items": [{"id": 1, "mediaUrl": "", "orderIndex": 0}]}]})"));
  auto empty = fetchBanners(api);
  ASSERT_TRUE(empty.result->ok());
  EXPECT_TRUE(empty.value().empty());

  server.on("GET", kBannersPath, reply(500, ""));
  auto fallback = fetchBanners(api);
  ASSERT_TRUE(fallback.result->ok());
  EXPECT_TRUE(fallback.value().empty());

  // The environment is part of the key: production has nothing cached.
  StorySDK::shared().configure(configuration(StoryEnvironment::production, std::string("user-empty")));
  auto production = fetchBanners(api);
  ASSERT_FALSE(production.result->ok());
  EXPECT_EQ(production.error(), StoryAPIError::httpStatus(500).toError());
  EXPECT_TRUE(server.requests().back().rawQuery.starts_with("environment=PRODUCTION&"));
}

}  // namespace
}  // namespace quenmark
