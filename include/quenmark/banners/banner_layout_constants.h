#pragma once

#include <quenmark/model/color.h>

namespace quenmark::banner_layout {

// Sizes are in points.

/// A drop shadow: colour, blur radius and offset (x across, y down).
struct Shadow {
  Color color;
  double radius;
  double offsetX;
  double offsetY;

  friend constexpr bool operator==(const Shadow&, const Shadow&) = default;
};

/// Card: rounded rectangle with continuous corners; the same shape receives taps and drags.
inline constexpr double kCardCornerRadius = 8;
/// Shown while the item's picture loads and after it fails: gray at opacity 0.14.
inline constexpr Color kPlaceholderFill{0.5, 0.5, 0.5, 0.14};
/// Width : height when a banner names no usable ratio.
inline constexpr double kDefaultAspectRatio = 16.0 / 9.0;
/// Width : height for a fixed-height banner without a usable height nor ratio (a square card).
inline constexpr double kFixedHeightFallbackAspectRatio = 1.0;

/// Dots (carousel banners).
inline constexpr double kDotSpacing = 5;
inline constexpr double kDotHeight = 5;
inline constexpr double kDotInactiveWidth = 5;
inline constexpr double kDotActiveWidth = 12;
inline constexpr Color kDotInactiveColor{1, 1, 1, 0.42};
inline constexpr Color kDotActiveColor{1, 1, 1, 0.95};
inline constexpr double kDotsHorizontalPadding = 7;
inline constexpr double kDotsVerticalPadding = 5;
/// Capsule behind the dot row.
inline constexpr Color kDotsBackground{0, 0, 0, 0.22};
inline constexpr Shadow kDotsShadow{Color{0, 0, 0, 0.12}, 3, 0, 1};
/// The dot row sits centred at the bottom of the card, this far above its bottom edge.
inline constexpr double kDotsBottomInset = 16;

/// Segments (story banners).
inline constexpr double kSegmentSpacing = 4;
inline constexpr double kSegmentHeight = 3;
inline constexpr Color kSegmentTrackColor{1, 1, 1, 0.34};
inline constexpr Color kSegmentFillColor{1, 1, 1, 0.96};
inline constexpr Shadow kSegmentsShadow{Color{0, 0, 0, 0.18}, 3, 0, 1};
/// The segment row spans the card's top, inset this far from the left, right and top edges.
inline constexpr double kSegmentsInset = 10;

}  // namespace quenmark::banner_layout
