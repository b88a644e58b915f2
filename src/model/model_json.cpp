#include <quenmark/model/model_json.h>

#include "model/iso8601.h"
#include "model/model_json_coding.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quenmark {
namespace {

using nlohmann::json;

/// Thrown inside this file only; every entry point turns it into an `Error`.
struct DecodeFailure {
  std::string description;
};

/// Reads the keys of one JSON object; `path` names the object in messages ("widgetOptions[1].").
class ObjectReader {
 public:
  ObjectReader(const json& object, std::string path) : object_(object), path_(std::move(path)) {
    if (!object_.is_object()) {
      fail(path_.empty() ? std::string("expected a JSON object") : "key \"" + parentName() + "\" is not an object");
    }
  }

  std::string requiredString(const char* key) const { return asString(key, required(key)); }
  std::optional<std::string> optionalString(const char* key) const {
    const json* value = optional(key);
    if (value == nullptr) return std::nullopt;
    return asString(key, *value);
  }

  std::int64_t requiredInteger(const char* key) const { return asInteger(key, required(key)); }
  std::optional<std::int64_t> optionalInteger(const char* key) const {
    const json* value = optional(key);
    if (value == nullptr) return std::nullopt;
    return asInteger(key, *value);
  }

  double requiredNumber(const char* key) const {
    const json& value = required(key);
    if (!value.is_number()) fail("key \"" + name(key) + "\" is not a number");
    return value.get<double>();
  }

  std::optional<bool> optionalBool(const char* key) const {
    const json* value = optional(key);
    if (value == nullptr) return std::nullopt;
    if (!value->is_boolean()) fail("key \"" + name(key) + "\" is not a boolean");
    return value->get<bool>();
  }

  Url requiredUrl(const char* key) const { return asUrl(key, asString(key, required(key))); }
  std::optional<Url> optionalUrl(const char* key) const {
    auto text = optionalString(key);
    if (!text) return std::nullopt;
    return asUrl(key, *text);
  }

  std::chrono::system_clock::time_point requiredDate(const char* key) const {
    const std::string text = requiredString(key);
    const auto time = parseIso8601(text);
    if (!time) fail("key \"" + name(key) + "\" is not an ISO 8601 date-time: \"" + text + "\"");
    return *time;
  }

  /// An enumeration read by its exact raw value.
  template <class E, class FromRaw>
  E requiredEnum(const char* key, FromRaw fromRaw) const {
    return asEnum<E>(key, requiredString(key), fromRaw);
  }
  template <class E, class FromRaw>
  std::optional<E> optionalEnum(const char* key, FromRaw fromRaw) const {
    auto text = optionalString(key);
    if (!text) return std::nullopt;
    return asEnum<E>(key, *text, fromRaw);
  }

  /// The elements of a required array, each read by `readElement(element, pathOfElement)`.
  template <class T, class ReadElement>
  std::vector<T> requiredArray(const char* key, ReadElement readElement) const {
    const json& value = required(key);
    if (!value.is_array()) fail("key \"" + name(key) + "\" is not an array");
    std::vector<T> out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
      out.push_back(readElement(value[i], name(key) + "[" + std::to_string(i) + "]."));
    }
    return out;
  }

  /// A nested object, present or absent, read by `readObject(object, pathOfObject)`.
  template <class ReadObject>
  auto optionalObject(const char* key, ReadObject readObject) const
      -> std::optional<decltype(readObject(std::declval<const json&>(), std::string()))> {
    const json* value = optional(key);
    if (value == nullptr) return std::nullopt;
    return readObject(*value, name(key) + ".");
  }

 private:
  [[noreturn]] static void fail(std::string description) { throw DecodeFailure{std::move(description)}; }

  std::string name(const char* key) const { return path_ + key; }
  /// The path of this object without its trailing ".".
  std::string parentName() const { return path_.substr(0, path_.size() - 1); }

  const json& required(const char* key) const {
    const auto found = object_.find(key);
    if (found == object_.end()) fail("missing required key \"" + name(key) + "\"");
    return *found;
  }

