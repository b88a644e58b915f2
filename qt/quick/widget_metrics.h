#pragma once

#include <quenmark/stories/widget_layout_constants.h>

#include "qt_conversions.h"

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QObject>

namespace quenmark::qt {

/// The poll, quiz and swipe-up widgets' sizes (logical pixels), colours and timings, as `Theme.widget`.
class WidgetMetrics {
  Q_GADGET
  QML_VALUE_TYPE(widgetMetrics)
  QML_UNCREATABLE("Read it from Theme.widget.")
  Q_PROPERTY(qreal cardHorizontalInset MEMBER cardHorizontalInset CONSTANT FINAL)
  Q_PROPERTY(qreal cardBottomInset MEMBER cardBottomInset CONSTANT FINAL)
  Q_PROPERTY(qreal cardSpacing MEMBER cardSpacing CONSTANT FINAL)
  Q_PROPERTY(qreal cardPadding MEMBER cardPadding CONSTANT FINAL)
  Q_PROPERTY(qreal cardCornerRadius MEMBER cardCornerRadius CONSTANT FINAL)
  Q_PROPERTY(QColor cardFill MEMBER cardFill CONSTANT FINAL)
  Q_PROPERTY(QColor cardOutline MEMBER cardOutline CONSTANT FINAL)
  Q_PROPERTY(qreal cardOutlineWidth MEMBER cardOutlineWidth CONSTANT FINAL)
  Q_PROPERTY(qreal headerSpacing MEMBER headerSpacing CONSTANT FINAL)
  Q_PROPERTY(qreal badgeSpacing MEMBER badgeSpacing CONSTANT FINAL)
  Q_PROPERTY(qreal badgeFontSize MEMBER badgeFontSize CONSTANT FINAL)
  Q_PROPERTY(qreal badgeHorizontalPadding MEMBER badgeHorizontalPadding CONSTANT FINAL)
  Q_PROPERTY(qreal badgeVerticalPadding MEMBER badgeVerticalPadding CONSTANT FINAL)
  Q_PROPERTY(QColor titleColor MEMBER titleColor CONSTANT FINAL)
  Q_PROPERTY(QColor totalColor MEMBER totalColor CONSTANT FINAL)
  Q_PROPERTY(qreal rowSpacing MEMBER rowSpacing CONSTANT FINAL)
  Q_PROPERTY(qreal rowHorizontalPadding MEMBER rowHorizontalPadding CONSTANT FINAL)
  Q_PROPERTY(qreal rowVerticalPadding MEMBER rowVerticalPadding CONSTANT FINAL)
  Q_PROPERTY(qreal rowCornerRadius MEMBER rowCornerRadius CONSTANT FINAL)
  Q_PROPERTY(qreal emojiFontSize MEMBER emojiFontSize CONSTANT FINAL)
  Q_PROPERTY(qreal emojiBoxWidth MEMBER emojiBoxWidth CONSTANT FINAL)
  Q_PROPERTY(int optionMaximumLines MEMBER optionMaximumLines CONSTANT FINAL)
  Q_PROPERTY(QColor countColor MEMBER countColor CONSTANT FINAL)
  Q_PROPERTY(qreal spinnerScale MEMBER spinnerScale CONSTANT FINAL)
  Q_PROPERTY(qreal ringSize MEMBER ringSize CONSTANT FINAL)
  Q_PROPERTY(qreal ringDotSize MEMBER ringDotSize CONSTANT FINAL)
  Q_PROPERTY(qreal resultDotSize MEMBER resultDotSize CONSTANT FINAL)
  Q_PROPERTY(qreal checkGlyphSize MEMBER checkGlyphSize CONSTANT FINAL)
  Q_PROPERTY(qreal answerGlyphSize MEMBER answerGlyphSize CONSTANT FINAL)
  Q_PROPERTY(QColor rightAnswerColor MEMBER rightAnswerColor CONSTANT FINAL)
  Q_PROPERTY(QColor wrongAnswerColor MEMBER wrongAnswerColor CONSTANT FINAL)
  Q_PROPERTY(qreal swipeBottomPadding MEMBER swipeBottomPadding CONSTANT FINAL)
  Q_PROPERTY(qreal swipeSpacing MEMBER swipeSpacing CONSTANT FINAL)
  Q_PROPERTY(qreal swipeDiscSize MEMBER swipeDiscSize CONSTANT FINAL)
  Q_PROPERTY(QColor swipeDiscColor MEMBER swipeDiscColor CONSTANT FINAL)
  Q_PROPERTY(qreal swipeChevronSize MEMBER swipeChevronSize CONSTANT FINAL)
  Q_PROPERTY(qreal swipeChevronLift MEMBER swipeChevronLift CONSTANT FINAL)
  Q_PROPERTY(QColor swipeHintColor MEMBER swipeHintColor CONSTANT FINAL)
  Q_PROPERTY(qreal bounceOffset MEMBER bounceOffset CONSTANT FINAL)
  Q_PROPERTY(qreal bounceRestingOpacity MEMBER bounceRestingOpacity CONSTANT FINAL)
  Q_PROPERTY(qreal bounceRaisedOpacity MEMBER bounceRaisedOpacity CONSTANT FINAL)
  Q_PROPERTY(int spinnerTurnMilliseconds MEMBER spinnerTurnMilliseconds CONSTANT FINAL)
  Q_PROPERTY(int bounceHalfPeriodMilliseconds MEMBER bounceHalfPeriodMilliseconds CONSTANT FINAL)

