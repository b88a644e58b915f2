#pragma once

#include <quenmark/model/story_theme.h>
#include <quenmark/stories/story_bar_layout.h>

#include "qt_conversions.h"

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QObject>

namespace quenmark::qt {

/// The story bar's sizes (logical pixels) and colours, as `Theme.bar`. The ring's frame and gradient are
/// the same for every bubble style; each bubble's corner radius and ring outline come from its group.
class StoryBarMetrics {
  Q_GADGET
  QML_VALUE_TYPE(storyBarMetrics)
  QML_UNCREATABLE("Read it from Theme.bar.")
  Q_PROPERTY(qreal bubbleSpacing MEMBER bubbleSpacing CONSTANT FINAL)
  Q_PROPERTY(qreal rowHorizontalPadding MEMBER rowHorizontalPadding CONSTANT FINAL)
  Q_PROPERTY(qreal rowVerticalPadding MEMBER rowVerticalPadding CONSTANT FINAL)
  Q_PROPERTY(qreal columnWidth MEMBER columnWidth CONSTANT FINAL)
  Q_PROPERTY(qreal titleSpacing MEMBER titleSpacing CONSTANT FINAL)
  Q_PROPERTY(qreal bubbleSize MEMBER bubbleSize CONSTANT FINAL)
  Q_PROPERTY(qreal ringFrameOrigin MEMBER ringFrameOrigin CONSTANT FINAL)
  Q_PROPERTY(qreal ringFrameSide MEMBER ringFrameSide CONSTANT FINAL)
  Q_PROPERTY(qreal ringGradientStart MEMBER ringGradientStart CONSTANT FINAL)
  Q_PROPERTY(qreal ringGradientEnd MEMBER ringGradientEnd CONSTANT FINAL)
  Q_PROPERTY(QColor placeholderFill MEMBER placeholderFill CONSTANT FINAL)
  Q_PROPERTY(qreal photoGlyphSize MEMBER photoGlyphSize CONSTANT FINAL)
  Q_PROPERTY(QColor photoGlyphColor MEMBER photoGlyphColor CONSTANT FINAL)
  Q_PROPERTY(qreal focusFrameWidth MEMBER focusFrameWidth CONSTANT FINAL)
  Q_PROPERTY(qreal focusFrameRadius MEMBER focusFrameRadius CONSTANT FINAL)
  Q_PROPERTY(qreal focusFrameOutset MEMBER focusFrameOutset CONSTANT FINAL)
  Q_PROPERTY(QColor emptyCoverColor MEMBER emptyCoverColor CONSTANT FINAL)
  Q_PROPERTY(qreal coverZ MEMBER coverZ CONSTANT FINAL)

 public:
  qreal bubbleSpacing = story_bar_layout::kBubbleSpacing;
  qreal rowHorizontalPadding = story_bar_layout::kRowHorizontalPadding;
  qreal rowVerticalPadding = story_bar_layout::kRowVerticalPadding;
  qreal columnWidth = story_bar_layout::kColumnWidth;
  qreal titleSpacing = story_bar_layout::kTitleSpacing;
  qreal bubbleSize = story_bar_layout::kBubbleSize;
  qreal ringFrameOrigin = ring().frameOrigin;
  qreal ringFrameSide = ring().frameSide;
  qreal ringGradientStart = ring().gradientStart;
  qreal ringGradientEnd = ring().gradientEnd;
  QColor placeholderFill = toQColor(story_bar_layout::kPlaceholderFill);
  qreal photoGlyphSize = story_bar_layout::kPhotoGlyphSize;
  QColor photoGlyphColor = toQColor(story_bar_layout::kPhotoGlyphColor);
  qreal focusFrameWidth = story_bar_layout::kFocusFrameWidth;
  qreal focusFrameRadius = story_bar_layout::kFocusFrameRadius;
  qreal focusFrameOutset = story_bar_layout::kFocusFrameOutset;
  QColor emptyCoverColor = toQColor(story_bar_layout::kEmptyCoverColor);
  /// The presentation's stacking order among the window's content: above the host's items.
  qreal coverZ = 1e6;

 private:
  static StoryBubbleRing ring() { return storyBubbleRing(StoryTheme::defaultTheme(), story_bar_layout::kBubbleSize); }
};

}  // namespace quenmark::qt
