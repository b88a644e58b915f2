#pragma once

#include <quenmark/banners/banner_layout_constants.h>
#include <quenmark/banners/banner_swipe.h>

#include "qt_conversions.h"

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QObject>

namespace quenmark::qt {

/// The banner card's indicator colours, sizes (logical pixels) and drag distance, as `Theme.banner`.
///
/// Qt 6.4's software renderer has no blur: a shadow is drawn as rings one pixel apart around the shape,
/// as many as the blur radius, shifted by the offset, each with an equal share of the shadow's opacity.
class BannerMetrics {
  Q_GADGET
  QML_VALUE_TYPE(bannerMetrics)
  QML_UNCREATABLE("Read it from Theme.banner.")
  Q_PROPERTY(QColor dotsBackground MEMBER dotsBackground CONSTANT FINAL)
  Q_PROPERTY(QColor dotsShadowRing MEMBER dotsShadowRing CONSTANT FINAL)
  Q_PROPERTY(int dotsShadowRings MEMBER dotsShadowRings CONSTANT FINAL)
  Q_PROPERTY(qreal dotsShadowOffsetX MEMBER dotsShadowOffsetX CONSTANT FINAL)
  Q_PROPERTY(qreal dotsShadowOffsetY MEMBER dotsShadowOffsetY CONSTANT FINAL)
  Q_PROPERTY(qreal segmentHeight MEMBER segmentHeight CONSTANT FINAL)
  Q_PROPERTY(QColor segmentTrack MEMBER segmentTrack CONSTANT FINAL)
  Q_PROPERTY(QColor segmentFill MEMBER segmentFill CONSTANT FINAL)
  Q_PROPERTY(QColor segmentsShadowRing MEMBER segmentsShadowRing CONSTANT FINAL)
  Q_PROPERTY(int segmentsShadowRings MEMBER segmentsShadowRings CONSTANT FINAL)
  Q_PROPERTY(qreal segmentsShadowOffsetX MEMBER segmentsShadowOffsetX CONSTANT FINAL)
  Q_PROPERTY(qreal segmentsShadowOffsetY MEMBER segmentsShadowOffsetY CONSTANT FINAL)
  Q_PROPERTY(qreal minimumDragDistance MEMBER minimumDragDistance CONSTANT FINAL)

 public:
  static QColor ring(const banner_layout::Shadow& shadow) {
    const Color& color = shadow.color;
    return toQColor(Color(color.red(), color.green(), color.blue(), color.alpha() / shadow.radius));
  }

  QColor dotsBackground = toQColor(banner_layout::kDotsBackground);
  QColor dotsShadowRing = ring(banner_layout::kDotsShadow);
  int dotsShadowRings = static_cast<int>(banner_layout::kDotsShadow.radius);
  qreal dotsShadowOffsetX = banner_layout::kDotsShadow.offsetX;
  qreal dotsShadowOffsetY = banner_layout::kDotsShadow.offsetY;
  qreal segmentHeight = banner_layout::kSegmentHeight;
  QColor segmentTrack = toQColor(banner_layout::kSegmentTrackColor);
  QColor segmentFill = toQColor(banner_layout::kSegmentFillColor);
  QColor segmentsShadowRing = ring(banner_layout::kSegmentsShadow);
  int segmentsShadowRings = static_cast<int>(banner_layout::kSegmentsShadow.radius);
  qreal segmentsShadowOffsetX = banner_layout::kSegmentsShadow.offsetX;
  qreal segmentsShadowOffsetY = banner_layout::kSegmentsShadow.offsetY;
  qreal minimumDragDistance = banner_gesture::kMinimumDragDistance;
};

}  // namespace quenmark::qt
