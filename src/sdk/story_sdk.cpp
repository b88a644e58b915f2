#include <quenmark/sdk/story_sdk.h>

#include <quenmark/model/story_group.h>
#include <quenmark/platform/platform.h>

#include "model/iso8601.h"
#include "model/text_trimming.h"
#include "model/uuid_text.h"
#include "net/story_analytics_api.h"
#include "net/story_api.h"
#include "platform/main_thread_check.h"
#include "sdk/locale_tags.h"
#include "sdk/sdk_event_type.h"
#include "sdk/story_sdk_testing.h"

#include <nlohmann/json.hpp>

#include <set>
#include <tuple>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <variant>

namespace quenmark {
namespace {

constexpr std::string_view kAnonymousUserIdKey = "talewyn_anonymous_user_id";
constexpr std::string_view kVoteKeyPrefix = "quenmark_widget_vote:";

/// `text` trimmed of surrounding white space and line breaks; absent when missing or blank.
std::optional<std::string> nonBlankTrimmed(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  auto trimmed = trimWhitespaceAndNewlines(*text);
  if (trimmed.empty()) return std::nullopt;
  return std::string(trimmed);
}

/// The host identity that decides whether a session continues: app, bundle and user id, each trimmed,
/// absent read as empty. Compared field by field, so no separator character can make two different
/// identities look alike.
using SessionIdentity = std::tuple<std::string, std::string, std::string>;

SessionIdentity sessionIdentity(const StoryConfiguration& configuration) {
  auto part = [](const std::optional<std::string>& value) {
    return value ? std::string(trimWhitespaceAndNewlines(*value)) : std::string();
  };
  return {part(configuration.appId()), part(configuration.bundleId()), part(configuration.userId())};
}

/// What makes two de-duplicated SDK events of one session the same: kind, reporting placement, first id
/// and second id (absent read as empty). Compared part by part, like the session identity.
using SentEventKey = std::tuple<SdkEventType, std::string, std::string, std::string>;

std::optional<std::string> hostBundleIdentifier() {
  return nonBlankTrimmed(platform::currentPlatform()->device->current().bundleIdentifier);
}

}  // namespace

struct StorySDK::State {
  explicit State(StorySDK& sdk)
      : analyticsAPI([&sdk](const std::string& groupId) { return sdk.markPlacementViewed(groupId); }) {}

  std::optional<StoryConfiguration> configuration;
  EventHandler eventHandler;
  StoryAnalyticsAPI analyticsAPI;
  StoryAPI storyAPI;  // the content client; never replaced
  std::unordered_map<std::string, std::string> groupPlacementKeys;
  std::unordered_set<std::string> trackedPlacementViews;
  std::set<SentEventKey> sentEventKeys;  // emptied with every new session
  std::string sessionId;
  std::string userId;  // the anonymous id of this installation, not the host's user id
};

StorySDK::StorySDK() : state_(std::make_unique<State>(*this)) {}

StorySDK::~StorySDK() = default;

StorySDK& StorySDK::shared() {
  // Never destroyed: the facade lives until the process ends, and tasks still queued at exit may use it.
  static StorySDK* const instance = new StorySDK();
  return *instance;
}

void resetStorySDKForTesting() {
  StorySDK& sdk = StorySDK::shared();
  sdk.state_ = std::make_unique<StorySDK::State>(sdk);
}

std::optional<StoryConfiguration> StorySDK::configuration() const { return state_->configuration; }

void StorySDK::configure(const StoryConfiguration& configuration) {
  state_->configuration = configuration;

  auto& store = *platform::currentPlatform()->store;
  auto stored = store.get(kAnonymousUserIdKey);
  if (stored && !stored->empty()) {
    state_->userId = *stored;
  } else {
    state_->userId = makeUuidText();
    store.set(kAnonymousUserIdKey, state_->userId);
  }

  startNewSession();
}

void StorySDK::updateSession(std::optional<std::string> appId, std::optional<std::string> bundleId,
                             std::optional<std::string> userId) {
  if (!state_->configuration) return;
  StoryConfiguration updated = *state_->configuration;
  const SessionIdentity before = sessionIdentity(updated);
  if (appId) updated.setAppId(std::move(appId));
  if (bundleId) updated.setBundleId(std::move(bundleId));
  if (userId) updated.setUserId(std::move(userId));
  const SessionIdentity after = sessionIdentity(updated);
  state_->configuration = std::move(updated);
  if (before != after) startNewSession();
}

StorySDK::EventHandler StorySDK::eventHandler() const { return state_->eventHandler; }

void StorySDK::setEventHandler(EventHandler handler) { state_->eventHandler = std::move(handler); }

std::optional<std::string> StorySDK::resolvedAppId() const {
  const auto& configuration = state_->configuration;
  if (configuration) {
    if (auto appId = nonBlankTrimmed(configuration->appId())) return appId;
  }
  if (auto bundle = hostBundleIdentifier()) return bundle;
  if (configuration) return configuration->appKey();
  return std::nullopt;
}

std::optional<std::string> StorySDK::resolvedBundleId() const {
  if (state_->configuration) {
    if (auto bundleId = nonBlankTrimmed(state_->configuration->bundleId())) return bundleId;
  }
  return hostBundleIdentifier();
}

std::optional<std::string> StorySDK::resolvedUserId() const {
  if (state_->configuration) {
    if (auto userId = nonBlankTrimmed(state_->configuration->userId())) return userId;
  }
  if (!state_->userId.empty()) return state_->userId;
  return std::nullopt;
}

std::string StorySDK::voteStorageKey(const std::string& storyItemId) const {
  std::string key(kVoteKeyPrefix);
  key += state_->configuration ? state_->configuration->appKey() : std::string("unknown-app");
  key += ":";
  key += resolvedUserId().value_or(state_->userId);
  key += ":";
  key += storyItemId;
  return key;
}

void StorySDK::registerPlacement(const std::vector<StoryGroup>& groups, const std::string& placementKey) {
  QUENMARK_ASSERT_MAIN_THREAD();
  for (const auto& group : groups) state_->groupPlacementKeys[group.id()] = placementKey;
}

std::optional<std::string> StorySDK::placementKeyForGroup(const std::string& groupId) const {
  auto found = state_->groupPlacementKeys.find(groupId);
  if (found == state_->groupPlacementKeys.end()) return std::nullopt;
  return found->second;
}

std::optional<std::string> StorySDK::placementKeyFor(const StorySDKEvent& event) const {
  return std::visit(
      [this](const auto& c) -> std::optional<std::string> {
        using Case = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<Case, StorySDKEvent::BannerImpression> ||
                      std::is_same_v<Case, StorySDKEvent::BannerClick>) {
          return c.placementKey;
        } else {
          return placementKeyForGroup(c.groupId);
        }
      },
      event.asVariant());
}