  /// The value of an optional key; null when missing or JSON null.
  const json* optional(const char* key) const {
    const auto found = object_.find(key);
    if (found == object_.end() || found->is_null()) return nullptr;
    return &*found;
  }

  std::string asString(const char* key, const json& value) const {
    if (!value.is_string()) fail("key \"" + name(key) + "\" is not a string");
    return value.get<std::string>();
  }

  std::int64_t asInteger(const char* key, const json& value) const {
    if (value.is_number_integer() && !value.is_number_unsigned()) return value.get<std::int64_t>();
    if (value.is_number_unsigned()) {
      const auto unsignedValue = value.get<std::uint64_t>();
      if (unsignedValue <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return static_cast<std::int64_t>(unsignedValue);
      }
      fail("key \"" + name(key) + "\" is out of range");
    }
    if (value.is_number_float()) {
      // 5.0 is read as 5; 5.5 and numbers beyond 64 bits are refused.
      const double number = value.get<double>();
      if (std::trunc(number) == number && number >= -9223372036854775808.0 && number < 9223372036854775808.0) {
        return static_cast<std::int64_t>(number);
      }
    }
    fail("key \"" + name(key) + "\" is not an integer");
  }

  Url asUrl(const char* key, const std::string& text) const {
    auto url = Url::parse(text);
    if (!url) fail("key \"" + name(key) + "\" is not an absolute URL: \"" + text + "\"");
    return *std::move(url);
  }

  template <class E, class FromRaw>
  E asEnum(const char* key, const std::string& text, FromRaw fromRaw) const {
    const std::optional<E> value = fromRaw(text);
    if (!value) fail("key \"" + name(key) + "\" has an unknown value \"" + text + "\"");
    return *value;
  }

  const json& object_;
  std::string path_;
};

WidgetOption readWidgetOption(const json& object, const std::string& path) {
  const ObjectReader in(object, path);
  // Read into locals so that the first fault reported is the first in key order (function arguments
  // are evaluated in an unspecified order).
  auto id = in.requiredString("id");
  auto text = in.requiredString("text");
  auto emojiPrefix = in.optionalString("emojiPrefix");
  const auto orderIndex = in.requiredInteger("orderIndex");
  const auto isCorrect = in.optionalBool("isCorrect");
  const auto voteCount = in.requiredInteger("voteCount");
  return WidgetOption(std::move(id), std::move(text), std::move(emojiPrefix), orderIndex, isCorrect, voteCount);
}

WidgetUserVote readWidgetUserVote(const json& object, const std::string& path) {
  const ObjectReader in(object, path);
  auto optionId = in.requiredString("optionId");
  const auto votedAt = in.requiredDate("votedAt");
  return WidgetUserVote(std::move(optionId), votedAt);
}

StoryItem readStoryItem(const json& object, const std::string& path) {
  const ObjectReader in(object, path);
  auto id = in.requiredString("id");
  auto title = in.optionalString("title");
  auto bodyText = in.optionalString("bodyText");
  auto mediaType = in.optionalEnum<StoryMediaType>("mediaType", storyMediaTypeFromRawValue);
  auto mediaURL = in.optionalUrl("mediaURL");
  const double duration = in.requiredNumber("duration");
  auto ctaTitle = in.optionalString("ctaTitle");
  auto ctaURL = in.optionalUrl("ctaURL");
  const auto widgetType = in.requiredEnum<WidgetType>("widgetType", widgetTypeFromRawValue);
  auto widgetQuestion = in.optionalString("widgetQuestion");
  auto swipeCallbackURL = in.optionalUrl("swipeCallbackURL");
  auto widgetOptions = in.requiredArray<WidgetOption>("widgetOptions", readWidgetOption);
  auto userVote = in.optionalObject("userVote", readWidgetUserVote);
  return StoryItem(std::move(id), std::move(title), std::move(bodyText), mediaType, std::move(mediaURL), duration,
                   std::move(ctaTitle), std::move(ctaURL), widgetType, std::move(widgetQuestion),
                   std::move(swipeCallbackURL), std::move(widgetOptions), std::move(userVote));
}

