#include <quenmark/banners/banner_content_frame_modifier.h>
#include <quenmark/banners/banner_ratio.h>

namespace quenmark {

std::optional<double> BannerContentFrameModifier::fixedHeight() const {
  if (banner.bannerLayoutMode() != BannerLayoutMode::fixedHeight) return std::nullopt;
  const auto height = banner.bannerFixedHeight();
  if (!height || *height <= 0) return std::nullopt;
  return static_cast<double>(*height);
}

double BannerContentFrameModifier::height(double width) const {
  if (auto fixed = fixedHeight()) return *fixed;
  if (!(width > 0)) return 0;
  return width / aspectRatio(banner);
}

}  // namespace quenmark
