#include "model/iso8601.h"

#include <date/date.h>

#include <sstream>

namespace quenmark {

std::string formatIso8601(SystemTime time) {
  return date::format("%FT%TZ", std::chrono::floor<std::chrono::seconds>(time));
}

std::optional<SystemTime> parseIso8601(std::string_view text) {
  // Fixed shape first: 19 characters of date and time, then "Z" or a "+hh:mm" offset.
  if (text.size() != 20 && text.size() != 25) return std::nullopt;
  if (text[10] != 'T' && text[10] != 't') return std::nullopt;
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
