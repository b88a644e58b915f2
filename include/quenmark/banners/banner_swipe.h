#pragma once

#include <quenmark/export.h>

namespace quenmark {

/// Where a finished horizontal drag on a banner card moves.
enum class BannerSwipe { none, next, previous };

namespace banner_gesture {
/// A drag is recognised once it has moved this far (points, in the card's coordinates); shorter
/// touches are taps.
inline constexpr double kMinimumDragDistance = 24;
/// A finished drag changes the item only when it moved further than this horizontally, and more
/// horizontally than vertically.
inline constexpr double kSwipeThreshold = 36;
}  // namespace banner_gesture

/// Classifies a finished drag by its total translation: further than 36 points across and more across
/// than down goes to the next item when it moved left (negative `dx`) and to the previous one otherwise;
/// anything else does nothing.
QUENMARK_EXPORT BannerSwipe bannerSwipe(double dx, double dy);

}  // namespace quenmark
