#pragma once

#include <quenmark/export.h>
#include <quenmark/model/color.h>
#include <quenmark/model/widget_type.h>

#include <string>

namespace quenmark {

class StoryTheme;
class StoryUIStrings;

/// The glyph at the start of a widget's badge.
enum class WidgetBadgeIcon {
  /// Bar chart (poll).
  chart,
  /// Check mark in a circle (quiz).
  checkmark,
  /// Up arrow in a circle (swipe-up).
  arrowUp,
  /// Plain circle (no widget).
  circle,
};

/// The capsule at the start of a poll's or quiz's header: a glyph and a short title in the contrast
/// colour of the theme's primary colour, on that colour at opacity 0.9.
struct WidgetBadge {
  WidgetBadgeIcon icon;
  std::string title;
  Color textColor;
  Color background;

  friend bool operator==(const WidgetBadge&, const WidgetBadge&) = default;
};

/// The badge of a widget of `type`, titled with the matching badge word of `strings` (empty for no
/// widget).
QUENMARK_EXPORT WidgetBadge widgetBadge(WidgetType type, const StoryTheme& theme, const StoryUIStrings& strings);

}  // namespace quenmark
