#pragma once

#include <quenmark/stories/story_viewer_gestures.h>
#include <quenmark/stories/story_viewer_layout_constants.h>
#include <quenmark/stories/story_viewer_view_model.h>

#include "qt_conversions.h"

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QObject>

namespace quenmark::qt {

/// The story viewer's sizes (logical pixels), colours and timings, as `Theme.viewer`.
class StoryViewerMetrics {
  Q_GADGET
  QML_VALUE_TYPE(storyViewerMetrics)
  QML_UNCREATABLE("Read it from Theme.viewer.")
  Q_PROPERTY(QColor background MEMBER background CONSTANT FINAL)
  Q_PROPERTY(QColor text MEMBER text CONSTANT FINAL)
  Q_PROPERTY(qreal contentHorizontalPadding MEMBER contentHorizontalPadding CONSTANT FINAL)
  Q_PROPERTY(qreal contentTopPadding MEMBER contentTopPadding CONSTANT FINAL)
  Q_PROPERTY(qreal contentBottomPadding MEMBER contentBottomPadding CONSTANT FINAL)
  Q_PROPERTY(qreal headerSpacing MEMBER headerSpacing CONSTANT FINAL)
  Q_PROPERTY(qreal progressHeight MEMBER progressHeight CONSTANT FINAL)
  Q_PROPERTY(qreal progressSpacing MEMBER progressSpacing CONSTANT FINAL)
  Q_PROPERTY(int progressTickMilliseconds MEMBER progressTickMilliseconds CONSTANT FINAL)
  Q_PROPERTY(qreal closeGlyphSize MEMBER closeGlyphSize CONSTANT FINAL)
  Q_PROPERTY(qreal closeButtonPadding MEMBER closeButtonPadding CONSTANT FINAL)
  Q_PROPERTY(QColor closeButtonBackground MEMBER closeButtonBackground CONSTANT FINAL)
  Q_PROPERTY(qreal textBlockSpacing MEMBER textBlockSpacing CONSTANT FINAL)
  Q_PROPERTY(qreal textBlockHorizontalPadding MEMBER textBlockHorizontalPadding CONSTANT FINAL)
  Q_PROPERTY(qreal textBlockBottomPadding MEMBER textBlockBottomPadding CONSTANT FINAL)
  Q_PROPERTY(QColor bodyColor MEMBER bodyColor CONSTANT FINAL)
  Q_PROPERTY(qreal callToActionVerticalPadding MEMBER callToActionVerticalPadding CONSTANT FINAL)
  Q_PROPERTY(qreal photoGlyphSize MEMBER photoGlyphSize CONSTANT FINAL)
  Q_PROPERTY(QColor photoGlyphColor MEMBER photoGlyphColor CONSTANT FINAL)
  Q_PROPERTY(qreal pauseGlyphSize MEMBER pauseGlyphSize CONSTANT FINAL)
  Q_PROPERTY(QColor pauseGlyphColor MEMBER pauseGlyphColor CONSTANT FINAL)
  Q_PROPERTY(int pauseFadeMilliseconds MEMBER pauseFadeMilliseconds CONSTANT FINAL)
  Q_PROPERTY(qreal minimumDragDistance MEMBER minimumDragDistance CONSTANT FINAL)
  Q_PROPERTY(qreal longPressSeconds MEMBER longPressSeconds CONSTANT FINAL)
  Q_PROPERTY(qreal longPressMaximumMovement MEMBER longPressMaximumMovement CONSTANT FINAL)

 public:
  QColor background = toQColor(story_viewer_layout::kBackground);
  QColor text = toQColor(story_colors::kWhite);
  qreal contentHorizontalPadding = story_viewer_layout::kContentHorizontalPadding;
  qreal contentTopPadding = story_viewer_layout::kContentTopPadding;
  qreal contentBottomPadding = story_viewer_layout::kContentBottomPadding;
  qreal headerSpacing = story_viewer_layout::kHeaderSpacing;
  qreal progressHeight = story_viewer_layout::kProgressHeight;
  qreal progressSpacing = story_viewer_layout::kProgressSpacing;
  /// The playback tick: the fill glides over it, between the model's steps, at the display's rate.
  int progressTickMilliseconds = static_cast<int>(StoryViewerViewModel::tickInterval * 1000);
  qreal closeGlyphSize = story_viewer_layout::kCloseGlyphSize;
  qreal closeButtonPadding = story_viewer_layout::kCloseButtonPadding;
  QColor closeButtonBackground = toQColor(story_viewer_layout::kCloseButtonBackground);
  qreal textBlockSpacing = story_viewer_layout::kTextBlockSpacing;
  qreal textBlockHorizontalPadding = story_viewer_layout::kTextBlockHorizontalPadding;
  qreal textBlockBottomPadding = story_viewer_layout::kTextBlockBottomPadding;
  QColor bodyColor = toQColor(story_viewer_layout::kBodyColor);
  qreal callToActionVerticalPadding = story_viewer_layout::kCallToActionVerticalPadding;
  qreal photoGlyphSize = story_viewer_layout::kPhotoGlyphSize;
  QColor photoGlyphColor = toQColor(story_viewer_layout::kPhotoGlyphColor);
  qreal pauseGlyphSize = story_viewer_layout::kPauseGlyphSize;
  QColor pauseGlyphColor = toQColor(story_viewer_layout::kPauseGlyphColor);
  int pauseFadeMilliseconds = static_cast<int>(story_viewer_layout::kPauseFadeDuration * 1000);
  qreal minimumDragDistance = story_gesture::kMinimumDragDistance;
  qreal longPressSeconds = story_gesture::kLongPressMinimumDuration;
  qreal longPressMaximumMovement = story_gesture::kLongPressMaximumMovement;
};

}  // namespace quenmark::qt
