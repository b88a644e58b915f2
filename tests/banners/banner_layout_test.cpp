#include "banner_fixtures.h"

#include <quenmark/banners/banner_aspect_ratio.h>
#include <quenmark/banners/banner_card_layout.h>
#include <quenmark/banners/banner_content_frame_modifier.h>
#include <quenmark/banners/banner_layout_constants.h>

#include <gtest/gtest.h>

#include <cmath>

namespace quenmark {
namespace {

using testsupport::banner;
using testsupport::bannerItems;
using testsupport::layoutBanner;

TEST(BannerLayout, FixedHeightWinsAtAnyWidthAndFallsBackToASquare) {
  BannerContentFrameModifier fixed(layoutBanner(BannerLayoutMode::fixedHeight, "16:9", 180));
  EXPECT_EQ(fixed.height(320), 180);
  EXPECT_EQ(fixed.height(1024), 180);
  EXPECT_EQ(fixed.height(0), 180);

  for (std::optional<std::int64_t> unusable : {std::optional<std::int64_t>(0), std::optional<std::int64_t>(-5),
                                               std::optional<std::int64_t>()}) {
    BannerContentFrameModifier square(layoutBanner(BannerLayoutMode::fixedHeight, std::nullopt, unusable));
    EXPECT_FALSE(square.fixedHeight());
    EXPECT_DOUBLE_EQ(square.height(320), 320);
  }
  // Without a usable height a fixed-height banner still honours a ratio text.
  EXPECT_DOUBLE_EQ(BannerContentFrameModifier(layoutBanner(BannerLayoutMode::fixedHeight, "2:1", 0)).height(320), 160);
  // A fixed height only counts in the fixed-height layout.
  EXPECT_DOUBLE_EQ(BannerContentFrameModifier(layoutBanner(BannerLayoutMode::auto_, std::nullopt, 180)).height(320), 180);
}

TEST(BannerLayout, AspectRatioTexts) {
  auto ratio = [](std::optional<std::string> text, BannerLayoutMode mode = BannerLayoutMode::auto_) {
    return aspectRatio(layoutBanner(mode, std::move(text)));
  };
  EXPECT_DOUBLE_EQ(ratio("16:9"), 16.0 / 9.0);
  EXPECT_DOUBLE_EQ(ratio("4:3"), 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(ratio("1.91:1"), 1.91);
  EXPECT_DOUBLE_EQ(ratio("16::9"), 16.0 / 9.0);
  EXPECT_DOUBLE_EQ(ratio(":2:1:"), 2.0);
  EXPECT_DOUBLE_EQ(ratio("2:1", BannerLayoutMode::aspectRatio), 2.0);

  // Fallbacks: 16:9 normally, square in the fixed-height layout.
  for (const char* bad : {"1.5", "1.78", "abc", "0:1", "1:0", "-16:9", "16:9:1", " 16:9", "16 :9", "16:9x", "",
                          ":", "inf:1", "1:inf", "nan:1", "1e-320:1e300"}) {
    EXPECT_DOUBLE_EQ(ratio(bad), 16.0 / 9.0) << bad;
    EXPECT_DOUBLE_EQ(ratio(bad, BannerLayoutMode::fixedHeight), 1.0) << bad;
  }
  EXPECT_DOUBLE_EQ(ratio(std::nullopt), 16.0 / 9.0);
  EXPECT_DOUBLE_EQ(ratio(std::nullopt, BannerLayoutMode::fixedHeight), 1.0);
}

TEST(BannerLayout, CardHeightFollowsTheRatioOfTheSlotWidth) {
  EXPECT_DOUBLE_EQ(BannerContentFrameModifier(layoutBanner(BannerLayoutMode::auto_, "2:1")).height(320), 160);
  EXPECT_DOUBLE_EQ(BannerContentFrameModifier(layoutBanner(BannerLayoutMode::auto_, "abc")).height(320), 180);
  EXPECT_DOUBLE_EQ(BannerContentFrameModifier(layoutBanner(BannerLayoutMode::auto_, "0:1")).height(320), 180);
  EXPECT_DOUBLE_EQ(BannerContentFrameModifier(layoutBanner(BannerLayoutMode::aspectRatio, "1.5")).height(320), 180);
  EXPECT_EQ(BannerContentFrameModifier(layoutBanner(BannerLayoutMode::auto_, "2:1")).height(0), 0);
}

TEST(BannerLayout, DotsMarkTheActiveItem) {
  BannerProgressIndicator indicator{3, 1};
  auto dots = indicator.dots();
  ASSERT_EQ(dots.size(), 3u);
  EXPECT_EQ(dots[0].width, 5);
  EXPECT_EQ(dots[1].width, 12);
  EXPECT_EQ(dots[2].width, 5);
  EXPECT_EQ(dots[1].color, banner_layout::kDotActiveColor);
  EXPECT_EQ(dots[0].color, banner_layout::kDotInactiveColor);
  // 7 padding, dot 5, gap 5, dot 12, gap 5, dot 5, 7 padding.
  EXPECT_EQ(dots[0].x, 7);
  EXPECT_EQ(dots[1].x, 17);
  EXPECT_EQ(dots[2].x, 34);
  EXPECT_EQ(indicator.width(), 46);
  EXPECT_EQ(indicator.height(), 15);

  for (int outside : {-1, 3}) {
    BannerProgressIndicator none{3, outside};
    for (const auto& dot : none.dots()) EXPECT_EQ(dot.width, 5);
    EXPECT_EQ(none.width(), 39);
  }
  EXPECT_TRUE(BannerProgressIndicator({0, 0}).dots().empty());
}

TEST(BannerLayout, SegmentsFillUpToTheActiveOne) {
  BannerStoryProgressIndicator half{4, 2, 0.5};
  EXPECT_EQ(half.fill(0), 1.0);
  EXPECT_EQ(half.fill(1), 1.0);
  EXPECT_EQ(half.fill(2), 0.5);
  EXPECT_EQ(half.fill(3), 0.0);
  EXPECT_EQ(BannerStoryProgressIndicator({4, 2, 1.3}).fill(2), 1.0);
  EXPECT_EQ(BannerStoryProgressIndicator({4, 2, 0.0}).fill(2), 0.0);
  EXPECT_EQ(BannerStoryProgressIndicator({4, 2, -0.2}).fill(2), 0.0);
  EXPECT_EQ(BannerStoryProgressIndicator({4, 2, std::nan("")}).fill(2), 0.0);

  // 4 segments across 312 points: 3 gaps of 4, 75 each.
  auto segments = half.segments(312);
  ASSERT_EQ(segments.size(), 4u);
  EXPECT_DOUBLE_EQ(segments[0].x, 0);
  EXPECT_DOUBLE_EQ(segments[1].x, 79);
  EXPECT_DOUBLE_EQ(segments[3].x, 237);
  EXPECT_DOUBLE_EQ(segments[2].width, 75);
  EXPECT_DOUBLE_EQ(segments[1].fillWidth, 75);
  EXPECT_DOUBLE_EQ(segments[2].fillWidth, 37.5);
  EXPECT_DOUBLE_EQ(segments[3].fillWidth, 0);
  // A row too narrow for its gaps gives empty segments, never negative ones.
  for (const auto& segment : half.segments(5)) EXPECT_EQ(segment.width, 0);
}

BannerRenderState renderState(BannerType type, int itemCount, int activeIndex,
                              BannerContentMode mode = BannerContentMode::cover) {
  auto items = bannerItems(itemCount);
  Banner value = banner("7", type, items, 5, BannerLayoutMode::auto_, "2:1", std::nullopt, mode);
  return BannerRenderState{value, 0, items, activeIndex, items[static_cast<std::size_t>(activeIndex)]};
}

TEST(BannerLayout, CardChoosesItsIndicatorAndPlacesIt) {
  EXPECT_FALSE(layoutBannerCard(std::nullopt, 0, 320));

  auto story = layoutBannerCard(renderState(BannerType::story, 4, 2), 0.5, 320);
  ASSERT_TRUE(story);
  EXPECT_EQ(story->height, 160);
  EXPECT_EQ(story->cornerRadius, 8);
  EXPECT_EQ(story->pictureURL.string(), "https://cdn.example.com/3.png");
  EXPECT_EQ(story->pictureScaling, BannerPictureScaling::fill);
  ASSERT_TRUE(std::holds_alternative<BannerStoryProgressIndicator>(story->indicator));
  EXPECT_EQ(std::get<BannerStoryProgressIndicator>(story->indicator), (BannerStoryProgressIndicator{4, 2, 0.5}));
  EXPECT_EQ(story->indicatorFrame, (BannerRect{10, 10, 300, 3}));

  auto carousel = layoutBannerCard(renderState(BannerType::carousel, 3, 1, BannerContentMode::fit), 0.7, 320);
  ASSERT_TRUE(carousel);
  EXPECT_EQ(carousel->pictureScaling, BannerPictureScaling::fit);
  EXPECT_EQ(std::get<BannerProgressIndicator>(carousel->indicator), (BannerProgressIndicator{3, 1}));
  // 46 x 15, centred, its bottom 16 above the card's bottom.
  EXPECT_EQ(carousel->indicatorFrame, (BannerRect{137, 129, 46, 15}));

  EXPECT_TRUE(std::holds_alternative<std::monostate>(layoutBannerCard(renderState(BannerType::static_, 3, 1), 0, 320)->indicator));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(layoutBannerCard(renderState(BannerType::story, 1, 0), 0, 320)->indicator));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(layoutBannerCard(renderState(BannerType::carousel, 1, 0), 0, 320)->indicator));
}

}  // namespace
}  // namespace quenmark
