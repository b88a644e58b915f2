#include "model/iso8601.h"

#include <date/date.h>

namespace quenmark {
namespace {

/// The value of `count` decimal digits at `at`, or -1 when one of them is not a digit.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool isOneOf(char c, char upper, char lower) { return c == upper || c == lower; }

}  // namespace

std::string formatIso8601(SystemTime time) {
  return date::format("%FT%TZ", std::chrono::floor<std::chrono::seconds>(time));
}

std::optional<SystemTime> parseIso8601(std::string_view text) {
  // RFC 3339 "date-time" without fractional seconds, so exactly one of two shapes:
  //   YYYY-MM-DDTHH:MM:SSZ        (20 characters)
  //   YYYY-MM-DDTHH:MM:SS+HH:MM   (25 characters, "+" or "-")
  // "T" and "Z" may be lower case. Every field has exactly two (the year four) digits.
  if (text.size() != 20 && text.size() != 25) return std::nullopt;
  if (text[4] != '-' || text[7] != '-' || !isOneOf(text[10], 'T', 't') || text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  const int year = digitsAt(text, 0, 4);
  const int month = digitsAt(text, 5, 2);
  const int day = digitsAt(text, 8, 2);
  const int hour = digitsAt(text, 11, 2);
  const int minute = digitsAt(text, 14, 2);
  const int second = digitsAt(text, 17, 2);
  if (year < 0 || month < 0 || day < 0 || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
      second > 60) {
    return std::nullopt;
  }
  int offsetMinutes = 0;
  if (text.size() == 20) {
    if (!isOneOf(text[19], 'Z', 'z')) return std::nullopt;
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

  // Seconds since the epoch hold every year from 0000 to 9999 without overflow.
  const date::sys_seconds utc = date::sys_days{ymd} + std::chrono::hours{hour} +
                                std::chrono::minutes{minute - offsetMinutes} + std::chrono::seconds{second};
  // A leap second can only be the last second of a UTC day; it is read as the midnight that follows it.
  if (second == 60 && utc != std::chrono::floor<date::days>(utc)) return std::nullopt;
  // The clock counts nanoseconds in 64 bits (about the years 1678 to 2261); a time outside that range is
  // refused rather than wrapped into another century.
  using Seconds = date::sys_seconds::duration;
  const auto earliest = std::chrono::ceil<Seconds>(SystemTime::min().time_since_epoch());
  const auto latest = std::chrono::floor<Seconds>(SystemTime::max().time_since_epoch());
  if (utc.time_since_epoch() < earliest || utc.time_since_epoch() > latest) return std::nullopt;
  return std::chrono::time_point_cast<SystemTime::duration>(utc);
}

}  // namespace quenmark
