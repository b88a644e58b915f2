#include <quenmark/model/story_item.h>
#include <quenmark/stories/story_viewer_gestures.h>

#include <cmath>

namespace quenmark {
namespace {

bool isDrag(const DragEnd& drag) noexcept {
  return std::hypot(drag.dx, drag.dy) >= story_gesture::kMinimumDragDistance;
}

}  // namespace

StoryTapZone storyTapZone(double x, double width) noexcept {
  // Negated comparisons so that NaN falls outside.
  if (!(width > 0) || !(x >= 0) || !(x <= width)) return StoryTapZone::none;
  const double fraction = x / width;
  if (fraction < story_gesture::kPreviousZoneWidth) return StoryTapZone::previous;
  if (fraction < story_gesture::kPreviousZoneWidth + story_gesture::kMiddleZoneWidth) return StoryTapZone::none;
  return StoryTapZone::next;
}

bool isLongPressMovement(double dx, double dy) noexcept {
  return std::hypot(dx, dy) <= story_gesture::kLongPressMaximumMovement;
}

double predictedEndTranslation(double translation, double velocity) noexcept {
  return translation + velocity * story_gesture::kFlickProjection;
}

StoryViewerDragAction storyViewerDragAction(const DragEnd& drag, const StoryItem* currentItem) noexcept {
  if (!isDrag(drag)) return StoryViewerDragAction::none;
  const double across = std::abs(drag.dx);
  if (drag.dy > 120 && across < 80) return StoryViewerDragAction::close;
  if ((drag.dy < -50 || drag.predictedDy < -120) && across < 160) {
    const bool onSwipeItem = currentItem != nullptr && currentItem->widgetType() == WidgetType::swipe;
    return onSwipeItem ? StoryViewerDragAction::swipeUp : StoryViewerDragAction::none;
  }
  return StoryViewerDragAction::none;
}

bool isSwipeWidgetSwipeUp(const DragEnd& drag) noexcept {
  return isDrag(drag) && (drag.dy < -40 || drag.predictedDy < -100) && std::abs(drag.dx) < 160;
}

}  // namespace quenmark
