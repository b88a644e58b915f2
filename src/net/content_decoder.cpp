#include "net/content_decoder.h"

#include "model/iso8601.h"
#include "model/uuid_text.h"

#include <simdjson.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
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
    case element_type::UINT64: return failure.fail("expected an integer in the signed 64-bit range");
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
    default: return expected(failure, "an integer", value);
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
template <class T, Reader<T> Read>
bool readOptional(element value, std::optional<T>& out, Failure& failure) {
  if (value.is_null()) {
    out.reset();
    return true;
  }
  return Read(value, out.emplace(), failure);
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

// ---- Records ---------------------------------------------------------------------------------------
//
// Every record is read the same way: its keys are looked up in the record's table (`Keys<Record>`
// below), each known key is read into its member, unknown keys are skipped, and a key whose member is
// not optional must be present. A missing required key is reported in table order.

template <class Record>
struct Keys;

template <class Record>
bool readRecord(element value, Record& out, Failure& failure);

// The reader a member type gets unless its table names another (UUIDs and dates are strings on the wire).
template <class T>
struct DefaultReader {
  static constexpr Reader<T> read = readRecord<T>;
};
template <>
struct DefaultReader<std::string> {
  static constexpr Reader<std::string> read = readString;
};
template <>
struct DefaultReader<std::int64_t> {
  static constexpr Reader<std::int64_t> read = readInt64;
};
template <>
struct DefaultReader<bool> {
  static constexpr Reader<bool> read = readBool;
};
template <class T>
struct DefaultReader<std::optional<T>> {
  static constexpr Reader<std::optional<T>> read = readOptional<T, DefaultReader<T>::read>;
};
template <class T>
struct DefaultReader<std::vector<T>> {
  static constexpr Reader<std::vector<T>> read = readArray<T, DefaultReader<T>::read>;
};

template <class MemberPointer>
struct MemberOf;
template <class Record, class T>
struct MemberOf<T Record::*> {
  using RecordType = Record;
  using Type = T;
  static constexpr bool required = true;
};
template <class Record, class T>
struct MemberOf<std::optional<T> Record::*> {
  using RecordType = Record;
  using Type = std::optional<T>;
  static constexpr bool required = false;
};

template <class Record>
struct Key {
  std::string_view name;
  bool (*read)(element, Record&, Failure&);
  bool required;
};

template <auto Member, Reader<typename MemberOf<decltype(Member)>::Type> Read>
bool readMember(element value, typename MemberOf<decltype(Member)>::RecordType& out, Failure& failure) {
  return Read(value, out.*Member, failure);
}

// One table row: `name` is read into `Member` with `Read`.
template <auto Member, Reader<typename MemberOf<decltype(Member)>::Type> Read =
                           DefaultReader<typename MemberOf<decltype(Member)>::Type>::read>
constexpr Key<typename MemberOf<decltype(Member)>::RecordType> key(std::string_view name) {
  return {name, readMember<Member, Read>, MemberOf<decltype(Member)>::required};
}

template <class Record>
bool readRecord(element value, Record& out, Failure& failure) {
  object fields;
  if (!asObject(value, fields, failure)) return false;
  constexpr auto& keys = Keys<Record>::list;
  static_assert(std::size(keys) <= 32, "presence is tracked in one 32-bit mask");
  std::uint32_t seen = 0;
  for (auto field : fields) {
    const std::string_view name = field.key;
    for (std::size_t i = 0; i < std::size(keys); ++i) {
      if (keys[i].name != name) continue;
      if (!keys[i].read(field.value, out, failure)) return failure.at(name);
      seen |= std::uint32_t{1} << i;
      break;
    }
  }
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    if (keys[i].required && (seen & (std::uint32_t{1} << i)) == 0) return failure.missing(keys[i].name);
  }
  return true;
}

// Leaf records come first: a table may only name records whose tables are already complete.

template <>
struct Keys<SdkThemeResponse> {
  using R = SdkThemeResponse;
  static constexpr Key<R> list[] = {
      key<&R::progressStyle>("progressStyle"),
      key<&R::bubbleStyle>("bubbleStyle"),
      key<&R::primaryColor>("primaryColor"),
      key<&R::secondaryColor>("secondaryColor"),
      key<&R::ctaStyle>("ctaStyle"),
      key<&R::fontFamily>("fontFamily"),
      key<&R::id>("id"),
      key<&R::name>("name"),
  };
};

