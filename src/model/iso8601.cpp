#include "model/iso8601.h"

#include <date/date.h>

#include <sstream>

namespace quenmark {
namespace {

int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// The shape the service writes, "2025-03-01T10:15:30Z" or "...+02:00", with every field in range, read
// without a stream, so that decoding a response full of recorded votes stays cheap. Anything else (texts
// that are merely unusual included) is left to the general parser below, which has the final word.
std::optional<SystemTime> parseCommonShape(std::string_view text) {
  if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':') return std::nullopt;
  const int year = digitsAt(text, 0, 4);
  const int month = digitsAt(text, 5, 2);
  const int day = digitsAt(text, 8, 2);
  const int hour = digitsAt(text, 11, 2);
  const int minute = digitsAt(text, 14, 2);
  const int second = digitsAt(text, 17, 2);
  if (year < 0 || month < 0 || day < 0 || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
      second > 59) {
    return std::nullopt;
  }
  int offsetMinutes = 0;
  if (text.size() == 20) {
    if (text[19] != 'Z') return std::nullopt;
  } else {
    if ((text[19] != '+' && text[19] != '-') || text[22] != ':') return std::nullopt;
    const int offsetHours = digitsAt(text, 20, 2);
    const int offsetRest = digitsAt(text, 23, 2);
    if (offsetHours < 0 || offsetHours > 23 || offsetRest < 0 || offsetRest > 59) return std::nullopt;
    offsetMinutes = (offsetHours * 60 + offsetRest) * (text[19] == '-' ? -1 : 1);
  }
  const date::year_month_day ymd{date::year{year}, date::month{static_cast<unsigned>(month)},
                                 date::day{static_cast<unsigned>(day)}};
  if (!ymd.ok()) return std::nullopt;
  return SystemTime{date::sys_days{ymd} + std::chrono::hours{hour} + std::chrono::minutes{minute - offsetMinutes} +
                    std::chrono::seconds{second}};
}

}  // namespace

std::string formatIso8601(SystemTime time) {
  return date::format("%FT%TZ", std::chrono::floor<std::chrono::seconds>(time));
}

std::optional<SystemTime> parseIso8601(std::string_view text) {
  // Fixed shape first: 19 characters of date and time, then "Z" or a "+hh:mm" offset.
  if (text.size() != 20 && text.size() != 25) return std::nullopt;
  if (text[10] != 'T' && text[10] != 't') return std::nullopt;
  if (auto common = parseCommonShape(text)) return common;
  std::istringstream in{std::string(text)};
  date::sys_seconds parsed;
  if (text.size() == 20) {
    if (text[19] != 'Z' && text[19] != 'z') return std::nullopt;
    in >> date::parse("%Y-%m-%dT%H:%M:%S", parsed);
  } else {
    std::chrono::minutes offset{};
    in >> date::parse("%Y-%m-%dT%H:%M:%S%Ez", parsed, offset);
  }
  if (in.fail()) return std::nullopt;
  return SystemTime{parsed};
}

}  // namespace quenmark
