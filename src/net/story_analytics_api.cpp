#include "net/story_analytics_api.h"

#include <quenmark/platform/platform.h>

#include "model/iso8601.h"
#include "model/uuid_text.h"
#include "sdk/locale_tags.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <type_traits>
#include <utility>
#include <variant>

namespace quenmark {
namespace {

/// What analytics records for one event: its type and which ids it carries.
struct AnalyticsFields {
  std::string eventType;
  std::optional<std::string> storyGroupId;
  std::optional<std::string> storyItemId;
};

AnalyticsFields groupFields(std::string type, const std::string& groupId) {
  return {std::move(type), groupId, std::nullopt};
}

AnalyticsFields itemFields(std::string type, const std::string& groupId, const std::string& itemId) {
  return {std::move(type), groupId, itemId};
}

std::optional<std::string> upperCaseUuid(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  auto canonical = canonicalUuid(*text);
  if (!canonical) return std::nullopt;
  for (char& c : *canonical) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return canonical;
}

}  // namespace

StoryAnalyticsAPI::StoryAnalyticsAPI(PlacementViewMarker markPlacementViewed)
    : markPlacementViewed_(std::move(markPlacementViewed)), sessionId_(makeUuidText()) {}

std::optional<std::string> StoryAnalyticsAPI::analyticsLanguageTag() {
  return reportedLanguageTag(platform::currentPlatform()->device->current().localeIdentifier);
}

std::optional<std::string> StoryAnalyticsAPI::analyticsCountryCode() {
  return analyticsCountryCodeFor(platform::currentPlatform()->device->current().regionCode);
}

std::optional<std::string> StoryAnalyticsAPI::makePayload(const StorySDKEvent& event, const std::string& placementKey) {
  using E = StorySDKEvent;
  auto fields = std::visit(
      [this](const auto& c) -> std::optional<AnalyticsFields> {
        using Case = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<Case, E::StoryGroupImpression>) {
          // A placement counts as viewed once per session, on the first impression of any of its groups.
          auto mark = markPlacementViewed_;
          if (!mark || !mark(c.groupId)) return std::nullopt;
          return AnalyticsFields{"PLACEMENT_VIEWED", std::nullopt, std::nullopt};
        } else if constexpr (std::is_same_v<Case, E::StoryOpen>) {
          return groupFields("STORY_GROUP_OPENED", c.groupId);
        } else if constexpr (std::is_same_v<Case, E::StoryItemImpression>) {
          return itemFields("STORY_ITEM_VIEWED", c.groupId, c.itemId);
        } else if constexpr (std::is_same_v<Case, E::StoryClose>) {
          return groupFields("STORY_DISMISSED", c.groupId);
        } else if constexpr (std::is_same_v<Case, E::StoryCompleted>) {
          return groupFields("STORY_GROUP_COMPLETED", c.groupId);
        } else if constexpr (std::is_same_v<Case, E::PollViewed>) {
          return itemFields("POLL_VIEWED", c.groupId, c.itemId);
        } else if constexpr (std::is_same_v<Case, E::PollVoted>) {
          return itemFields("POLL_VOTED", c.groupId, c.itemId);
        } else if constexpr (std::is_same_v<Case, E::QuizViewed>) {
          return itemFields("QUIZ_VIEWED", c.groupId, c.itemId);
        } else if constexpr (std::is_same_v<Case, E::QuizAnswered>) {
          return itemFields("QUIZ_ANSWERED", c.groupId, c.itemId);
        } else if constexpr (std::is_same_v<Case, E::SwipeUp>) {
          return itemFields("SWIPE_UP", c.groupId, c.itemId);
        } else {
          static_assert(std::is_same_v<Case, E::BannerImpression> || std::is_same_v<Case, E::BannerClick>);
          return std::nullopt;  // banners have no analytics records
        }
      },
      event.asVariant());
  if (!fields) return std::nullopt;

  const auto& platform = *platform::currentPlatform();
  const auto device = platform.device->current();
  nlohmann::ordered_json body;
  body["placementKey"] = placementKey;
  if (fields->storyGroupId) body["storyGroupId"] = *fields->storyGroupId;
  if (fields->storyItemId) body["storyItemId"] = *fields->storyItemId;
  body["eventType"] = fields->eventType;
  body["devicePlatform"] = "IOS";
  if (auto language = reportedLanguageTag(device.localeIdentifier)) body["userLanguage"] = *language;
  if (auto country = analyticsCountryCodeFor(device.regionCode)) body["country"] = *country;
  if (auto deviceId = upperCaseUuid(device.vendorIdentifier)) body["deviceId"] = *deviceId;
  body["sessionId"] = sessionId_;
  body["occurredAt"] = formatIso8601(platform.clock->wallNow());
  try {
    return body.dump();
  } catch (const nlohmann::json::exception&) {
    return std::nullopt;  // text that is not UTF-8 cannot be encoded; the record is dropped
  }
}

void StoryAnalyticsAPI::track(const StorySDKEvent& event, const std::optional<StoryConfiguration>& configuration,
                              const std::optional<std::string>& placementKey) {
  if (!configuration || !placementKey) return;
  auto body = makePayload(event, *placementKey);
  if (!body) return;

  const auto base = platform::currentPlatform()->serviceBaseUrl;
  platform::HttpRequest request{base.appendingPathComponent("sdk")
                                    .appendingPathComponent("v1")
                                    .appendingPathComponent("apps")
                                    .appendingPathComponent(configuration->appKey())
                                    .appendingPathComponent("events")};
  request.method = "POST";
  request.timeoutSeconds = 60.0;
  request.headers = {{"Content-Type", "application/json"}, {"X-Talewyn-SDK-Key", configuration->sdkKey()}};
  request.body = std::move(*body);
  // Runs on the HTTP session's thread; the outcome is deliberately ignored.
  platform::sendRequest(std::move(request), [](platform::HttpResult) {});
}

}  // namespace quenmark
