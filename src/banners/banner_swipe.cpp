#include <quenmark/banners/banner_swipe.h>

#include <cmath>

namespace quenmark {

BannerSwipe bannerSwipe(double dx, double dy) {
  const double across = std::abs(dx);
  if (!(across > banner_gesture::kSwipeThreshold) || !(across > std::abs(dy))) return BannerSwipe::none;
  return dx < 0 ? BannerSwipe::next : BannerSwipe::previous;
}

}  // namespace quenmark