bool StorySDK::markPlacementViewed(const std::string& groupId) {
  auto placementKey = placementKeyForGroup(groupId);
  if (!placementKey) return false;
  return state_->trackedPlacementViews.insert(*placementKey).second;
}

void StorySDK::report(const StorySDKEvent& event, const std::string& placementKey) {
  QUENMARK_ASSERT_MAIN_THREAD();
  // 1. The host hears first, configured or not. A handler that throws must not stop the reports.
  if (EventHandler handler = state_->eventHandler) {
    try {
      handler(event);
    } catch (...) {
    }
  }

  // 2. Analytics, with the placement the event's group was loaded for.
  const std::optional<StoryConfiguration> configuration = state_->configuration;
  state_->analyticsAPI.track(event, configuration, placementKeyFor(event));

  // 3. The SDK event, for the reporting view's own placement.
  using E = StorySDKEvent;
  std::visit(
      [&](const auto& c) {
        using Case = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<Case, E::StoryGroupImpression>) {
          sendStoryEvent(SdkEventType::storyGroupImpression, placementKey, c.groupId, std::nullopt);
        } else if constexpr (std::is_same_v<Case, E::StoryOpen>) {
          sendStoryEvent(SdkEventType::storyOpen, placementKey, c.groupId, std::nullopt);
        } else if constexpr (std::is_same_v<Case, E::StoryItemImpression> || std::is_same_v<Case, E::StoryClose>) {
          // No SDK event accompanies these.
        } else if constexpr (std::is_same_v<Case, E::StoryCompleted>) {
          sendStoryEvent(SdkEventType::storyComplete, placementKey, c.groupId, std::nullopt);
        } else if constexpr (std::is_same_v<Case, E::PollViewed>) {
          sendStoryEvent(SdkEventType::pollView, placementKey, c.groupId, c.itemId);
        } else if constexpr (std::is_same_v<Case, E::PollVoted>) {
          sendStoryEvent(SdkEventType::pollVote, placementKey, c.groupId, c.itemId);
        } else if constexpr (std::is_same_v<Case, E::QuizViewed>) {
          sendStoryEvent(SdkEventType::quizView, placementKey, c.groupId, c.itemId);
        } else if constexpr (std::is_same_v<Case, E::QuizAnswered>) {
          sendStoryEvent(SdkEventType::quizAnswer, placementKey, c.groupId, c.itemId);
        } else if constexpr (std::is_same_v<Case, E::SwipeUp>) {
          sendStoryEvent(SdkEventType::swipeUp, placementKey, c.groupId, c.itemId);
        } else if constexpr (std::is_same_v<Case, E::BannerImpression>) {
          sendBannerEvent(SdkEventType::bannerImpression, placementKey, c.bannerId, c.bannerItemId);
        } else {
          static_assert(std::is_same_v<Case, E::BannerClick>);
          sendBannerEvent(SdkEventType::bannerClick, placementKey, c.bannerId, c.bannerItemId);
        }
      },
      event.asVariant());
}

