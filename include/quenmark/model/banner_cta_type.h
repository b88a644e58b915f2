#pragma once

#include <quenmark/model/raw_value.h>

#include <optional>
#include <string_view>

namespace quenmark {

/// What a tap on a banner item does.
enum class BannerCtaType {
  externalURL,    ///< "EXTERNAL_URL"
  deepLink,       ///< "DEEP_LINK"
  internalRoute,  ///< "INTERNAL_ROUTE"
  customEvent,    ///< "CUSTOM_EVENT"
  none,           ///< "NONE"
};

/// The raw value of `value` ("EXTERNAL_URL", ...).
constexpr std::string_view rawValue(BannerCtaType value) noexcept {
  switch (value) {
    case BannerCtaType::externalURL: return "EXTERNAL_URL";
    case BannerCtaType::deepLink: return "DEEP_LINK";
    case BannerCtaType::internalRoute: return "INTERNAL_ROUTE";
    case BannerCtaType::customEvent: return "CUSTOM_EVENT";
    case BannerCtaType::none: return "NONE";
  }
  return {};
}

/// The case whose raw value is exactly `text` (case-sensitive); absent for any other text.
constexpr std::optional<BannerCtaType> bannerCtaTypeFromRawValue(std::string_view text) noexcept {
  if (text == "EXTERNAL_URL") return BannerCtaType::externalURL;
  if (text == "DEEP_LINK") return BannerCtaType::deepLink;
  if (text == "INTERNAL_ROUTE") return BannerCtaType::internalRoute;
  if (text == "CUSTOM_EVENT") return BannerCtaType::customEvent;
  if (text == "NONE") return BannerCtaType::none;
  return std::nullopt;
}

template <>
inline std::optional<BannerCtaType> fromRawValue<BannerCtaType>(std::string_view text) {
  return bannerCtaTypeFromRawValue(text);
}

}  // namespace quenmark
