#include <quenmark/banners/banner_layout_constants.h>
#include <quenmark/banners/banner_story_progress_indicator.h>

#include <algorithm>

namespace quenmark {

using namespace banner_layout;

double BannerStoryProgressIndicator::fill(int index) const {
  if (index < activeIndex) return 1.0;
  if (index > activeIndex) return 0.0;
  return activeProgress > 0 ? std::min(activeProgress, 1.0) : 0.0;
}

std::vector<BannerSegment> BannerStoryProgressIndicator::segments(double rowWidth) const {
  std::vector<BannerSegment> result;
  if (count <= 0) return result;
  result.reserve(static_cast<std::size_t>(count));
  const double available = (rowWidth > 0 ? rowWidth : 0) - (count - 1) * kSegmentSpacing;
  const double width = std::max(0.0, available / count);
  for (int index = 0; index < count; ++index) {
    BannerSegment segment;
    segment.x = index * (width + kSegmentSpacing);
    segment.width = width;
    segment.fillWidth = width * fill(index);
    result.push_back(segment);
  }
  return result;
}

}  // namespace quenmark
