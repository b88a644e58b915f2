#include <quenmark/model/story_item.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/stories/story_call_to_action.h>
#include <quenmark/stories/story_colors.h>
#include <quenmark/stories/story_media_layer.h>
#include <quenmark/stories/story_progress_header.h>
#include <quenmark/stories/story_text_block.h>
#include <quenmark/stories/story_viewer_gestures.h>

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace quenmark {
namespace {

using story_colors::kClear;
using story_colors::kWhite;

struct ItemTexts {
  std::optional<std::string> title;
  std::optional<std::string> body;
  std::optional<std::string> ctaTitle;
  std::optional<std::string> ctaURL;
};

StoryItem makeItem(WidgetType widget = WidgetType::none, std::optional<StoryMediaType> type = StoryMediaType::image,
                   std::optional<std::string> media = "https://cdn.example.com/a.png", ItemTexts texts = {}) {
  auto url = [](const std::optional<std::string>& text) { return text ? Url::parse(*text) : std::nullopt; };
  return StoryItem("i", texts.title, texts.body, type, url(media), 5, texts.ctaTitle, url(texts.ctaURL), widget,
                   std::nullopt, std::nullopt, {}, std::nullopt);
}

StoryTheme themeWith(Color primary, CtaStyle style) {
  const StoryTheme& base = StoryTheme::defaultTheme();
  return StoryTheme(base.progressStyle(), base.bubbleStyle(), std::nullopt, primary, base.secondaryColor(), style);
}

TEST(StoryViewerGestures, TapZonesSplitTheWidth) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double x, width;
    StoryTapZone zone;
  } cases[] = {{0, 400, StoryTapZone::previous}, {139.9, 400, StoryTapZone::previous}, {140, 400, StoryTapZone::none},
               {259.9, 400, StoryTapZone::none}, {260, 400, StoryTapZone::next},       {400, 400, StoryTapZone::next},
               {-1, 400, StoryTapZone::none},    {401, 400, StoryTapZone::none},       {nan, 400, StoryTapZone::none},
               {10, 0, StoryTapZone::none}};
  for (const auto& c : cases) EXPECT_EQ(storyTapZone(c.x, c.width), c.zone) << c.x << " of " << c.width;

  EXPECT_TRUE(isLongPressMovement(6, -8));  // 10 points away
  EXPECT_FALSE(isLongPressMovement(8, 8));
}

TEST(StoryViewerGestures, DragEndsCloseOrSwipeUp) {
  const StoryItem swipe = makeItem(WidgetType::swipe);
  const StoryItem plain = makeItem();
  const struct {
    DragEnd drag;
    const StoryItem* item;
    StoryViewerDragAction action;
  } cases[] = {
      {{50, 130, 0, 130}, &plain, StoryViewerDragAction::close},
      {{-79, 121, 0, 300}, &swipe, StoryViewerDragAction::close},
      {{90, 130, 0, 130}, &plain, StoryViewerDragAction::none},
      {{0, 120, 0, 400}, &plain, StoryViewerDragAction::none},  // the predicted end never closes
      {{0, -60, 0, -60}, &swipe, StoryViewerDragAction::swipeUp},
      {{0, -60, 0, -60}, &plain, StoryViewerDragAction::none},
      {{0, -60, 0, -60}, nullptr, StoryViewerDragAction::none},
      {{0, -30, 0, -130}, &swipe, StoryViewerDragAction::swipeUp},  // a flick
      {{0, -45, 0, -110}, &swipe, StoryViewerDragAction::none},
      {{159, -60, 0, -60}, &swipe, StoryViewerDragAction::swipeUp},
      {{170, -200, 0, -200}, &swipe, StoryViewerDragAction::none},
      {{300, 0, 600, 0}, &plain, StoryViewerDragAction::none},   // horizontal drags never navigate
      {{5, -15, 0, -300}, &swipe, StoryViewerDragAction::none},  // shorter than a drag
  };
  for (const auto& c : cases) {
    EXPECT_EQ(storyViewerDragAction(c.drag, c.item), c.action) << c.drag.dx << ", " << c.drag.dy;
  }

  const struct {
    DragEnd drag;
    bool swipesUp;
  } widgetCases[] = {{{10, -41, 10, -41}, true},
                     {{10, -39, 10, -120}, true},
                     {{10, -39, 10, -99}, false},
                     {{170, -200, 170, -200}, false},
                     {{5, -15, 5, -300}, false}};
  for (const auto& c : widgetCases) EXPECT_EQ(isSwipeWidgetSwipeUp(c.drag), c.swipesUp) << c.drag.dy;

  EXPECT_EQ(predictedEndTranslation(-30, -400), -230);
}

