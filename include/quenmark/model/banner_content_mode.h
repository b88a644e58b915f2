#pragma once

#include <quenmark/model/raw_value.h>

#include <optional>
#include <string_view>

namespace quenmark {

/// How media fills a banner's frame.
enum class BannerContentMode {
  cover,  ///< "COVER"
  fit,    ///< "FIT"
};

/// The raw value of `value` ("COVER", ...).
constexpr std::string_view rawValue(BannerContentMode value) noexcept {
  switch (value) {
    case BannerContentMode::cover: return "COVER";
    case BannerContentMode::fit: return "FIT";
  }
  return {};
}

/// The case whose raw value is exactly `text` (case-sensitive); absent for any other text.
constexpr std::optional<BannerContentMode> bannerContentModeFromRawValue(std::string_view text) noexcept {
  if (text == "COVER") return BannerContentMode::cover;
  if (text == "FIT") return BannerContentMode::fit;
  return std::nullopt;
}

template <>
inline std::optional<BannerContentMode> fromRawValue<BannerContentMode>(std::string_view text) {
  return bannerContentModeFromRawValue(text);
}

}  // namespace quenmark
