#pragma once

#include <quenmark/model/raw_value.h>

#include <optional>
#include <string_view>

namespace quenmark {

/// How a banner's height is chosen. (`auto_` carries a trailing underscore because `auto` is a keyword.)
enum class BannerLayoutMode {
  auto_,        ///< "AUTO"
  aspectRatio,  ///< "ASPECT_RATIO"
  fixedHeight,  ///< "FIXED_HEIGHT"
};

/// The raw value of `value` ("AUTO", ...).
constexpr std::string_view rawValue(BannerLayoutMode value) noexcept {
  switch (value) {
    case BannerLayoutMode::auto_: return "AUTO";
    case BannerLayoutMode::aspectRatio: return "ASPECT_RATIO";
    case BannerLayoutMode::fixedHeight: return "FIXED_HEIGHT";
  }
  return {};
}

/// The case whose raw value is exactly `text` (case-sensitive); absent for any other text.
constexpr std::optional<BannerLayoutMode> bannerLayoutModeFromRawValue(std::string_view text) noexcept {
  if (text == "AUTO") return BannerLayoutMode::auto_;
  if (text == "ASPECT_RATIO") return BannerLayoutMode::aspectRatio;
  if (text == "FIXED_HEIGHT") return BannerLayoutMode::fixedHeight;
  return std::nullopt;
}

template <>
inline std::optional<BannerLayoutMode> fromRawValue<BannerLayoutMode>(std::string_view text) {
  return bannerLayoutModeFromRawValue(text);
}

}  // namespace quenmark
