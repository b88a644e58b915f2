#include <quenmark/banners/banner_call_to_action.h>

namespace quenmark {

std::optional<Url> bannerCallToActionLink(const BannerItem& item) {
  switch (item.ctaType()) {
    case BannerCtaType::externalURL:
    case BannerCtaType::deepLink:
    case BannerCtaType::internalRoute: return item.ctaURL();
    case BannerCtaType::customEvent:
    case BannerCtaType::none: return std::nullopt;  // the host hears of the tap through its event handler only
  }
  return std::nullopt;
}

}  // namespace quenmark
