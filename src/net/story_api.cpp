#include "net/story_api.h"

#include "net/banner_cache.h"
#include "net/content_decoder.h"
#include "net/payload_mapping.h"
#include "net/placement_url.h"
#include "net/vote_request_encoding.h"
#include "platform/main_thread_check.h"

#include <quenmark/net/story_api_error.h>
#include <quenmark/platform/platform.h>
#include <quenmark/sdk/story_sdk.h>

#include <mutex>
#include <optional>
#include <utility>

namespace quenmark {

/// The decoder of one client. Requests in flight share it with the client (and keep it alive); the lock
/// serialises the rare case of two answers arriving on different threads at once.
class StoryAPI::Decoding {
 public:
  template <class Fn>
  auto run(Fn&& decode) {
    std::lock_guard lock(mutex_);
    return decode(decoder_);
  }

 private:
  std::mutex mutex_;
  ContentDecoder decoder_;
};

namespace {

constexpr double kRequestTimeoutSeconds = 60.0;

/// What a request needs from the facade, read on the main thread when the operation starts.
struct RequestContext {
  StoryConfiguration configuration;
  std::optional<std::string> appId;
  std::optional<std::string> bundleId;
  std::optional<std::string> userId;
  std::shared_ptr<const platform::Platform> platform;
};

std::optional<RequestContext> readContext() {
  StorySDK& sdk = StorySDK::shared();
  auto configuration = sdk.configuration();
  if (!configuration) return std::nullopt;
  return RequestContext{std::move(*configuration), sdk.resolvedAppId(), sdk.resolvedBundleId(), sdk.resolvedUserId(),
                        platform::currentPlatform()};
}

platform::HttpHeaders commonHeaders(const RequestContext& context, bool jsonBody) {
  platform::HttpHeaders headers;
  if (jsonBody) headers.emplace_back("Content-Type", "application/json");
  headers.emplace_back("X-Talewyn-SDK-Key", context.configuration.sdkKey());
  if (context.appId) headers.emplace_back("X-Talewyn-AppId", *context.appId);
  if (context.bundleId) headers.emplace_back("X-Talewyn-BundleId", *context.bundleId);
  if (context.userId) headers.emplace_back("X-Talewyn-UserId", *context.userId);
  return headers;
}

/// Hands `result` to `completion` in a task of its own on the main thread.
template <class T>
void deliver(const std::shared_ptr<platform::MainThread>& mainThread, std::function<void(Result<T>)> completion,
             Result<T> result) {
  mainThread->post([completion = std::move(completion), result = std::move(result)]() mutable {
    auto callback = std::move(completion);
    if (callback) callback(std::move(result));
  });
}

/// The body of a successful answer, or the failure the report stands for: the transport's error as it
/// came, a status outside 200 to 299, or no body bytes at all.
Result<const std::string*> bodyOf(const platform::HttpResult& report) {
  if (!report.ok()) return report.error();
  const platform::HttpResponse& response = report.value();
  if (response.status < 200 || response.status > 299) return StoryAPIError::httpStatus(response.status).toError();
  if (!response.body) return StoryAPIError::emptyResponse().toError();
  return &*response.body;
}

/// Classifies, decodes and maps a stories answer (on the HTTP session's thread).
template <class Decoding>
Result<std::vector<StoryGroup>> storiesFrom(const platform::HttpResult& report, Decoding& decoding, SystemTime now) {
  auto body = bodyOf(report);
  if (!body.ok()) return std::move(body).error();
  auto payload = decoding.run([&](ContentDecoder& decoder) { return decoder.decodeStories(*body.value()); });
  if (!payload.ok()) return std::move(payload).error();
  std::vector<StoryGroup> groups;
  groups.reserve(payload.value().groups.size());
  for (auto& group : payload.value().groups) {
    if (auto mapped = makeStoryGroup(std::move(group), now)) groups.push_back(std::move(*mapped));
  }
  return groups;
}

}  // namespace

StoryAPI::StoryAPI() : decoding_(std::make_shared<Decoding>()) {}
StoryAPI::~StoryAPI() = default;

void StoryAPI::fetchStories(const std::string& placementKey, StoriesCompletion completion) {
  QUENMARK_ASSERT_MAIN_THREAD();
  auto context = readContext();
  if (!context) {
    deliver<std::vector<StoryGroup>>(platform::currentPlatform()->mainThread, std::move(completion),
                                     StoryAPIError::notConfigured().toError());
    return;
  }
  const auto& configuration = context->configuration;
  platform::HttpRequest request(
      placementURL(context->platform->serviceBaseUrl, configuration.appKey(), placementKey, "stories",
                   configuration.environment(), context->platform->device->current()),
      "GET", commonHeaders(*context, false), std::nullopt, kRequestTimeoutSeconds);

  platform::sendRequest(std::move(request), [decoding = decoding_, platform = context->platform, placementKey,
                                             completion = std::move(completion)](platform::HttpResult report) {
    // On the HTTP session's thread: classify, decode and map here, then hop to the main thread.
    auto groups = storiesFrom(report, *decoding, platform->clock->wallNow());
    platform->mainThread->post([placementKey, groups = std::move(groups), completion]() mutable {
      if (groups.ok()) StorySDK::shared().registerPlacement(groups.value(), placementKey);
      auto callback = std::move(completion);
      if (callback) callback(std::move(groups));
    });
  });
}

void StoryAPI::fetchBanners(const std::string& placementKey, BannersCompletion completion) {
  QUENMARK_ASSERT_MAIN_THREAD();
  auto context = readContext();
  if (!context) {
    // Without a configuration there is no identity to look a cached list up by.
    deliver<std::vector<Banner>>(platform::currentPlatform()->mainThread, std::move(completion),
                                 StoryAPIError::notConfigured().toError());
    return;
  }
  const auto& configuration = context->configuration;
  platform::HttpRequest request(
      placementURL(context->platform->serviceBaseUrl, configuration.appKey(), placementKey, "banners",
                   configuration.environment(), context->platform->device->current()),
      "GET", commonHeaders(*context, false), std::nullopt, kRequestTimeoutSeconds);
  std::string cacheKey =
      BannerCache::key(configuration.appKey(), placementKey, environmentName(configuration.environment()),
                       context->appId, context->bundleId, context->userId);

  platform::sendRequest(std::move(request), [decoding = decoding_, mainThread = context->platform->mainThread,
                                             cacheKey = std::move(cacheKey),
                                             completion = std::move(completion)](platform::HttpResult report) {
    // On the HTTP session's thread.
    Result<SdkBannersPayload> payload = Error{};
    if (auto body = bodyOf(report); body.ok()) {
      payload = decoding->run([&](ContentDecoder& decoder) { return decoder.decodeBanners(*body.value()); });
    } else {
      payload = std::move(body).error();
    }

    if (!payload.ok()) {
      // The last good list for this placement and identity stands in for any failure, read when the
      // failure is delivered.
      mainThread->post([cacheKey, error = payload.error(), completion]() mutable {
        auto cached = BannerCache::shared().lookup(cacheKey);
        auto callback = std::move(completion);
        if (!callback) return;
        if (cached)
          callback(std::move(*cached));
        else
          callback(std::move(error));
      });
      return;
    }

    std::vector<Banner> banners;
    banners.reserve(payload.value().banners.size());
    for (auto& banner : payload.value().banners) {
      if (auto mapped = makeBanner(std::move(banner))) banners.push_back(std::move(*mapped));
    }
    BannerCache::shared().store(cacheKey, banners);
    deliver<std::vector<Banner>>(mainThread, completion, std::move(banners));
  });
}

void StoryAPI::submitVote(const std::string& storyItemId, const std::string& optionId, VoteCompletion completion) {
  QUENMARK_ASSERT_MAIN_THREAD();
  auto context = readContext();
  if (!context) {
    deliver<VoteResponse>(platform::currentPlatform()->mainThread, std::move(completion),
                          StoryAPIError::notConfigured().toError());
    return;
  }
  const auto& mainThread = context->platform->mainThread;
  if (context->configuration.isPreviewMode()) {
    // Preview votes stay on the device: answered here, nothing is sent.
    deliver<VoteResponse>(mainThread, std::move(completion), VoteResponse(true, optionId, 1));
    return;
  }

  auto body = encodeVoteRequest(VoteRequestPayload{optionId, context->appId, context->bundleId, context->userId});
  if (!body.ok()) {
    deliver<VoteResponse>(mainThread, std::move(completion), StoryAPIError::encodingFailed().toError());
    return;
  }
  Url url = context->platform->serviceBaseUrl.appendingPathComponent("sdk")
                .appendingPathComponent("v1")
                .appendingPathComponent("apps")
                .appendingPathComponent(context->configuration.appKey())
                .appendingPathComponent("story-items")
                .appendingPathComponent(storyItemId)
                .appendingPathComponent("vote");
  platform::HttpRequest request(std::move(url), "POST", commonHeaders(*context, true), std::move(body).value(),
                                kRequestTimeoutSeconds);

  platform::sendRequest(std::move(request), [decoding = decoding_, mainThread,
                                             completion = std::move(completion)](platform::HttpResult report) {
    // On the HTTP session's thread.
    Result<VoteResponse> result = Error{};
    if (auto responseBody = bodyOf(report); responseBody.ok()) {
      auto payload =
          decoding->run([&](ContentDecoder& decoder) { return decoder.decodeVoteResponse(*responseBody.value()); });
      if (payload.ok()) {
        result = VoteResponse(payload.value().voted, std::move(payload.value().optionId), payload.value().voteCount);
      } else {
        result = std::move(payload).error();
      }
    } else {
      result = std::move(responseBody).error();
    }
    deliver<VoteResponse>(mainThread, completion, std::move(result));
  });
}

}  // namespace quenmark
