#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

using SystemTime = std::chrono::system_clock::time_point;

/// Internet date-time in UTC with whole seconds: "2026-01-31T09:05:00Z".
std::string formatIso8601(SystemTime time);

/// Parses an internet date-time with seconds and a zone designator ("Z" or "+hh:mm"/"-hh:mm"), such as
/// "2025-03-01T10:15:30Z" or "2025-03-01T12:15:30+02:00". Fractional seconds and anything else are refused.
std::optional<SystemTime> parseIso8601(std::string_view text);

}  // namespace quenmark
