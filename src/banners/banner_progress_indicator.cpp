#include <quenmark/banners/banner_layout_constants.h>
#include <quenmark/banners/banner_progress_indicator.h>

namespace quenmark {

using namespace banner_layout;

std::vector<BannerDot> BannerProgressIndicator::dots() const {
  std::vector<BannerDot> result;
  if (count <= 0) return result;
  result.reserve(static_cast<std::size_t>(count));
  double x = kDotsHorizontalPadding;
  for (int index = 0; index < count; ++index) {
    const bool active = index == activeIndex;
    BannerDot dot;
    dot.x = x;
    dot.y = kDotsVerticalPadding;
    dot.width = active ? kDotActiveWidth : kDotInactiveWidth;
    dot.height = kDotHeight;
    dot.color = active ? kDotActiveColor : kDotInactiveColor;
    x += dot.width + kDotSpacing;
    result.push_back(dot);
  }
  return result;
}

double BannerProgressIndicator::width() const {
  double row = 0;
  if (count > 0) {
    const bool marksOne = activeIndex >= 0 && activeIndex < count;
    row = count * kDotInactiveWidth + (count - 1) * kDotSpacing;
    if (marksOne) row += kDotActiveWidth - kDotInactiveWidth;
  }
  return row + 2 * kDotsHorizontalPadding;
}

double BannerProgressIndicator::height() const { return kDotHeight + 2 * kDotsVerticalPadding; }

}  // namespace quenmark
