#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

/// Language and optional second subtag of a locale identifier, as SDK events and analytics report it:
/// the first non-empty part before "@", "_" read as "-", the language (first 8 characters, lower-cased)
/// must be 2 to 8 ASCII letters, and the second subtag (upper-cased) is added when it is 2 to 8 ASCII
/// letters. "en_US" -> "en-US", "pt_BR@calendar=gregorian" -> "pt-BR", "zh-Hans_CN" -> "zh-HANS",
/// "es_419" -> "es"; absent when there is no usable language ("e", "1x", "").
std::optional<std::string> reportedLanguageTag(std::string_view localeIdentifier);

/// `reportedLanguageTag`, or "en" when it is absent.
std::string eventLocaleTagFor(std::string_view localeIdentifier);

/// The region code upper-cased when it is exactly two ASCII letters ("gb" -> "GB"); absent otherwise
/// ("419", none).
std::optional<std::string> analyticsCountryCodeFor(const std::optional<std::string>& regionCode);

}  // namespace quenmark
