#pragma once

#include <quenmark/model/raw_value.h>

#include <optional>
#include <string_view>

namespace quenmark {

/// Kind of banner. (`static_` carries a trailing underscore because `static` is a keyword.)
enum class BannerType {
  static_,   ///< "STATIC"
  carousel,  ///< "CAROUSEL"
  story,     ///< "STORY"
};

/// The raw value of `value` ("STATIC", ...).
constexpr std::string_view rawValue(BannerType value) noexcept {
  switch (value) {
    case BannerType::static_: return "STATIC";
    case BannerType::carousel: return "CAROUSEL";
    case BannerType::story: return "STORY";
  }
  return {};
}

/// The case whose raw value is exactly `text` (case-sensitive); absent for any other text.
constexpr std::optional<BannerType> bannerTypeFromRawValue(std::string_view text) noexcept {
  if (text == "STATIC") return BannerType::static_;
  if (text == "CAROUSEL") return BannerType::carousel;
  if (text == "STORY") return BannerType::story;
  return std::nullopt;
}

template <>
inline std::optional<BannerType> fromRawValue<BannerType>(std::string_view text) {
  return bannerTypeFromRawValue(text);
}

}  // namespace quenmark