void StorySDK::reportCtaClick(const std::string& placementKey, const std::string& groupId, const std::string& itemId) {
  sendStoryEvent(SdkEventType::ctaClick, placementKey, groupId, itemId);
}

void StorySDK::reportStoryItemView(const std::string& placementKey, const std::string& groupId,
                                   const std::string& itemId) {
  sendStoryEvent(SdkEventType::storyItemView, placementKey, groupId, itemId);
}

namespace {

struct SdkEventIds {
  std::optional<std::string> storyGroupId;
  std::optional<std::string> storyItemId;
  std::optional<std::string> bannerId;
  std::optional<std::string> bannerItemId;
};

/// Posts one SDK event for `configuration`. Fire-and-forget: the outcome is ignored.
void postSdkEvent(const StoryConfiguration& configuration, SdkEventType type, const std::string& placementKey,
                  const SdkEventIds& ids, const std::string& anonymousUserId, const std::string& sessionId,
                  const std::string& locale) {
  const auto platform = platform::currentPlatform();
  nlohmann::ordered_json body;
  body["appKey"] = configuration.appKey();
  body["placementKey"] = placementKey;
  body["eventType"] = std::string(sdkEventWireName(type));
  if (ids.storyGroupId) body["storyGroupId"] = *ids.storyGroupId;
  if (ids.storyItemId) body["storyItemId"] = *ids.storyItemId;
  if (ids.bannerId) body["bannerId"] = *ids.bannerId;
  if (ids.bannerItemId) body["bannerItemId"] = *ids.bannerItemId;
  body["anonymousUserId"] = anonymousUserId;
  body["sessionId"] = sessionId;
  body["platform"] = "IOS";
  body["locale"] = locale;
  body["sdkVersion"] = SDK_VERSION;
  body["occurredAt"] = formatIso8601(platform->clock->wallNow());
  body["eventId"] = makeUuidText();

  std::string json;
  try {
    json = body.dump();
  } catch (const nlohmann::json::exception&) {
    return;  // text that is not UTF-8 cannot be encoded; the event is dropped (its key stays recorded)
  }

  platform::HttpRequest request{
      platform->serviceBaseUrl.appendingPathComponent("sdk").appendingPathComponent("v1").appendingPathComponent(
          "events")};
  request.method = "POST";
  request.timeoutSeconds = 60.0;
  request.headers = {{"Content-Type", "application/json"}, {"X-Talewyn-SDK-Key", configuration.sdkKey()}};
  request.body = std::move(json);
  // Runs on the HTTP session's thread; the outcome is deliberately ignored.
  platform::sendRequest(std::move(request), [](platform::HttpResult) {});
}

}  // namespace

void StorySDK::sendStoryEvent(SdkEventType type, const std::string& placementKey,
                              const std::optional<std::string>& storyGroupId,
                              const std::optional<std::string>& storyItemId) {
  if (!state_->configuration) return;
  const StoryConfiguration configuration = *state_->configuration;
  if (isDeduplicated(type)) {
    if (!state_->sentEventKeys.emplace(type, placementKey, storyGroupId.value_or(""), storyItemId.value_or(""))
             .second) {
      return;
    }
  }
  postSdkEvent(configuration, type, placementKey, SdkEventIds{storyGroupId, storyItemId, {}, {}}, state_->userId,
               state_->sessionId, eventLocaleTag());
}

void StorySDK::sendBannerEvent(SdkEventType type, const std::string& placementKey, const std::string& bannerId,
                               const std::optional<std::string>& bannerItemId) {
  if (!state_->configuration) return;
  const StoryConfiguration configuration = *state_->configuration;
  if (isDeduplicated(type)) {
    if (!state_->sentEventKeys.emplace(type, placementKey, bannerId, bannerItemId.value_or("")).second) return;
  }
  postSdkEvent(configuration, type, placementKey, SdkEventIds{{}, {}, bannerId, bannerItemId}, state_->userId,
               state_->sessionId, eventLocaleTag());
}

std::string StorySDK::eventLocaleTag() const {
  return eventLocaleTagFor(platform::currentPlatform()->device->current().localeIdentifier);
}

void StorySDK::startNewSession() {
  state_->sessionId = makeUuidText();
  state_->analyticsAPI.setSessionId(state_->sessionId);
  state_->sentEventKeys.clear();
  state_->trackedPlacementViews.clear();
}

const std::string& StorySDK::sessionId() const { return state_->sessionId; }

const std::string& StorySDK::anonymousUserId() const { return state_->userId; }

StoryAnalyticsAPI& StorySDK::analyticsAPI() { return state_->analyticsAPI; }

StoryAPI& StorySDK::storyAPI() { return state_->storyAPI; }

void StorySDK::recordVote(const std::string& storyItemId, const std::string& optionId, VoteCompletion completion) {
  state_->storyAPI.submitVote(storyItemId, optionId, std::move(completion));
}

}  // namespace quenmark
