#include <quenmark/model/relative_luminance.h>
#include <quenmark/model/story_item.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/stories/story_call_to_action.h>
#include <quenmark/stories/story_colors.h>

namespace quenmark {
namespace {

// Above this luminance the primary colour is light enough to draw text and outlines on a dark picture.
constexpr double kReadableOnDarkLuminance = 0.28;

}  // namespace

std::optional<StoryCallToAction> storyCallToAction(const StoryItem* item, const StoryTheme& theme) {
  if (item == nullptr || !item->ctaTitle() || !item->ctaURL()) return std::nullopt;
  const Color& primary = theme.primaryColor();
  const Color onDark = relativeLuminance(primary) > kReadableOnDarkLuminance ? primary : story_colors::kWhite;
  StoryCallToAction button{*item->ctaTitle(), *item->ctaURL(), onDark, story_colors::kClear, story_colors::kClear, 0};
  switch (theme.ctaStyle()) {
    case CtaStyle::filled:
      button.textColor = story_colors::contrastColor(primary);
      button.background = primary;
      break;
    case CtaStyle::outlined:
      button.borderColor = onDark;
      button.borderWidth = 1;
      break;
    case CtaStyle::text: break;
  }
  return button;
}

}  // namespace quenmark