BannerItem readBannerItem(const json& object, const std::string& path) {
  const ObjectReader in(object, path);
  auto id = in.requiredString("id");
  auto mediaAssetId = in.optionalString("mediaAssetId");
  auto mediaURL = in.requiredUrl("mediaURL");
  const auto orderIndex = in.requiredInteger("orderIndex");
  const auto ctaType = in.requiredEnum<BannerCtaType>("ctaType", bannerCtaTypeFromRawValue);
  auto ctaURL = in.optionalUrl("ctaURL");
  return BannerItem(std::move(id), std::move(mediaAssetId), std::move(mediaURL), orderIndex, ctaType,
                    std::move(ctaURL));
}

Banner readBanner(const json& object, const std::string& path) {
  const ObjectReader in(object, path);
  auto id = in.requiredString("id");
  const auto type = in.requiredEnum<BannerType>("type", bannerTypeFromRawValue);
  auto placementKey = in.requiredString("placementKey");
  const auto viewOrder = in.requiredInteger("viewOrder");
  const auto autoplaySeconds = in.requiredInteger("autoplaySeconds");
  const auto layoutMode = in.requiredEnum<BannerLayoutMode>("bannerLayoutMode", bannerLayoutModeFromRawValue);
  auto aspectRatio = in.optionalString("bannerAspectRatio");
  const auto fixedHeight = in.optionalInteger("bannerFixedHeight");
  const auto contentMode = in.requiredEnum<BannerContentMode>("bannerContentMode", bannerContentModeFromRawValue);
  auto items = in.requiredArray<BannerItem>("items", readBannerItem);
  return Banner(std::move(id), type, std::move(placementKey), viewOrder, autoplaySeconds, layoutMode,
                std::move(aspectRatio), fixedHeight, contentMode, std::move(items));
}

/// Runs `read` on `object`, turning every failure into a decoding error that names `typeName`.
template <class T, class Read>
Result<T> decodeObject(const char* typeName, const json& object, Read read) {
  try {
    return read(object, std::string());
  } catch (const DecodeFailure& failure) {
    return Error{ErrorKind::decoding, std::string(typeName) + ": " + failure.description, 0};
  } catch (const std::exception& e) {
    return Error{ErrorKind::decoding, std::string(typeName) + ": " + e.what(), 0};
  }
}

template <class T, class Read>
Result<T> decodeText(const char* typeName, std::string_view text, Read read) {
  json parsed;
  try {
    parsed = json::parse(text.begin(), text.end());
  } catch (const std::exception& e) {
    return Error{ErrorKind::decoding, std::string(typeName) + ": invalid JSON: " + e.what(), 0};
  }
  return decodeObject<T>(typeName, parsed, read);
}

Result<std::string> encodeText(const char* typeName, const json& object) {
  try {
    return object.dump();
  } catch (const std::exception& e) {
    // Texts that are not valid UTF-8 cannot be written as JSON.
    return Error{ErrorKind::encoding, std::string(typeName) + ": " + e.what(), 0};
  }
}

void putOptional(json& object, const char* key, const std::optional<std::string>& value) {
  if (value) object[key] = *value;
}

void putOptional(json& object, const char* key, const std::optional<Url>& value) {
  if (value) object[key] = value->string();
}

}  // namespace

json toJson(const WidgetOption& option) {
  json object = json::object();
  object["id"] = option.id();
  object["text"] = option.text();
  putOptional(object, "emojiPrefix", option.emojiPrefix());
  object["orderIndex"] = option.orderIndex();
  if (option.isCorrect()) object["isCorrect"] = *option.isCorrect();
  object["voteCount"] = option.voteCount();
  return object;
}

json toJson(const WidgetUserVote& vote) {
  json object = json::object();
  object["optionId"] = vote.optionId();
  object["votedAt"] = formatIso8601(vote.votedAt());
  return object;
}

