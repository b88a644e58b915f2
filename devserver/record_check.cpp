#include "devserver/record_check.h"

#include <cctype>
#include <ctime>
#include <limits>

namespace quenmark::devserver {
namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<int> digits(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (!isDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

int daysInMonth(int year, int month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2) {
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 29 : 28;
  }
  return days[month - 1];
}

bool isBlank(const std::string& text) {
  for (char c : text) {
    if (!std::isspace(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

bool isUuidText(std::string_view text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? text[i] != '-' : !isHex(text[i])) return false;
  }
  return true;
}

std::string identifierKey(std::string_view text) {
  std::string key(text);
  if (isUuidText(text)) {
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return key;
}

bool isInternetDateTime(std::string_view text) {
  if (text.size() != 20 && text.size() != 25) return false;
  if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':') return false;
  auto year = digits(text, 0, 4);
  auto month = digits(text, 5, 2);
  auto day = digits(text, 8, 2);
  auto hour = digits(text, 11, 2);
  auto minute = digits(text, 14, 2);
  auto second = digits(text, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second) return false;
  if (*year < 1 || *month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month)) return false;
  if (*hour > 23 || *minute > 59 || *second > 59) return false;
  if (text.size() == 20) return text[19] == 'Z';
  if (text[19] != '+' && text[19] != '-') return false;
  if (text[22] != ':') return false;
  auto offsetHour = digits(text, 20, 2);
  auto offsetMinute = digits(text, 23, 2);
  return offsetHour && offsetMinute && *offsetHour <= 23 && *offsetMinute <= 59;
}

std::string formatUtc(std::chrono::system_clock::time_point time) {
  std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  std::tm parts{};
  gmtime_r(&seconds, &parts);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return buffer;
}

RecordCheck::RecordCheck(const nlohmann::json& value, std::string path, std::string* firstFailure)
    : value_(value), path_(std::move(path)), failure_(firstFailure) {
  if (ok() && !value_.is_object()) {
    *failure_ = (path_.empty() ? std::string("body") : path_) + ": expected a JSON object";
  }
}

void RecordCheck::fail(std::string_view key, std::string_view message) {
  if (!ok()) return;
  *failure_ = childPath(key) + ": " + std::string(message);
}

std::string RecordCheck::childPath(std::string_view key, std::optional<std::size_t> index) const {
  std::string path = path_.empty() ? std::string(key) : path_ + "." + std::string(key);
  if (index) path += "[" + std::to_string(*index) + "]";
  return path;
}

const nlohmann::json* RecordCheck::find(std::string_view key, bool required) {
  if (!ok()) return nullptr;
  auto it = value_.find(key);
  if (it == value_.end() || it->is_null()) {
    if (required) fail(key, "required key is missing or null");
    return nullptr;
  }
  return &*it;
}

const nlohmann::json* RecordCheck::string(std::string_view key, bool required) {
  const nlohmann::json* found = find(key, required);
  if (found && !found->is_string()) {
    fail(key, "expected a string");
    return nullptr;
  }
  return found;
}

const nlohmann::json* RecordCheck::requiredText(std::string_view key) {
  const nlohmann::json* found = string(key, true);
  if (found && isBlank(found->get_ref<const std::string&>())) {
    fail(key, "must not be empty");
    return nullptr;
  }
  return found;
}

const nlohmann::json* RecordCheck::integer(std::string_view key, bool required) {
  const nlohmann::json* found = find(key, required);
  if (!found) return nullptr;
  bool fits = found->is_number_integer() &&
              (!found->is_number_unsigned() ||
               found->get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()));
  if (!fits) {
    fail(key, "expected a whole number that fits in 64 bits");
    return nullptr;
  }
  return found;
}

const nlohmann::json* RecordCheck::optionalBoolean(std::string_view key) {
  const nlohmann::json* found = find(key, false);
  if (found && !found->is_boolean()) {
    fail(key, "expected true or false");
    return nullptr;
  }
  return found;
}

const nlohmann::json* RecordCheck::uuid(std::string_view key, bool required) {
  const nlohmann::json* found = string(key, required);
  if (found && !isUuidText(found->get_ref<const std::string&>())) {
    fail(key, "expected a UUID text (8-4-4-4-12 hexadecimal digits)");
    return nullptr;
  }
  return found;
}

const nlohmann::json* RecordCheck::dateTime(std::string_view key, bool required) {
  const nlohmann::json* found = string(key, required);
  if (found && !isInternetDateTime(found->get_ref<const std::string&>())) {
    fail(key, "expected an ISO 8601 date-time with whole seconds and a zone, such as 2025-03-01T10:15:30Z");
    return nullptr;
  }
  return found;
}

const nlohmann::json* RecordCheck::array(std::string_view key, bool required) {
  const nlohmann::json* found = find(key, required);
  if (found && !found->is_array()) {
    fail(key, "expected an array");
    return nullptr;
  }
  return found;
}

const nlohmann::json* RecordCheck::optionalObject(std::string_view key) {
  const nlohmann::json* found = find(key, false);
  if (found && !found->is_object()) {
    fail(key, "expected a JSON object");
    return nullptr;
  }
  return found;
}

void RecordCheck::forbidden(std::string_view key, std::string_view reason) {
  if (!ok()) return;
  auto it = value_.find(key);
  if (it != value_.end() && !it->is_null()) fail(key, reason);
}

std::string dumpJson(const nlohmann::json& value, int indent) {
  return value.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace quenmark::devserver
