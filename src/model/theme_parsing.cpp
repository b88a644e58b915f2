#include "model/theme_parsing.h"

#include "model/text_trimming.h"

#include <cstdint>
#include <string>

namespace quenmark {
namespace {

/// The upper-cased, trimmed text; absent when `text` is absent.
std::optional<std::string> normalisedKeyword(std::optional<std::string_view> text) {
  if (!text) return std::nullopt;
  return upperCasedForMatching(trimWhitespaceAndNewlines(*text));
}

int hexDigitValue(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

/// `digits` as a signed hexadecimal number: an optional "+" or "-", then at least one hex digit.
std::optional<std::int64_t> parseSignedHex(std::string_view digits) noexcept {
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.size() > 15) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    const int digit = hexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + digit;
  }
  return negative ? -value : value;
}

}  // namespace

ProgressStyle parseProgressStyle(std::optional<std::string_view> text) {
  const auto keyword = normalisedKeyword(text);
  if (keyword == "BAR") return ProgressStyle::bar;
  if (keyword == "SEGMENTED") return ProgressStyle::segmented;
  if (keyword == "NONE") return ProgressStyle::none;
  return StoryTheme::defaultTheme().progressStyle();
}

BubbleStyle parseBubbleStyle(std::optional<std::string_view> text) {
  const auto keyword = normalisedKeyword(text);
  if (keyword == "CIRCLE") return BubbleStyle::circle;
  if (keyword == "ROUNDED") return BubbleStyle::rounded;
  if (keyword == "SQUARE") return BubbleStyle::square;
  return StoryTheme::defaultTheme().bubbleStyle();
}

CtaStyle parseCtaStyle(std::optional<std::string_view> text) {
  const auto keyword = normalisedKeyword(text);
  if (keyword == "FILLED") return CtaStyle::filled;
  if (keyword == "OUTLINED") return CtaStyle::outlined;
  if (keyword == "TEXT") return CtaStyle::text;
  return StoryTheme::defaultTheme().ctaStyle();
}

Color parseColor(std::optional<std::string_view> text, const Color& fallback) {
  if (!text) return fallback;
  std::string_view hex = trimWhitespaceAndNewlines(*text);
  if (hex.empty()) return fallback;
  if (hex.front() == '#') hex.remove_prefix(1);
  // Every accepted character is ASCII, so anything else can be refused here; that also makes the
  // lengths below counts of characters rather than bytes.
  for (char c : hex) {
    if (static_cast<unsigned char>(c) >= 0x80) return fallback;
  }
  std::string digits;
  if (hex.size() == 3) {
    for (char c : hex) digits.append(2, c);
  } else {
    digits.assign(hex);
  }
  if (digits.size() != 6) return fallback;
  const auto value = parseSignedHex(digits);
  if (!value) return fallback;
  // A negative value gives its two's complement bits.
  const auto bits = static_cast<std::uint64_t>(*value);
  const auto channel = [bits](int shift) { return static_cast<double>((bits >> shift) & 0xFFu) / 255.0; };
  return Color{channel(16), channel(8), channel(0), 1.0};
}

std::optional<std::string> parseFontFamily(std::optional<std::string_view> text) {
  if (!text) return std::nullopt;
  const std::string_view trimmed = trimWhitespaceAndNewlines(*text);
  if (trimmed.empty()) return std::nullopt;
  return std::string(trimmed);
}

}  // namespace quenmark