template <>
struct Keys<SdkMediaAssetPayload> {
  using R = SdkMediaAssetPayload;
  static constexpr Key<R> list[] = {
      key<&R::mediaType>("mediaType"),
      key<&R::mediaUrl>("mediaUrl"),
      key<&R::durationSeconds>("durationSeconds"),
  };
};

template <>
struct Keys<SdkWidgetOptionPayload> {
  using R = SdkWidgetOptionPayload;
  static constexpr Key<R> list[] = {
      key<&R::id, readUuid>("id"),         key<&R::text>("text"),           key<&R::orderIndex>("orderIndex"),
      key<&R::emojiPrefix>("emojiPrefix"), key<&R::isCorrect>("isCorrect"), key<&R::voteCount>("voteCount"),
  };
};

template <>
struct Keys<SdkWidgetUserVotePayload> {
  using R = SdkWidgetUserVotePayload;
  static constexpr Key<R> list[] = {
      key<&R::optionId, readUuid>("optionId"),
      key<&R::votedAt, readOptional<SystemTime, readDate>>("votedAt"),
  };
};

// Items are the bulk of a stories body; their most frequent keys come first.
template <>
struct Keys<SdkStoryItemPayload> {
  using R = SdkStoryItemPayload;
  static constexpr Key<R> list[] = {
      key<&R::id, readUuid>("id"),
      key<&R::type>("type"),
      key<&R::title>("title"),
      key<&R::bodyText>("bodyText"),
      key<&R::media>("media"),
      key<&R::widgetType>("widgetType"),
      key<&R::widgetOptions>("widgetOptions"),
      key<&R::ctaText>("ctaText"),
      key<&R::ctaUrl>("ctaUrl"),
      key<&R::durationSeconds>("durationSeconds"),
      key<&R::widgetQuestion>("widgetQuestion"),
      key<&R::swipeCallbackUrl>("swipeCallbackUrl"),
      key<&R::userVote>("userVote"),
  };
};

template <>
struct Keys<SdkStoryGroupPayload> {
  using R = SdkStoryGroupPayload;
  static constexpr Key<R> list[] = {
      key<&R::id, readUuid>("id"),   key<&R::title>("title"),     key<&R::items>("items"), key<&R::theme>("theme"),
      key<&R::priority>("priority"), key<&R::startAt>("startAt"), key<&R::endAt>("endAt"),
  };
};

template <>
struct Keys<SdkStoriesPayload> {
  static constexpr Key<SdkStoriesPayload> list[] = {key<&SdkStoriesPayload::groups>("groups")};
};

template <>
struct Keys<SdkBannerItemPayload> {
  using R = SdkBannerItemPayload;
  static constexpr Key<R> list[] = {
      key<&R::id>("id"),
      key<&R::mediaUrl>("mediaUrl"),
      key<&R::orderIndex>("orderIndex"),
      key<&R::mediaAssetId>("mediaAssetId"),
      key<&R::ctaType>("ctaType"),
      key<&R::ctaUrl>("ctaUrl"),
  };
};

template <>
struct Keys<SdkBannerPayload> {
  using R = SdkBannerPayload;
  static constexpr Key<R> list[] = {
      key<&R::id>("id"),
      key<&R::type>("type"),
      key<&R::placementKey>("placementKey"),
      key<&R::viewOrder>("viewOrder"),
      key<&R::items>("items"),
      key<&R::autoplaySeconds>("autoplaySeconds"),
      key<&R::layoutMode>("layoutMode"),
      key<&R::aspectRatio>("aspectRatio"),
      key<&R::fixedHeight>("fixedHeight"),
      key<&R::contentMode>("contentMode"),
      key<&R::bannerLayoutMode>("bannerLayoutMode"),
      key<&R::bannerAspectRatio>("bannerAspectRatio"),
      key<&R::bannerFixedHeight>("bannerFixedHeight"),
      key<&R::bannerContentMode>("bannerContentMode"),
  };
};

template <>
struct Keys<SdkBannersPayload> {
  static constexpr Key<SdkBannersPayload> list[] = {key<&SdkBannersPayload::banners>("banners")};
};

