#include "devserver/wire_records.h"

#include <exception>

#include "devserver/record_check.h"

namespace quenmark::devserver {
namespace {

/// Request bodies nest two levels at most; anything far deeper is refused before it is parsed.
constexpr int kMaxBodyDepth = 64;

bool nestsTooDeep(std::string_view text) {
  int depth = 0;
  bool inString = false;
  bool escaped = false;
  for (char c : text) {
    if (inString) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        inString = false;
      }
      continue;
    }
    if (c == '"') {
      inString = true;
    } else if (c == '{' || c == '[') {
      if (++depth > kMaxBodyDepth) return true;
    } else if (c == '}' || c == ']') {
      --depth;
    }
  }
  return false;
}

void checkEventType(RecordCheck& check, std::string_view key) {
  if (const auto* type = check.requiredString(key)) {
    if (!isEventTypeName(type->get_ref<const std::string&>())) {
      check.fail(key, "expected an upper-case event name such as STORY_OPEN");
    }
  }
}

std::optional<std::string> result(const std::string& failure) {
  if (failure.empty()) return std::nullopt;
  return failure;
}

void checkTheme(const nlohmann::json& theme, const std::string& path, std::string* failure) {
  RecordCheck check(theme, path, failure);
  for (const char* key :
       {"id", "name", "progressStyle", "bubbleStyle", "fontFamily", "primaryColor", "secondaryColor", "ctaStyle"}) {
    check.optionalString(key);
  }
}

void checkMedia(const nlohmann::json& media, const std::string& path, std::string* failure) {
  RecordCheck check(media, path, failure);
  check.requiredString("mediaType");
  check.requiredString("mediaUrl");
  check.optionalInteger("durationSeconds");
}

void checkWidgetOption(const nlohmann::json& option, const std::string& path, std::string* failure) {
  RecordCheck check(option, path, failure);
  check.requiredUuid("id");
  check.requiredString("text");
  check.optionalString("emojiPrefix");
  check.requiredInteger("orderIndex");
  check.optionalBoolean("isCorrect");
  if (const auto* count = check.optionalInteger("voteCount"); count && count->get<std::int64_t>() < 0) {
    check.fail("voteCount", "must not be negative");
  }
}

void checkStoryItem(const nlohmann::json& item, const std::string& path, std::string* failure) {
  RecordCheck check(item, path, failure);
  check.requiredUuid("id");
  check.requiredString("type");
  for (const char* key :
       {"title", "bodyText", "ctaText", "ctaUrl", "widgetType", "widgetQuestion", "swipeCallbackUrl"}) {
    check.optionalString(key);
  }
  check.optionalInteger("durationSeconds");
  if (const auto* media = check.optionalObject("media")) checkMedia(*media, check.childPath("media"), failure);
  if (const auto* options = check.optionalArray("widgetOptions")) {
    for (std::size_t i = 0; i < options->size() && check.ok(); ++i) {
      checkWidgetOption((*options)[i], check.childPath("widgetOptions", i), failure);
    }
  }
  check.forbidden("userVote", "the service fills in each user's vote; leave it out of the content");
}

void checkBannerItem(const nlohmann::json& item, const std::string& path, std::string* failure) {
  RecordCheck check(item, path, failure);
  check.requiredInteger("id");
  check.optionalString("mediaAssetId");
  check.requiredString("mediaUrl");
  check.requiredInteger("orderIndex");
  check.optionalString("ctaType");
  check.optionalString("ctaUrl");
}

}  // namespace

bool isEventTypeName(std::string_view text) {
  if (text.empty() || text.size() > 64 || text.front() < 'A' || text.front() > 'Z') return false;
  for (char c : text) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return true;
}

Outcome<nlohmann::json> parseBodyObject(std::string_view body) {
  if (body.empty()) return Outcome<nlohmann::json>::failure("the body is empty; expected a JSON object");
  if (nestsTooDeep(body)) return Outcome<nlohmann::json>::failure("the body nests too deeply");
  nlohmann::json parsed;
  try {
    parsed = nlohmann::json::parse(body);
  } catch (const std::exception& error) {
    return Outcome<nlohmann::json>::failure(std::string("the body is not valid JSON: ") + error.what());
  }
  if (!parsed.is_object()) return Outcome<nlohmann::json>::failure("the body must be a JSON object");
  return parsed;
}

std::optional<std::string> checkSdkEventRequest(const nlohmann::json& body) {
  std::string failure;
  RecordCheck check(body, "", &failure);
  check.requiredText("appKey");
  check.requiredString("placementKey");
  checkEventType(check, "eventType");
  for (const char* key : {"storyGroupId", "storyItemId", "bannerId", "bannerItemId"}) check.optionalString(key);
  check.requiredText("anonymousUserId");
  check.requiredUuid("sessionId");
  check.requiredText("platform");
  check.requiredText("locale");
  check.requiredText("sdkVersion");
  check.requiredDateTime("occurredAt");
  check.requiredUuid("eventId");
  return result(failure);
}

std::optional<std::string> checkAnalyticsEventPayload(const nlohmann::json& body) {
  std::string failure;
  RecordCheck check(body, "", &failure);
  check.requiredString("placementKey");
  check.optionalString("storyGroupId");
  check.optionalString("storyItemId");
  checkEventType(check, "eventType");
  check.requiredText("devicePlatform");
  check.optionalString("userLanguage");
  check.optionalString("country");
  check.optionalUuid("deviceId");
  check.optionalUuid("sessionId");
  check.requiredDateTime("occurredAt");
  return result(failure);
}

std::optional<std::string> checkVoteRequest(const nlohmann::json& body) {
  std::string failure;
  RecordCheck check(body, "", &failure);
  check.requiredText("optionId");
  check.optionalString("appId");
  check.optionalString("bundleId");
  check.optionalString("userId");
  return result(failure);
}

void checkStoryGroupContent(const nlohmann::json& group, const std::string& path, std::string* failure) {
  RecordCheck check(group, path, failure);
  check.requiredUuid("id");
  check.requiredString("title");
  check.optionalInteger("priority");
  check.optionalString("startAt");
  check.optionalString("endAt");
  if (const auto* theme = check.optionalObject("theme")) checkTheme(*theme, check.childPath("theme"), failure);
  if (const auto* items = check.requiredArray("items")) {
    for (std::size_t i = 0; i < items->size() && check.ok(); ++i) {
      checkStoryItem((*items)[i], check.childPath("items", i), failure);
    }
  }
}

void checkBannerContent(const nlohmann::json& banner, const std::string& path, std::string* failure) {
  RecordCheck check(banner, path, failure);
  check.requiredInteger("id");
  check.requiredString("type");
  check.optionalString("placementKey");
  check.requiredInteger("viewOrder");
  check.optionalInteger("autoplaySeconds");
  // The four layout settings come under a plain name and under a name prefixed with "banner".
  for (const char* key :
       {"layoutMode", "aspectRatio", "contentMode", "bannerLayoutMode", "bannerAspectRatio", "bannerContentMode"}) {
    check.optionalString(key);
  }
  check.optionalInteger("fixedHeight");
  check.optionalInteger("bannerFixedHeight");
  if (const auto* items = check.requiredArray("items")) {
    for (std::size_t i = 0; i < items->size() && check.ok(); ++i) {
      checkBannerItem((*items)[i], check.childPath("items", i), failure);
    }
  }
}

}  // namespace quenmark::devserver
