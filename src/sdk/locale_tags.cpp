#include "sdk/locale_tags.h"

#include <algorithm>
#include <vector>

namespace quenmark {
namespace {

bool isAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
bool isAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }

std::string asciiLowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (isAsciiUpper(c)) c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string asciiUppered(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (isAsciiLower(c)) c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

/// The parts of `text` between `separator`s, without empty ones.
std::vector<std::string_view> nonEmptyParts(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool allOf(std::string_view text, std::size_t minLength, std::size_t maxLength, bool (*accept)(char)) {
  return text.size() >= minLength && text.size() <= maxLength && std::all_of(text.begin(), text.end(), accept);
}

}  // namespace

std::optional<std::string> reportedLanguageTag(std::string_view localeIdentifier) {
  // The part before "@" (keywords such as "@calendar=gregorian" are dropped); empty parts do not count.
  auto atParts = nonEmptyParts(localeIdentifier, '@');
  std::string base(atParts.empty() ? localeIdentifier : atParts.front());
  std::replace(base.begin(), base.end(), '_', '-');

  auto subtags = nonEmptyParts(base, '-');
  if (subtags.empty()) return std::nullopt;

  std::string language = asciiLowered(subtags[0].substr(0, 8));
  if (!allOf(language, 2, 8, isAsciiLower)) return std::nullopt;
  if (subtags.size() >= 2) {
    std::string second = asciiUppered(subtags[1]);
    if (allOf(second, 2, 8, isAsciiUpper)) return language + "-" + second;
  }
  return language;
}

std::string eventLocaleTagFor(std::string_view localeIdentifier) {
  return reportedLanguageTag(localeIdentifier).value_or("en");
}

std::optional<std::string> analyticsCountryCodeFor(const std::optional<std::string>& regionCode) {
  if (!regionCode) return std::nullopt;
  std::string code = asciiUppered(*regionCode);
  if (!allOf(code, 2, 2, isAsciiUpper)) return std::nullopt;
  return code;
}

}  // namespace quenmark
