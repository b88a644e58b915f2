#include "net/content_decoder.h"

#include "model/iso8601.h"
#include "model/uuid_text.h"

#include <simdjson.h>

#include <cmath>
#include <cstring>
#include <exception>
#include <variant>
#include <vector>

namespace quenmark {
namespace {

using simdjson::dom::array;
using simdjson::dom::element;
using simdjson::dom::element_type;
using simdjson::dom::object;

// Why and where decoding stopped. The path is collected while the failure unwinds (innermost segment
// first), so a successful decode pays nothing for it. Every function below returns false on failure
// after recording the problem; each enclosing level adds its key or index on the way out.
class Failure {
 public:
  bool fail(std::string problem) {
    problem_ = std::move(problem);
    return false;
  }
  bool at(std::string_view key) {
    segments_.emplace_back(std::string(key));
    return false;
  }
  bool at(std::size_t index) {
    segments_.emplace_back(index);
    return false;
  }
  bool missing(std::string_view key) {
    fail("required key is missing");
    return at(key);
  }

  std::string description() const {
    std::string path;
    for (auto it = segments_.rbegin(); it != segments_.rend(); ++it) {
      if (const auto* key = std::get_if<std::string>(&*it)) {
        if (!path.empty()) path += '.';
        path += *key;
      } else {
        path += '[' + std::to_string(std::get<std::size_t>(*it)) + ']';
      }
    }
    return (path.empty() ? std::string("top level") : path) + ": " + problem_;
  }