json toJson(const StoryItem& item) {
  json object = json::object();
  object["id"] = item.id();
  putOptional(object, "title", item.title());
  putOptional(object, "bodyText", item.bodyText());
  if (item.mediaType()) object["mediaType"] = rawValue(*item.mediaType());
  putOptional(object, "mediaURL", item.mediaURL());
  object["duration"] = item.duration();
  putOptional(object, "ctaTitle", item.ctaTitle());
  putOptional(object, "ctaURL", item.ctaURL());
  object["widgetType"] = rawValue(item.widgetType());
  putOptional(object, "widgetQuestion", item.widgetQuestion());
  putOptional(object, "swipeCallbackURL", item.swipeCallbackURL());
  json options = json::array();
  for (const auto& option : item.widgetOptions()) options.push_back(toJson(option));
  object["widgetOptions"] = std::move(options);
  if (item.userVote()) object["userVote"] = toJson(*item.userVote());
  return object;
}

json toJson(const BannerItem& item) {
  json object = json::object();
  object["id"] = item.id();
  putOptional(object, "mediaAssetId", item.mediaAssetId());
  object["mediaURL"] = item.mediaURL().string();
  object["orderIndex"] = item.orderIndex();
  object["ctaType"] = rawValue(item.ctaType());
  putOptional(object, "ctaURL", item.ctaURL());
  return object;
}

json toJson(const Banner& banner) {
  json object = json::object();
  object["id"] = banner.id();
  object["type"] = rawValue(banner.type());
  object["placementKey"] = banner.placementKey();
  object["viewOrder"] = banner.viewOrder();
  object["autoplaySeconds"] = banner.autoplaySeconds();
  object["bannerLayoutMode"] = rawValue(banner.bannerLayoutMode());
  putOptional(object, "bannerAspectRatio", banner.bannerAspectRatio());
  if (banner.bannerFixedHeight()) object["bannerFixedHeight"] = *banner.bannerFixedHeight();
  object["bannerContentMode"] = rawValue(banner.bannerContentMode());
  json items = json::array();
  for (const auto& item : banner.items()) items.push_back(toJson(item));
  object["items"] = std::move(items);
  return object;
}

Result<WidgetOption> widgetOptionFromJson(const json& object) {
  return decodeObject<WidgetOption>("WidgetOption", object, readWidgetOption);
}
Result<WidgetUserVote> widgetUserVoteFromJson(const json& object) {
  return decodeObject<WidgetUserVote>("WidgetUserVote", object, readWidgetUserVote);
}
Result<StoryItem> storyItemFromJson(const json& object) {
  return decodeObject<StoryItem>("StoryItem", object, readStoryItem);
}
Result<BannerItem> bannerItemFromJson(const json& object) {
  return decodeObject<BannerItem>("BannerItem", object, readBannerItem);
}
Result<Banner> bannerFromJson(const json& object) { return decodeObject<Banner>("Banner", object, readBanner); }

Result<std::string> encodeJson(const StoryItem& item) {
  // JSON has no form for NaN or infinity; such a duration would come back as null and be lost.
  if (!std::isfinite(item.duration())) {
    return Error{ErrorKind::encoding, "StoryItem: key \"duration\" is not a finite number", 0};
  }
  return encodeText("StoryItem", toJson(item));
}
Result<std::string> encodeJson(const WidgetOption& option) { return encodeText("WidgetOption", toJson(option)); }
Result<std::string> encodeJson(const WidgetUserVote& vote) { return encodeText("WidgetUserVote", toJson(vote)); }
Result<std::string> encodeJson(const Banner& banner) { return encodeText("Banner", toJson(banner)); }
Result<std::string> encodeJson(const BannerItem& item) { return encodeText("BannerItem", toJson(item)); }

Result<StoryItem> decodeStoryItemJson(std::string_view text) {
  return decodeText<StoryItem>("StoryItem", text, readStoryItem);
}
Result<WidgetOption> decodeWidgetOptionJson(std::string_view text) {
  return decodeText<WidgetOption>("WidgetOption", text, readWidgetOption);
}
Result<WidgetUserVote> decodeWidgetUserVoteJson(std::string_view text) {
  return decodeText<WidgetUserVote>("WidgetUserVote", text, readWidgetUserVote);
}
Result<Banner> decodeBannerJson(std::string_view text) { return decodeText<Banner>("Banner", text, readBanner); }
Result<BannerItem> decodeBannerItemJson(std::string_view text) {
  return decodeText<BannerItem>("BannerItem", text, readBannerItem);
}

}  // namespace quenmark
