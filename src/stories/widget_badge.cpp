#include <quenmark/model/story_theme.h>
#include <quenmark/sdk/story_ui_strings.h>
#include <quenmark/stories/story_colors.h>
#include <quenmark/stories/widget_badge.h>

namespace quenmark {

WidgetBadge widgetBadge(WidgetType type, const StoryTheme& theme, const StoryUIStrings& strings) {
  const Color& primary = theme.primaryColor();
  WidgetBadge badge{
      WidgetBadgeIcon::circle, {}, story_colors::contrastColor(primary), story_colors::withOpacity(primary, 0.9)};
  switch (type) {
    case WidgetType::poll:
      badge.icon = WidgetBadgeIcon::chart;
      badge.title = strings.pollBadgeTitle();
      break;
    case WidgetType::quiz:
      badge.icon = WidgetBadgeIcon::checkmark;
      badge.title = strings.quizBadgeTitle();
      break;
    case WidgetType::swipe:
      badge.icon = WidgetBadgeIcon::arrowUp;
      badge.title = strings.swipeBadgeTitle();
      break;
    case WidgetType::none: break;
  }
  return badge;
}

}  // namespace quenmark
