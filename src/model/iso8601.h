#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

using SystemTime = std::chrono::system_clock::time_point;

/// Internet date-time in UTC with whole seconds: "2026-01-31T09:05:00Z".
std::string formatIso8601(SystemTime time);

/// Parses an internet date-time (RFC 3339) with whole seconds and a zone ("Z" or "+hh:mm"/"-hh:mm"), such as
/// "2025-03-01T10:15:30Z" or "2025-03-01T12:15:30+02:00" ("T" and "Z" may be lower case). Fractional
/// seconds, any other shape, and times the clock cannot hold (before 1677-09-22 or after 2262-04-11) are
/// refused.
std::optional<SystemTime> parseIso8601(std::string_view text);

}  // namespace quenmark
