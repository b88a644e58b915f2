#include <quenmark/banners/banner_card_layout.h>
#include <quenmark/banners/banner_content_frame_modifier.h>
#include <quenmark/banners/banner_layout_constants.h>
#include <quenmark/banners/banner_ratio.h>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace quenmark {
namespace {

std::vector<BannerItem> itemsOf(int count) {
  std::vector<BannerItem> items;
  for (int i = 1; i <= count; ++i) {
    auto url = Url::parse("https://cdn.example.com/" + std::to_string(i) + ".png");
    items.emplace_back(std::to_string(i), std::nullopt, *url, i, BannerCtaType::none, std::nullopt);
  }
  return items;
}

Banner layoutBanner(BannerLayoutMode mode, std::optional<std::string> ratio, std::optional<std::int64_t> fixed = {},
                    BannerType type = BannerType::carousel, std::vector<BannerItem> items = itemsOf(1),
                    BannerContentMode content = BannerContentMode::cover) {
  return Banner("7", type, "home_top", 0, 5, mode, std::move(ratio), fixed, content, std::move(items));
}

double cardHeight(BannerLayoutMode mode, std::optional<std::string> ratio, std::optional<std::int64_t> fixed,
                  double width) {
  return BannerContentFrameModifier(layoutBanner(mode, std::move(ratio), fixed)).height(width);
}

TEST(BannerLayout, CardHeightByLayoutMode) {
  using Mode = BannerLayoutMode;
  EXPECT_EQ(cardHeight(Mode::fixedHeight, "16:9", 180, 320), 180);
  EXPECT_EQ(cardHeight(Mode::fixedHeight, "16:9", 180, 1024), 180);
  // Without a usable height the card is square, or follows a ratio text when there is one.
  for (auto unusable : {std::optional<std::int64_t>(0), std::optional<std::int64_t>(-5), std::optional<std::int64_t>()})
    EXPECT_DOUBLE_EQ(cardHeight(Mode::fixedHeight, std::nullopt, unusable, 320), 320);
  EXPECT_DOUBLE_EQ(cardHeight(Mode::fixedHeight, "2:1", 0, 320), 160);
  // A fixed height counts only in the fixed-height layout (16:9 of 640 points is 360).
  EXPECT_DOUBLE_EQ(cardHeight(Mode::auto_, std::nullopt, 180, 640), 360);
  EXPECT_DOUBLE_EQ(cardHeight(Mode::aspectRatio, "2:1", 180, 640), 320);
  EXPECT_DOUBLE_EQ(cardHeight(Mode::auto_, "abc", std::nullopt, 320), 180);
  EXPECT_EQ(cardHeight(Mode::auto_, "2:1", std::nullopt, 0), 0);
}

TEST(BannerLayout, AspectRatioTexts) {
  auto ratio = [](std::optional<std::string> text, BannerLayoutMode mode = BannerLayoutMode::auto_) {
    return aspectRatio(layoutBanner(mode, std::move(text)));
  };
  EXPECT_DOUBLE_EQ(ratio("16:9"), 16.0 / 9.0);
  EXPECT_DOUBLE_EQ(ratio("1.91:1"), 1.91);
  EXPECT_DOUBLE_EQ(ratio("16::9"), 16.0 / 9.0);
  EXPECT_DOUBLE_EQ(ratio(":2:1:"), 2.0);
  // Fallbacks: 16:9, or square in the fixed-height layout. Infinite or vanishing ratios fall back too.
  for (const char* bad : {"1.5", "abc", "0:1", "1:0", "-16:9", "16:9:1", " 16:9", "16:9x", "", "inf:1", "1:inf",
                          "nan:1", "1e-320:1e300", "+-1:1"}) {
    EXPECT_DOUBLE_EQ(ratio(bad), 16.0 / 9.0) << bad;
    EXPECT_DOUBLE_EQ(ratio(bad, BannerLayoutMode::fixedHeight), 1.0) << bad;
  }
  EXPECT_DOUBLE_EQ(ratio(std::nullopt), 16.0 / 9.0);
}

TEST(BannerLayout, DotsMarkTheActiveItem) {
  BannerProgressIndicator indicator{3, 1};
  auto dots = indicator.dots();
  ASSERT_EQ(dots.size(), 3u);
  EXPECT_EQ(std::vector<double>({dots[0].width, dots[1].width, dots[2].width}), std::vector<double>({5, 12, 5}));
  EXPECT_EQ(std::vector<double>({dots[0].x, dots[1].x, dots[2].x}), std::vector<double>({7, 17, 34}));
  EXPECT_EQ(dots[1].color, banner_layout::kDotActiveColor);
  EXPECT_EQ(dots[2].color, banner_layout::kDotInactiveColor);
  EXPECT_EQ(indicator.width(), 46);
  EXPECT_EQ(indicator.height(), 15);
  // An index outside the items marks no dot.
  for (const auto& dot : BannerProgressIndicator{3, 3}.dots()) EXPECT_EQ(dot.width, 5);
  EXPECT_EQ((BannerProgressIndicator{3, -1}.width()), 39);
}

TEST(BannerLayout, SegmentsFillUpToTheActiveOne) {
  auto fills = [](double progress) {
    std::vector<double> result;
    for (const auto& segment : BannerStoryProgressIndicator{4, 2, progress}.segments(312)) {
      result.push_back(segment.fillWidth / segment.width);
    }
    return result;
  };
  EXPECT_EQ(fills(0.5), (std::vector<double>{1, 1, 0.5, 0}));
  EXPECT_EQ(fills(1.3), (std::vector<double>{1, 1, 1, 0}));
  for (double empty : {0.0, -0.2, std::nan("")}) EXPECT_EQ(fills(empty), (std::vector<double>{1, 1, 0, 0}));
  // 4 segments across 312 points: 3 gaps of 4, 75 each. A row too narrow for its gaps has empty segments.
  auto segments = BannerStoryProgressIndicator{4, 2, 0.5}.segments(312);
  EXPECT_DOUBLE_EQ(segments[3].x, 237);
  EXPECT_DOUBLE_EQ(segments[3].width, 75);
  for (const auto& segment : BannerStoryProgressIndicator{4, 2, 0.5}.segments(5)) EXPECT_EQ(segment.width, 0);
}

BannerRenderState renderState(BannerType type, int itemCount, int activeIndex,
                              BannerContentMode mode = BannerContentMode::cover) {
  auto items = itemsOf(itemCount);
  Banner value = layoutBanner(BannerLayoutMode::auto_, "2:1", std::nullopt, type, items, mode);
  return BannerRenderState{value, 0, items, activeIndex, items[static_cast<std::size_t>(activeIndex)]};
}

TEST(BannerLayout, CardChoosesItsIndicatorAndPlacesIt) {
  EXPECT_FALSE(layoutBannerCard(std::nullopt, 0, 320));

  auto story = layoutBannerCard(renderState(BannerType::story, 4, 2), 0.5, 320);
  ASSERT_TRUE(story);
  EXPECT_EQ((std::tuple{story->height, story->cornerRadius, story->pictureURL.string(), story->pictureScaling}),
            (std::tuple{160.0, 8.0, "https://cdn.example.com/3.png", BannerPictureScaling::fill}));
  EXPECT_EQ(std::get<BannerStoryProgressIndicator>(story->indicator), (BannerStoryProgressIndicator{4, 2, 0.5}));
  EXPECT_EQ(story->indicatorFrame, (BannerRect{10, 10, 300, 3}));

  auto carousel = layoutBannerCard(renderState(BannerType::carousel, 3, 1, BannerContentMode::fit), 0.7, 320);
  EXPECT_EQ(carousel->pictureScaling, BannerPictureScaling::fit);
  EXPECT_EQ(std::get<BannerProgressIndicator>(carousel->indicator), (BannerProgressIndicator{3, 1}));
  EXPECT_EQ(carousel->indicatorFrame, (BannerRect{137, 129, 46, 15}));  // centred, 16 above the bottom

  for (auto [type, count] :
       {std::pair{BannerType::static_, 3}, std::pair{BannerType::story, 1}, std::pair{BannerType::carousel, 1}}) {
    EXPECT_TRUE(
        std::holds_alternative<std::monostate>(layoutBannerCard(renderState(type, count, 0), 0, 320)->indicator));
  }
}

}  // namespace
}  // namespace quenmark