TEST(StoryViewerLayout, PlaceholderIsItsTranslucentFillPaintedOnBlack) {
  const StoryTheme& base = StoryTheme::defaultTheme();
  const struct {
    Color secondary, fill;
  } cases[] = {{{0.2, 0.4, 1, 1}, {0.036, 0.072, 0.18, 1}}, {{1, 1, 1, 0.5}, {0.09, 0.09, 0.09, 1}}};
  for (const auto& c : cases) {
    const StoryTheme theme(base.progressStyle(), base.bubbleStyle(), std::nullopt, base.primaryColor(), c.secondary,
                           base.ctaStyle());
    const Color fill = storyPlaceholderFill(theme);
    for (auto [actual, expected] : {std::pair{fill.red(), c.fill.red()}, std::pair{fill.green(), c.fill.green()},
                                    std::pair{fill.blue(), c.fill.blue()}, std::pair{fill.alpha(), c.fill.alpha()}}) {
      EXPECT_NEAR(actual, expected, 1e-9) << c.secondary.alpha();
    }
  }
  EXPECT_EQ(story_colors::over({0.2, 0.4, 1, 0.5}, kClear), Color(0.2, 0.4, 1, 0.5));
  EXPECT_EQ(story_colors::over(kClear, kClear), kClear);
}

TEST(StoryViewerLayout, MediaTextAndCallToActionFollowTheItem) {
  EXPECT_EQ(storyMediaLayer(nullptr), StoryMediaLayer::placeholder);
  const StoryItem noMedia = makeItem(WidgetType::none, StoryMediaType::video, std::nullopt);
  EXPECT_EQ(storyMediaLayer(&noMedia), StoryMediaLayer::placeholder);
  const StoryItem video = makeItem(WidgetType::none, StoryMediaType::video);
  EXPECT_EQ(storyMediaLayer(&video), StoryMediaLayer::video);
  const StoryItem unknownType = makeItem(WidgetType::none, std::nullopt);
  EXPECT_EQ(storyMediaLayer(&unknownType), StoryMediaLayer::image);

  const struct {
    ItemTexts texts;
    std::optional<StoryTextBlock> block;
    bool hasButton;
  } cases[] = {
      {{"Title", "", "Go", "https://example.com"}, StoryTextBlock{"Title", std::nullopt}, true},
      {{std::nullopt, std::nullopt, "Go", std::nullopt}, std::nullopt, false},
      {{"", std::nullopt, std::nullopt, "https://example.com"}, StoryTextBlock{}, false},
      {{std::nullopt, "Body", std::nullopt, std::nullopt}, StoryTextBlock{std::nullopt, "Body"}, false},
  };
  for (const auto& c : cases) {
    const StoryItem item = makeItem(WidgetType::none, StoryMediaType::image, "https://cdn.example.com/a.png", c.texts);
    EXPECT_EQ(storyTextBlock(&item), c.block) << c.texts.title.value_or("(none)");
    EXPECT_EQ(storyCallToAction(&item, StoryTheme::defaultTheme()).has_value(), c.hasButton);
  }
  EXPECT_EQ(storyTextBlock(nullptr), std::nullopt);
}

TEST(StoryViewerLayout, CallToActionColoursFollowStyleAndLuminance) {
  const Color white{1, 1, 1, 1};
  const Color darkBlue{0.05, 0.1, 0.4, 1};
  const Color gray{0.4845, 0.4845, 0.4845, 1};  // relative luminance 0.2
  const Color orange = StoryTheme::defaultTheme().primaryColor();
  const StoryItem item = makeItem(WidgetType::none, StoryMediaType::image, "https://cdn.example.com/a.png",
                                  {std::nullopt, std::nullopt, "Shop", "https://example.com/shop"});
  const struct {
    Color primary;
    CtaStyle style;
    Color text, background, border;
    double borderWidth;
  } cases[] = {
      {white, CtaStyle::filled, story_colors::kBlack, white, kClear, 0},
      {darkBlue, CtaStyle::filled, kWhite, darkBlue, kClear, 0},
      {gray, CtaStyle::outlined, kWhite, kClear, kWhite, 1},
      {orange, CtaStyle::outlined, orange, kClear, orange, 1},
      {gray, CtaStyle::text, kWhite, kClear, kClear, 0},
      {orange, CtaStyle::text, orange, kClear, kClear, 0},
  };
  for (const auto& c : cases) {
    auto button = storyCallToAction(&item, themeWith(c.primary, c.style));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->title, "Shop");
    EXPECT_EQ((std::tuple{button->textColor, button->background, button->borderColor, button->borderWidth}),
              (std::tuple{c.text, c.background, c.border, c.borderWidth}))
        << "style " << static_cast<int>(c.style) << ", red " << c.primary.red();
  }
}

TEST(StoryViewerLayout, ProgressLayoutByStyle) {
  EXPECT_EQ(storyProgressLayout(ProgressStyle::bar, 2), StoryProgressLayout::segments);
  EXPECT_EQ(storyProgressLayout(ProgressStyle::bar, 1), StoryProgressLayout::track);
  EXPECT_EQ(storyProgressLayout(ProgressStyle::bar, 0), StoryProgressLayout::track);
  EXPECT_EQ(storyProgressLayout(ProgressStyle::segmented, 1), StoryProgressLayout::segments);
  EXPECT_EQ(storyProgressLayout(ProgressStyle::none, 5), StoryProgressLayout::none);
}

}  // namespace
}  // namespace quenmark