// The option id of a vote response is plain text, not read as a UUID.
template <>
struct Keys<VoteResponsePayload> {
  using R = VoteResponsePayload;
  static constexpr Key<R> list[] = {
      key<&R::voted>("voted"),
      key<&R::optionId>("optionId"),
      key<&R::voteCount>("voteCount"),
  };
};

// ---- Numbers the parser cannot hold ----------------------------------------------------------------
//
// JSON sets no bound on numbers, but the parser refuses the whole body over an integer beyond 64 bits or a
// decimal beyond a double, although such a number may sit under a key that no record reads. The records
// read numbers only as 64-bit integers, which none of these numbers is; so each is rewritten as a number
// that every reader refuses just the same (out of range, with the error's path) and that unread keys ignore.

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// JSON's number grammar: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(std::string_view token) {
  std::size_t i = 0;
  auto digits = [&] {
    const std::size_t start = i;
    while (i < token.size() && isDigit(token[i])) ++i;
    return i > start;
  };
  if (i < token.size() && token[i] == '-') ++i;
  if (i < token.size() && token[i] == '0') {
    ++i;
  } else if (!digits()) {
    return false;
  }
  if (i < token.size() && token[i] == '.' && (++i, !digits())) return false;
  if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
    ++i;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
    if (!digits()) return false;
  }
  return i == token.size();
}

// `body` with every well-formed number that `parser` cannot hold replaced by 1e300 of the same sign;
// nothing when there is no such number. Text inside strings is left alone; anything malformed is kept
// as it is, for the parser to refuse.
std::optional<std::string> withUnholdableNumbersReplaced(std::string_view body, simdjson::dom::parser& parser) {
  std::string out;
  out.reserve(body.size());
  bool replaced = false;
  std::size_t i = 0;
  while (i < body.size()) {
    const char c = body[i];
    if (c == '"') {
      std::size_t end = i + 1;
      while (end < body.size() && body[end] != '"') end += body[end] == '\\' ? 2 : 1;
      end = std::min(end + 1, body.size());
      out.append(body.substr(i, end - i));
      i = end;
    } else if (c == '-' || isDigit(c)) {
      std::size_t end = i + 1;
      while (end < body.size() &&
             (isDigit(body[end]) || std::string_view("+-.eE").find(body[end]) != std::string_view::npos))
        ++end;
      const std::string_view token = body.substr(i, end - i);
      // Up to 19 characters without an exponent always fit; only longer numbers are put to the parser.
      const bool mayNotFit = token.size() > 19 || token.find_first_of("eE") != std::string_view::npos;
      if (mayNotFit && isJsonNumber(token) && parser.parse(std::string(token)).error() == simdjson::NUMBER_ERROR) {
        out.append(c == '-' ? "-1e300" : "1e300");
        replaced = true;
      } else {
        out.append(token);
      }
      i = end;
    } else {
      out.push_back(c);
      ++i;
    }
  }
  if (!replaced) return std::nullopt;
  return out;
}

simdjson::error_code parseBody(simdjson::dom::parser& parser, const char* padded, std::size_t size, element& root) {
  const auto error = parser.parse(padded, size, false).get(root);
  if (error != simdjson::NUMBER_ERROR) return error;
  const auto rewritten = withUnholdableNumbersReplaced(std::string_view(padded, size), parser);
  if (!rewritten) return error;
  // The document keeps no reference to its input, so the rewritten text may go once it is parsed.
  return parser.parse(simdjson::padded_string(*rewritten)).get(root);
}

template <class T, Reader<T> Read>
Result<T> decodeBody(simdjson::dom::parser& parser, const char* padded, std::size_t size) {
  try {
    element root;
    if (auto error = parseBody(parser, padded, size, root); error != simdjson::SUCCESS) {
      return Error{ErrorKind::decoding, std::string("The body is not valid JSON: ") + simdjson::error_message(error),
                   0};
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
  return decodeBody<SdkStoriesPayload, readRecord<SdkStoriesPayload>>(*parser_, padded(body), body.size());
}

Result<SdkBannersPayload> ContentDecoder::decodeBanners(std::string_view body) {
  return decodeBody<SdkBannersPayload, readRecord<SdkBannersPayload>>(*parser_, padded(body), body.size());
}

Result<VoteResponsePayload> ContentDecoder::decodeVoteResponse(std::string_view body) {
  return decodeBody<VoteResponsePayload, readRecord<VoteResponsePayload>>(*parser_, padded(body), body.size());
}

}  // namespace quenmark
