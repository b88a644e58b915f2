#include "rounded_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>

#include <algorithm>
#include <cmath>

namespace quenmark::qt {

RoundedPicture::RoundedPicture(QQuickItem* parent) : QQuickPaintedItem(parent) {
  // Without a model there is nothing to paint: a painted item would still fill a transparent buffer of
  // its whole size for every frame it changes in.
  setFlag(ItemHasContents, false);
}

void RoundedPicture::setModel(RemoteImageModel* model) {
  if (model == model_) return;
  QObject::disconnect(statusConnection_);
  model_ = model;
  setFlag(ItemHasContents, model_ != nullptr);
  if (model_) {
    statusConnection_ = connect(model_, &RemoteImageModel::statusChanged, this, [this] {
      update();
      Q_EMIT hasPictureChanged();
    });
  }
  update();
  Q_EMIT modelChanged();
  Q_EMIT hasPictureChanged();
}

void RoundedPicture::setRadius(qreal radius) {
  if (radius == radius_) return;
  radius_ = radius;
  update();
  Q_EMIT radiusChanged();
}

void RoundedPicture::setFill(bool fill) {
  if (fill == fill_) return;
  fill_ = fill;
  update();
  Q_EMIT fillChanged();
}

bool RoundedPicture::hasPicture() const { return model_ && !model_->picture().isNull(); }

void RoundedPicture::paint(QPainter* painter) {
  const QImage picture = model_ ? model_->picture() : QImage();
  const QRectF bounds = boundingRect();
  if (picture.isNull() || bounds.isEmpty()) {
    source_ = QImage();
    scaled_ = QImage();
    return;
  }

  // The picture's place in logical pixels, and its copy scaled once to the device's pixels.
  const QSizeF placed =
      QSizeF(picture.size()).scaled(bounds.size(), fill_ ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio);
  const QRectF target(bounds.center() - QPointF(placed.width() / 2, placed.height() / 2), placed);
  const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
  const QSize pixels(std::max(1, int(std::lround(placed.width() * ratio))),
                     std::max(1, int(std::lround(placed.height() * ratio))));
  if (picture.constBits() != source_.constBits() || pixels != scaled_.size()) {
    scaled_ = picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    source_ = picture;
  }

  // Filling the rounded shape with the picture as its brush keeps the edges antialiased (a clip path
  // would not be).
  QPainterPath shape;
  const qreal radius = std::clamp(radius_, 0.0, std::min(bounds.width(), bounds.height()) / 2);
  shape.addRoundedRect(bounds, radius, radius);
  if (!fill_) {
    QPainterPath inside;
    inside.addRect(target);
    shape = shape.intersected(inside);
  }
  QBrush brush(scaled_);
  brush.setTransform(QTransform(1 / ratio, 0, 0, 1 / ratio, target.x(), target.y()));
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setPen(Qt::NoPen);
  painter->setBrush(brush);
  painter->drawPath(shape);
}

}  // namespace quenmark::qt
