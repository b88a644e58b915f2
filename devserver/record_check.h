#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace quenmark::devserver {

/// True when `text` is the 8-4-4-4-12 hexadecimal UUID form (either letter case), nothing more.
bool isUuidText(std::string_view text);
/// `text` in lower case when it is a UUID text; `text` unchanged otherwise. Used to compare identifiers.
std::string identifierKey(std::string_view text);

/// True for an internet date-time with whole seconds and a zone designator: "2025-03-01T10:15:30Z" or
/// "2025-03-01T12:15:30+02:00". Fractional seconds, lower-case separators and impossible dates are refused.
bool isInternetDateTime(std::string_view text);
/// UTC with whole seconds and a "Z": "2026-01-31T09:05:00Z".
std::string formatUtc(std::chrono::system_clock::time_point time);

/// Checks the keys of one JSON object against the rules of a wire record and keeps the first rule that is
/// broken, with the key's path ("groups[0].items[2].id"). Keys the record does not list are ignored.
/// Optional keys may be missing or null; required keys must be present, non-null and of their type.
/// Every check after the first failure does nothing, so a record can be walked without early returns.
class RecordCheck {
 public:
  /// `path` names the object in messages ("" for the top level). A value that is not an object fails at once.
  RecordCheck(const nlohmann::json& value, std::string path, std::string* firstFailure);

  bool ok() const { return failure_->empty(); }
  /// Records `message` about `key` unless something failed already.
  void fail(std::string_view key, std::string_view message);

  /// Each returns the value when it is present and valid, nullptr when absent (optional) or on failure.
  const nlohmann::json* requiredString(std::string_view key) { return string(key, true); }
  const nlohmann::json* optionalString(std::string_view key) { return string(key, false); }
  /// A string that is not empty after trimming.
  const nlohmann::json* requiredText(std::string_view key);
  const nlohmann::json* requiredInteger(std::string_view key) { return integer(key, true); }
  const nlohmann::json* optionalInteger(std::string_view key) { return integer(key, false); }
  const nlohmann::json* optionalBoolean(std::string_view key);
  const nlohmann::json* requiredUuid(std::string_view key) { return uuid(key, true); }
  const nlohmann::json* optionalUuid(std::string_view key) { return uuid(key, false); }
  const nlohmann::json* requiredDateTime(std::string_view key) { return dateTime(key, true); }
  const nlohmann::json* optionalDateTime(std::string_view key) { return dateTime(key, false); }
  const nlohmann::json* requiredArray(std::string_view key) { return array(key, true); }
  const nlohmann::json* optionalArray(std::string_view key) { return array(key, false); }
  const nlohmann::json* optionalObject(std::string_view key);
  /// A key the record must not carry (fails when present and not null).
  void forbidden(std::string_view key, std::string_view reason);

  /// The path of a nested value: "items[3]" under this object's path.
  std::string childPath(std::string_view key, std::optional<std::size_t> index = std::nullopt) const;

 private:
  const nlohmann::json* find(std::string_view key, bool required);
  const nlohmann::json* string(std::string_view key, bool required);
  const nlohmann::json* integer(std::string_view key, bool required);
  const nlohmann::json* uuid(std::string_view key, bool required);
  const nlohmann::json* dateTime(std::string_view key, bool required);
  const nlohmann::json* array(std::string_view key, bool required);

  const nlohmann::json& value_;
  std::string path_;
  std::string* failure_;
};

/// Text of a JSON value for messages and logs; never throws (invalid UTF-8 is replaced).
std::string dumpJson(const nlohmann::json& value, int indent = -1);

}  // namespace quenmark::devserver
