#include <quenmark/stories/story_bar_layout.h>

#include <algorithm>

namespace quenmark {

double storyBarHeight(std::size_t groupCount) noexcept { return groupCount == 0 ? 0 : story_bar_layout::kBarHeight; }

double storyBubbleCornerRadius(BubbleStyle style, double bubbleSize) noexcept {
  const double half = std::max(0.0, bubbleSize) / 2;
  switch (style) {
    case BubbleStyle::circle: return half;
    case BubbleStyle::rounded: return std::min(story_bar_layout::kRoundedCornerRadius, half);
    case BubbleStyle::square: return 0;
  }
  return half;
}

StoryBubbleRing storyBubbleRing(const StoryTheme& theme, double bubbleSize) noexcept {
  const double side = std::max(0.0, bubbleSize);
  const double line = story_bar_layout::kRingWidth;
  const double radius = storyBubbleCornerRadius(theme.bubbleStyle(), side);
  // The line is centred on the picture's edge: its outer edge lies half a line outside, its inner edge
  // half a line inside, and the corners keep their centres.
  return StoryBubbleRing{
      -line / 2,
      side + line,
      StoryRoundedSquare{0, side + line, radius > 0 ? radius + line / 2 : 0},
      StoryRoundedSquare{line, std::max(0.0, side - line), std::max(0.0, radius - line / 2)},
      line / 2,
      line / 2 + side,
      theme.primaryColor(),
      theme.secondaryColor(),
  };
}

}  // namespace quenmark