 public:
  qreal cardHorizontalInset = widget_layout::kCardHorizontalInset;
  qreal cardBottomInset = widget_layout::kCardBottomInset;
  qreal cardSpacing = widget_layout::kCardSpacing;
  qreal cardPadding = widget_layout::kCardPadding;
  qreal cardCornerRadius = widget_layout::kCardCornerRadius;
  QColor cardFill = toQColor(widget_layout::kCardFill);
  QColor cardOutline = toQColor(widget_layout::kCardOutline);
  qreal cardOutlineWidth = widget_layout::kCardOutlineWidth;
  qreal headerSpacing = widget_layout::kHeaderSpacing;
  qreal badgeSpacing = widget_layout::kBadgeSpacing;
  qreal badgeFontSize = widget_layout::kBadgeFontSize;
  qreal badgeHorizontalPadding = widget_layout::kBadgeHorizontalPadding;
  qreal badgeVerticalPadding = widget_layout::kBadgeVerticalPadding;
  QColor titleColor = toQColor(widget_layout::kTitleColor);
  QColor totalColor = toQColor(widget_layout::kTotalColor);
  qreal rowSpacing = widget_layout::kRowSpacing;
  qreal rowHorizontalPadding = widget_layout::kRowHorizontalPadding;
  qreal rowVerticalPadding = widget_layout::kRowVerticalPadding;
  qreal rowCornerRadius = widget_layout::kRowCornerRadius;
  qreal emojiFontSize = widget_layout::kEmojiFontSize;
  qreal emojiBoxWidth = widget_layout::kEmojiBoxWidth;
  int optionMaximumLines = widget_layout::kOptionMaximumLines;
  QColor countColor = toQColor(widget_layout::kCountColor);
  qreal spinnerScale = widget_layout::kSpinnerScale;
  qreal ringSize = widget_layout::kRingSize;
  qreal ringDotSize = widget_layout::kRingDotSize;
  qreal resultDotSize = widget_layout::kResultDotSize;
  qreal checkGlyphSize = widget_layout::kCheckGlyphSize;
  qreal answerGlyphSize = widget_layout::kAnswerGlyphSize;
  QColor rightAnswerColor = toQColor(story_colors::kGreen);
  QColor wrongAnswerColor = toQColor(story_colors::kRed);
  qreal swipeBottomPadding = widget_layout::kSwipeBottomPadding;
  qreal swipeSpacing = widget_layout::kSwipeSpacing;
  qreal swipeDiscSize = widget_layout::kSwipeDiscSize;
  QColor swipeDiscColor = toQColor(widget_layout::kSwipeDiscColor);
  qreal swipeChevronSize = widget_layout::kSwipeChevronSize;
  qreal swipeChevronLift = widget_layout::kSwipeChevronLift;
  QColor swipeHintColor = toQColor(widget_layout::kSwipeHintColor);
  qreal bounceOffset = widget_layout::kBounceOffset;
  qreal bounceRestingOpacity = widget_layout::kBounceRestingOpacity;
  qreal bounceRaisedOpacity = widget_layout::kBounceRaisedOpacity;
  int spinnerTurnMilliseconds = static_cast<int>(widget_layout::kSpinnerTurnDuration * 1000);
  int bounceHalfPeriodMilliseconds = static_cast<int>(widget_layout::kBounceHalfPeriod * 1000);
};

}  // namespace quenmark::qt
