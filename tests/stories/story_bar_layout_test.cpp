#include <quenmark/model/story_theme.h>
#include <quenmark/stories/story_bar_layout.h>

#include <gtest/gtest.h>

#include <tuple>

namespace quenmark {
namespace {

StoryTheme themeWith(BubbleStyle style) {
  const StoryTheme& base = StoryTheme::defaultTheme();
  return StoryTheme(base.progressStyle(), style, std::nullopt, Color(1, 0, 0, 1), Color(0, 0, 1, 1), base.ctaStyle());
}

TEST(StoryBarLayout, BarTakesNoSpaceWithoutGroups) {
  EXPECT_EQ((std::tuple{storyBarHeight(0), storyBarHeight(1), storyBarHeight(10)}), (std::tuple{0.0, 110.0, 110.0}));
}

// The ring is the outline of the picture's rounded square, centred on its edge.
TEST(StoryBarLayout, BubbleCornersAndRingFollowTheBubbleStyle) {
  const struct {
    BubbleStyle style;
    double size;
    double radius;
    StoryRoundedSquare outer;
    StoryRoundedSquare inner;
  } cases[] = {
      {BubbleStyle::circle, 64, 32, {0, 67, 33.5}, {3, 61, 30.5}},
      {BubbleStyle::rounded, 64, 16, {0, 67, 17.5}, {3, 61, 14.5}},
      {BubbleStyle::square, 64, 0, {0, 67, 0}, {3, 61, 0}},
      {BubbleStyle::rounded, 20, 10, {0, 23, 11.5}, {3, 17, 8.5}},  // never more than half the side
      {BubbleStyle::circle, -4, 0, {0, 3, 0}, {3, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    EXPECT_EQ(storyBubbleCornerRadius(c.style, c.size), c.radius);
    const StoryBubbleRing ring = storyBubbleRing(themeWith(c.style), c.size);
    EXPECT_EQ(ring.frameOrigin, -1.5);
    EXPECT_EQ(ring.outer, c.outer);
    EXPECT_EQ(ring.inner, c.inner);
  }

  const StoryBubbleRing ring = storyBubbleRing(themeWith(BubbleStyle::circle), 64);
  EXPECT_EQ((std::tuple{ring.gradientStart, ring.gradientEnd, ring.startColor, ring.endColor}),
            (std::tuple{1.5, 65.5, Color(1, 0, 0, 1), Color(0, 0, 1, 1)}));
}

}  // namespace
}  // namespace quenmark
