#pragma once

#include <quenmark/export.h>
#include <quenmark/model/banner.h>

#include <optional>
#include <utility>

namespace quenmark {

/// Sizes a banner card: the full available width, and a height that is either the banner's fixed height
/// or follows its aspect ratio.
struct QUENMARK_EXPORT BannerContentFrameModifier {
  explicit BannerContentFrameModifier(Banner bannerValue) : banner(std::move(bannerValue)) {}

  Banner banner;

  /// The fixed height in points when the banner uses the fixed-height layout with a height above 0;
  /// absent when the card follows its aspect ratio instead.
  std::optional<double> fixedHeight() const;

  /// The card's height for a slot `width` points wide: the fixed height when there is one, else
  /// width / `aspectRatio(banner)`. A width of 0 or less (or not a number) gives 0 unless the height is
  /// fixed.
  double height(double width) const;
};

}  // namespace quenmark