 private:
  std::string problem_;
  std::vector<std::variant<std::string, std::size_t>> segments_;
};

const char* typeName(element_type type) {
  switch (type) {
    case element_type::ARRAY: return "an array";
    case element_type::OBJECT: return "an object";
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE: return "a number";
    case element_type::STRING: return "a string";
    case element_type::BOOL: return "a boolean";
    case element_type::NULL_VALUE: return "null";
  }
  return "an unknown value";
}

bool expected(Failure& failure, const char* what, element value) {
  return failure.fail(std::string("expected ") + what + ", found " + typeName(value.type()));
}

// ---- Scalars ---------------------------------------------------------------------------------------

bool readString(element value, std::string& out, Failure& failure) {
  std::string_view text;
  if (value.get_string().get(text) != simdjson::SUCCESS) return expected(failure, "a string", value);
  out.assign(text.data(), text.size());
  return true;
}

// A JSON number holding a whole value that fits a signed 64-bit integer (17 and 17.0 alike).
bool readInt64(element value, std::int64_t& out, Failure& failure) {
  switch (value.type()) {
    case element_type::INT64:
      return value.get_int64().get(out) == simdjson::SUCCESS || failure.fail("expected an integer");
    case element_type::UINT64:
      return failure.fail("expected an integer in the signed 64-bit range");
    case element_type::DOUBLE: {
      double number = 0;
      if (value.get_double().get(number) != simdjson::SUCCESS) return failure.fail("expected an integer");
      // -2^63 is exact in a double; 2^63 is the first value beyond the range.
      if (std::isfinite(number) && std::trunc(number) == number && number >= -0x1p63 && number < 0x1p63) {
        out = static_cast<std::int64_t>(number);
        return true;
      }
      return failure.fail("expected an integer, found a fractional or out-of-range number");
    }
    default:
      return expected(failure, "an integer", value);
  }
}

bool readBool(element value, bool& out, Failure& failure) {
  if (value.get_bool().get(out) != simdjson::SUCCESS) return expected(failure, "a boolean", value);
  return true;
}

bool readUuid(element value, std::string& out, Failure& failure) {
  std::string_view text;
  if (value.get_string().get(text) == simdjson::SUCCESS) {
    if (auto canonical = canonicalUuid(text)) {
      out = std::move(*canonical);
      return true;
    }
  }
  return failure.fail("expected a UUID string");
}

bool readDate(element value, SystemTime& out, Failure& failure) {
  std::string_view text;
  if (value.get_string().get(text) == simdjson::SUCCESS) {
    if (auto parsed = parseIso8601(text)) {
      out = *parsed;
      return true;
    }
  }
  return failure.fail("expected an ISO 8601 date-time string with seconds and a zone");
}

// ---- Combinators -----------------------------------------------------------------------------------

template <class T>
using Reader = bool (*)(element, T&, Failure&);

// Missing and null are both absent; anything else must decode.
template <class T>
bool readOptional(element value, std::optional<T>& out, Failure& failure, Reader<T> read) {
  if (value.is_null()) {
    out.reset();
    return true;
  }
  return read(value, out.emplace(), failure);
}

template <class T, Reader<T> Read>
bool readArray(element value, std::vector<T>& out, Failure& failure) {
  array elements;
  if (value.get_array().get(elements) != simdjson::SUCCESS) return expected(failure, "an array", value);
  out.clear();
  out.reserve(elements.size());
  std::size_t index = 0;
  for (element entry : elements) {
    if (!Read(entry, out.emplace_back(), failure)) return failure.at(index);
    ++index;
  }
  return true;
}

bool asObject(element value, object& out, Failure& failure) {
  if (value.get_object().get(out) != simdjson::SUCCESS) return expected(failure, "an object", value);
  return true;
}

// ---- Story records ---------------------------------------------------------------------------------

bool readTheme(element value, SdkThemeResponse& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  for (auto field : fields) {
    const std::string_view key = field.key;
    std::optional<std::string>* target = nullptr;
    if (key == "progressStyle") target = &out.progressStyle;
    else if (key == "bubbleStyle") target = &out.bubbleStyle;
    else if (key == "primaryColor") target = &out.primaryColor;
    else if (key == "secondaryColor") target = &out.secondaryColor;
    else if (key == "ctaStyle") target = &out.ctaStyle;
    else if (key == "fontFamily") target = &out.fontFamily;
    else if (key == "id") target = &out.id;
    else if (key == "name") target = &out.name;
    if (target != nullptr && !readOptional<std::string>(field.value, *target, failure, readString)) {
      return failure.at(key);
    }
  }
  return true;
}

bool readMedia(element value, SdkMediaAssetPayload& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  bool hasType = false;
  bool hasUrl = false;
  for (auto field : fields) {
    const std::string_view key = field.key;
    bool ok = true;
    if (key == "mediaType") {
      ok = readString(field.value, out.mediaType, failure);
      hasType = true;
    } else if (key == "mediaUrl") {
      ok = readString(field.value, out.mediaUrl, failure);
      hasUrl = true;
    } else if (key == "durationSeconds") {
      ok = readOptional<std::int64_t>(field.value, out.durationSeconds, failure, readInt64);
    }
    if (!ok) return failure.at(key);
  }
  if (!hasType) return failure.missing("mediaType");
  if (!hasUrl) return failure.missing("mediaUrl");
  return true;
}

bool readOption(element value, SdkWidgetOptionPayload& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  bool hasId = false;
  bool hasText = false;
  bool hasOrderIndex = false;
  for (auto field : fields) {
    const std::string_view key = field.key;
    bool ok = true;
    if (key == "id") {
      ok = readUuid(field.value, out.id, failure);
      hasId = true;
    } else if (key == "text") {
      ok = readString(field.value, out.text, failure);
      hasText = true;
    } else if (key == "orderIndex") {
      ok = readInt64(field.value, out.orderIndex, failure);
      hasOrderIndex = true;
    } else if (key == "emojiPrefix") {
      ok = readOptional<std::string>(field.value, out.emojiPrefix, failure, readString);
    } else if (key == "isCorrect") {
      ok = readOptional<bool>(field.value, out.isCorrect, failure, readBool);
    } else if (key == "voteCount") {
      ok = readOptional<std::int64_t>(field.value, out.voteCount, failure, readInt64);
    }
    if (!ok) return failure.at(key);
  }
  if (!hasId) return failure.missing("id");
  if (!hasText) return failure.missing("text");
  if (!hasOrderIndex) return failure.missing("orderIndex");
  return true;
}

bool readUserVote(element value, SdkWidgetUserVotePayload& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  bool hasOptionId = false;
  for (auto field : fields) {
    const std::string_view key = field.key;
    bool ok = true;
    if (key == "optionId") {
      ok = readUuid(field.value, out.optionId, failure);
      hasOptionId = true;
    } else if (key == "votedAt") {
      ok = readOptional<SystemTime>(field.value, out.votedAt, failure, readDate);
    }
    if (!ok) return failure.at(key);
  }
  if (!hasOptionId) return failure.missing("optionId");
  return true;
}

// Items are the bulk of a stories body; their keys are told apart by length first, which keeps the
// dispatch to one jump and a comparison or two.
enum class ItemKey { unknown, id, type, title, bodyText, ctaText, ctaUrl, durationSeconds, media, widgetType,
                     widgetQuestion, swipeCallbackUrl, widgetOptions, userVote };

ItemKey itemKey(std::string_view key) {
  switch (key.size()) {
    case 2: return key == "id" ? ItemKey::id : ItemKey::unknown;
    case 4: return key == "type" ? ItemKey::type : ItemKey::unknown;
    case 5: return key == "title" ? ItemKey::title : key == "media" ? ItemKey::media : ItemKey::unknown;
    case 6: return key == "ctaUrl" ? ItemKey::ctaUrl : ItemKey::unknown;
    case 7: return key == "ctaText" ? ItemKey::ctaText : ItemKey::unknown;
    case 8: return key == "bodyText" ? ItemKey::bodyText : key == "userVote" ? ItemKey::userVote : ItemKey::unknown;
    case 10: return key == "widgetType" ? ItemKey::widgetType : ItemKey::unknown;
    case 13: return key == "widgetOptions" ? ItemKey::widgetOptions : ItemKey::unknown;
    case 14: return key == "widgetQuestion" ? ItemKey::widgetQuestion : ItemKey::unknown;
    case 15: return key == "durationSeconds" ? ItemKey::durationSeconds : ItemKey::unknown;
    case 16: return key == "swipeCallbackUrl" ? ItemKey::swipeCallbackUrl : ItemKey::unknown;
    default: return ItemKey::unknown;
  }
}

bool readItem(element value, SdkStoryItemPayload& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  bool hasId = false;
  bool hasType = false;
  for (auto field : fields) {
    const element entry = field.value;
    bool ok = true;
    switch (itemKey(field.key)) {
      case ItemKey::id:
        ok = readUuid(entry, out.id, failure);
        hasId = true;
        break;
      case ItemKey::type:
        ok = readString(entry, out.type, failure);
        hasType = true;
        break;
      case ItemKey::title: ok = readOptional<std::string>(entry, out.title, failure, readString); break;
      case ItemKey::bodyText: ok = readOptional<std::string>(entry, out.bodyText, failure, readString); break;
      case ItemKey::ctaText: ok = readOptional<std::string>(entry, out.ctaText, failure, readString); break;
      case ItemKey::ctaUrl: ok = readOptional<std::string>(entry, out.ctaUrl, failure, readString); break;
      case ItemKey::durationSeconds:
        ok = readOptional<std::int64_t>(entry, out.durationSeconds, failure, readInt64);
        break;
      case ItemKey::media: ok = readOptional<SdkMediaAssetPayload>(entry, out.media, failure, readMedia); break;
      case ItemKey::widgetType: ok = readOptional<std::string>(entry, out.widgetType, failure, readString); break;
      case ItemKey::widgetQuestion:
        ok = readOptional<std::string>(entry, out.widgetQuestion, failure, readString);
        break;
      case ItemKey::swipeCallbackUrl:
        ok = readOptional<std::string>(entry, out.swipeCallbackUrl, failure, readString);
        break;
      case ItemKey::widgetOptions:
        ok = readOptional<std::vector<SdkWidgetOptionPayload>>(entry, out.widgetOptions, failure,
                                                              readArray<SdkWidgetOptionPayload, readOption>);
        break;
      case ItemKey::userVote:
        ok = readOptional<SdkWidgetUserVotePayload>(entry, out.userVote, failure, readUserVote);
        break;
      case ItemKey::unknown: break;
    }
    if (!ok) return failure.at(field.key);
  }
  if (!hasId) return failure.missing("id");
  if (!hasType) return failure.missing("type");
  return true;
}

bool readGroup(element value, SdkStoryGroupPayload& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  bool hasId = false;
  bool hasTitle = false;
  bool hasItems = false;
  for (auto field : fields) {
    const std::string_view key = field.key;
    const element entry = field.value;
    bool ok = true;
    if (key == "id") {
      ok = readUuid(entry, out.id, failure);
      hasId = true;
    } else if (key == "title") {
      ok = readString(entry, out.title, failure);
      hasTitle = true;
    } else if (key == "items") {
      ok = readArray<SdkStoryItemPayload, readItem>(entry, out.items, failure);
      hasItems = true;
    } else if (key == "theme") {
      ok = readOptional<SdkThemeResponse>(entry, out.theme, failure, readTheme);
    } else if (key == "priority") {
      ok = readOptional<std::int64_t>(entry, out.priority, failure, readInt64);
    } else if (key == "startAt") {
      ok = readOptional<std::string>(entry, out.startAt, failure, readString);
    } else if (key == "endAt") {
      ok = readOptional<std::string>(entry, out.endAt, failure, readString);
    }
    if (!ok) return failure.at(key);
  }
  if (!hasId) return failure.missing("id");
  if (!hasTitle) return failure.missing("title");
  if (!hasItems) return failure.missing("items");
  return true;
}

bool readStories(element value, SdkStoriesPayload& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  bool hasGroups = false;
  for (auto field : fields) {
    if (field.key == "groups") {
      if (!readArray<SdkStoryGroupPayload, readGroup>(field.value, out.groups, failure)) return failure.at("groups");
      hasGroups = true;
    }
  }
  return hasGroups || failure.missing("groups");
}

// ---- Banner records --------------------------------------------------------------------------------

bool readBannerItem(element value, SdkBannerItemPayload& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  bool hasId = false;
  bool hasUrl = false;
  bool hasOrderIndex = false;
  for (auto field : fields) {
    const std::string_view key = field.key;
    const element entry = field.value;
    bool ok = true;
    if (key == "id") {
      ok = readInt64(entry, out.id, failure);
      hasId = true;
    } else if (key == "mediaUrl") {
      ok = readString(entry, out.mediaUrl, failure);
      hasUrl = true;
    } else if (key == "orderIndex") {
      ok = readInt64(entry, out.orderIndex, failure);
      hasOrderIndex = true;
    } else if (key == "mediaAssetId") {
      ok = readOptional<std::string>(entry, out.mediaAssetId, failure, readString);
    } else if (key == "ctaType") {
      ok = readOptional<std::string>(entry, out.ctaType, failure, readString);
    } else if (key == "ctaUrl") {
      ok = readOptional<std::string>(entry, out.ctaUrl, failure, readString);
    }
    if (!ok) return failure.at(key);
  }
  if (!hasId) return failure.missing("id");
  if (!hasUrl) return failure.missing("mediaUrl");
  if (!hasOrderIndex) return failure.missing("orderIndex");
  return true;
}

bool readBanner(element value, SdkBannerPayload& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  bool hasId = false;
  bool hasType = false;
  bool hasPlacementKey = false;
  bool hasViewOrder = false;
  bool hasItems = false;
  for (auto field : fields) {
    const std::string_view key = field.key;
    const element entry = field.value;
    bool ok = true;
    if (key == "id") {
      ok = readInt64(entry, out.id, failure);
      hasId = true;
    } else if (key == "type") {
      ok = readString(entry, out.type, failure);
      hasType = true;
    } else if (key == "placementKey") {
      ok = readString(entry, out.placementKey, failure);
      hasPlacementKey = true;
    } else if (key == "viewOrder") {
      ok = readInt64(entry, out.viewOrder, failure);
      hasViewOrder = true;
    } else if (key == "items") {
      ok = readArray<SdkBannerItemPayload, readBannerItem>(entry, out.items, failure);
      hasItems = true;
    } else if (key == "autoplaySeconds") {
      ok = readOptional<std::int64_t>(entry, out.autoplaySeconds, failure, readInt64);
    } else if (key == "layoutMode") {
      ok = readOptional<std::string>(entry, out.layoutMode, failure, readString);
    } else if (key == "aspectRatio") {
      ok = readOptional<std::string>(entry, out.aspectRatio, failure, readString);
    } else if (key == "fixedHeight") {
      ok = readOptional<std::int64_t>(entry, out.fixedHeight, failure, readInt64);
    } else if (key == "contentMode") {
      ok = readOptional<std::string>(entry, out.contentMode, failure, readString);
    } else if (key == "bannerLayoutMode") {
      ok = readOptional<std::string>(entry, out.bannerLayoutMode, failure, readString);
    } else if (key == "bannerAspectRatio") {
      ok = readOptional<std::string>(entry, out.bannerAspectRatio, failure, readString);
    } else if (key == "bannerFixedHeight") {
      ok = readOptional<std::int64_t>(entry, out.bannerFixedHeight, failure, readInt64);
    } else if (key == "bannerContentMode") {
      ok = readOptional<std::string>(entry, out.bannerContentMode, failure, readString);
    }
    if (!ok) return failure.at(key);
  }
  if (!hasId) return failure.missing("id");
  if (!hasType) return failure.missing("type");
  if (!hasPlacementKey) return failure.missing("placementKey");
  if (!hasViewOrder) return failure.missing("viewOrder");
  if (!hasItems) return failure.missing("items");
  return true;
}

bool readBanners(element value, SdkBannersPayload& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  bool hasBanners = false;
  for (auto field : fields) {
    if (field.key == "banners") {
      if (!readArray<SdkBannerPayload, readBanner>(field.value, out.banners, failure)) return failure.at("banners");
      hasBanners = true;
    }
  }
  return hasBanners || failure.missing("banners");
}

// ---- Vote response ---------------------------------------------------------------------------------

bool readVoteResponse(element value, VoteResponsePayload& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  bool hasVoted = false;
  for (auto field : fields) {
    const std::string_view key = field.key;
    bool ok = true;
    if (key == "voted") {
      ok = readBool(field.value, out.voted, failure);
      hasVoted = true;
    } else if (key == "optionId") {
      ok = readOptional<std::string>(field.value, out.optionId, failure, readString);
    } else if (key == "voteCount") {
      ok = readOptional<std::int64_t>(field.value, out.voteCount, failure, readInt64);
    }
    if (!ok) return failure.at(key);
  }
  return hasVoted || failure.missing("voted");
}

template <class T, Reader<T> Read>
Result<T> decodeBody(simdjson::dom::parser& parser, const char* padded, std::size_t size) {
  try {
    element root;
    if (auto error = parser.parse(padded, size, false).get(root); error != simdjson::SUCCESS) {
      return Error{ErrorKind::decoding, std::string("The body is not valid JSON: ") + simdjson::error_message(error), 0};
    }
    T payload;
    Failure failure;
    if (!Read(root, payload, failure)) return Error{ErrorKind::decoding, failure.description(), 0};
    return payload;
  } catch (const std::exception& exception) {
    // Only allocation failures can get here; the parser itself reports errors as codes.
    return Error{ErrorKind::decoding, std::string("Decoding failed: ") + exception.what(), 0};
  }
}

}  // namespace

ContentDecoder::ContentDecoder() : parser_(std::make_unique<simdjson::dom::parser>()) {}
ContentDecoder::~ContentDecoder() = default;

const char* ContentDecoder::padded(std::string_view body) {
  const std::size_t needed = body.size() + simdjson::SIMDJSON_PADDING;
  if (needed > paddedCapacity_) {
    padded_ = std::make_unique<char[]>(needed);
    paddedCapacity_ = needed;
  }
  std::memcpy(padded_.get(), body.data(), body.size());
  std::memset(padded_.get() + body.size(), 0, simdjson::SIMDJSON_PADDING);
  return padded_.get();
}

Result<SdkStoriesPayload> ContentDecoder::decodeStories(std::string_view body) {
  return decodeBody<SdkStoriesPayload, readStories>(*parser_, padded(body), body.size());
}

Result<SdkBannersPayload> ContentDecoder::decodeBanners(std::string_view body) {
  return decodeBody<SdkBannersPayload, readBanners>(*parser_, padded(body), body.size());
}

Result<VoteResponsePayload> ContentDecoder::decodeVoteResponse(std::string_view body) {
  return decodeBody<VoteResponsePayload, readVoteResponse>(*parser_, padded(body), body.size());
}

}  // namespace quenmark
