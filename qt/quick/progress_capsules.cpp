#include "progress_capsules.h"

#include <QPainter>

#include <algorithm>

namespace quenmark::qt {

ProgressCapsules::ProgressCapsules(QQuickItem* parent) : QQuickPaintedItem(parent) {
  setAntialiasing(true);
  glide_.setStartValue(0.0);
  glide_.setEndValue(1.0);
  glide_.setDuration(0);
  connect(&glide_, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

void ProgressCapsules::setFills(const QList<qreal>& fills) {
  if (fills == to_) return;
  QList<qreal> shown;
  if (fills.size() == to_.size()) {
    for (qsizetype index = 0; index < to_.size(); ++index) shown.append(shownFill(index));
  }
  glide_.stop();
  to_ = fills;
  if (shown.isEmpty() || glide_.duration() <= 0) {
    from_ = fills;
  } else {
    from_ = std::move(shown);
    glide_.start();
  }
  update();
  Q_EMIT fillsChanged();
}

void ProgressCapsules::setSpacing(qreal spacing) {
  if (spacing == spacing_) return;
  spacing_ = spacing;
  update();
  Q_EMIT spacingChanged();
}

void ProgressCapsules::setTrackColor(const QColor& color) {
  if (color == trackColor_) return;
  trackColor_ = color;
  update();
  Q_EMIT trackColorChanged();
}

void ProgressCapsules::setFillColor(const QColor& color) {
  if (color == fillColor_) return;
  fillColor_ = color;
  update();
  Q_EMIT fillColorChanged();
}

void ProgressCapsules::setGlideMilliseconds(int milliseconds) {
  milliseconds = std::max(0, milliseconds);
  if (milliseconds == glide_.duration()) return;
  glide_.setDuration(milliseconds);
  Q_EMIT glideMillisecondsChanged();
}

qreal ProgressCapsules::shownFill(qsizetype index) const {
  const qreal to = to_.value(index);
  if (glide_.state() != QAbstractAnimation::Running) return to;
  const qreal from = from_.value(index);
  return from + (to - from) * glide_.currentValue().toReal();
}

void ProgressCapsules::paint(QPainter* painter) {
  const auto count = to_.size();
  if (count == 0 || width() <= 0 || height() <= 0) return;
  const qreal capsuleWidth = (width() - spacing_ * qreal(count - 1)) / qreal(count);
  const qreal radius = height() / 2;
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setPen(Qt::NoPen);
  for (qsizetype index = 0; index < count; ++index) {
    const qreal x = qreal(index) * (capsuleWidth + spacing_);
    painter->setBrush(trackColor_);
    painter->drawRoundedRect(QRectF(x, 0, capsuleWidth, height()), radius, radius);
    const qreal fill = std::clamp(shownFill(index), 0.0, 1.0);
    if (fill > 0) {
      painter->setBrush(fillColor_);
      painter->drawRoundedRect(QRectF(x, 0, capsuleWidth * fill, height()), radius, radius);
    }
  }
}

}  // namespace quenmark::qt
