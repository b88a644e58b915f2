#pragma once

#include <quenmark/export.h>

namespace quenmark {

class StoryItem;

/// What a tap at some point of the viewer does.
enum class StoryTapZone { previous, none, next };

/// Where a finished drag ended: its translation from the press and the translation it was heading for
/// when released (the release velocity carried on, see `predictedEndTranslation`). Points; x grows to
/// the right, y downward.
struct DragEnd {
  double dx = 0;
  double dy = 0;
  double predictedDx = 0;
  double predictedDy = 0;
};

/// What a finished drag over the viewer does.
enum class StoryViewerDragAction { none, close, swipeUp };

namespace story_gesture {
/// The tap zones across the viewer, as fractions of its width: previous, nothing, next.
inline constexpr double kPreviousZoneWidth = 0.35;
inline constexpr double kMiddleZoneWidth = 0.3;
/// A press on a side zone held this long (seconds) pauses playback until it is released ...
inline constexpr double kLongPressMinimumDuration = 0.25;
/// ... unless it moves further than this (points) first.
inline constexpr double kLongPressMaximumMovement = 10;
/// Shorter movements are not drags.
inline constexpr double kMinimumDragDistance = 20;
/// A released drag is taken to carry on at its release velocity for this long (seconds).
inline constexpr double kFlickProjection = 0.5;
}  // namespace story_gesture

/// The zone of a tap at `x` across a viewer `width` wide: the left 35 % go back, the right 35 % go
/// forward, the middle 30 % and points outside the viewer do nothing.
QUENMARK_EXPORT StoryTapZone storyTapZone(double x, double width) noexcept;

/// True while a press that moved by (`dx`, `dy`) still counts as held in place for a long press.
QUENMARK_EXPORT bool isLongPressMovement(double dx, double dy) noexcept;

/// Where a drag released at `translation` (points) with `velocity` (points per second) was heading.
QUENMARK_EXPORT double predictedEndTranslation(double translation, double velocity) noexcept;

/// The viewer's decision at the end of a drag: down by more than 120 with less than 80 across closes;
/// otherwise up by more than 50 (or heading more than 120 up) with less than 160 across swipes up when
/// `currentItem` is a swipe-up item. Nothing else does anything: horizontal drags never navigate, and
/// movements shorter than a drag are ignored.
QUENMARK_EXPORT StoryViewerDragAction storyViewerDragAction(const DragEnd& drag, const StoryItem* currentItem) noexcept;

/// The swipe-up widget's decision at the end of a drag: up by more than 40 (or heading more than 100 up)
/// with less than 160 across is a swipe up.
QUENMARK_EXPORT bool isSwipeWidgetSwipeUp(const DragEnd& drag) noexcept;

}  // namespace quenmark
