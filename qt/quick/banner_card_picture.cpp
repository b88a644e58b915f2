#include "banner_card_picture.h"

#include "qt_conversions.h"

#include <quenmark/banners/banner_layout_constants.h>

#include <QPainter>
#include <QPainterPath>

namespace quenmark::qt {

BannerCardPicture::BannerCardPicture(QQuickItem* parent) : QQuickPaintedItem(parent) { setAntialiasing(true); }

void BannerCardPicture::setCarousel(BannerCarouselModel* carousel) {
  if (carousel == carousel_) return;
  if (carousel_) disconnect(carousel_, nullptr, this, nullptr);
  carousel_ = carousel;
  if (carousel_) {
    connect(carousel_, &BannerCarouselModel::pictureChanged, this, [this] { update(); });
    connect(carousel_, &BannerCarouselModel::cardChanged, this, [this] { update(); });
  }
  update();
  Q_EMIT carouselChanged();
}

void BannerCardPicture::paint(QPainter* painter) {
  if (!carousel_) return;
  const QRectF card = boundingRect();
  const qreal radius = carousel_->cornerRadius();
  QPainterPath shape;
  shape.addRoundedRect(card, radius, radius);
  painter->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);

  const QImage picture = carousel_->picture();
  if (picture.isNull() || card.isEmpty()) {
    painter->fillPath(shape, toQColor(banner_layout::kPlaceholderFill));
    return;
  }
  // Fit shows the whole picture, letter-boxed over the card's empty background; fill covers the card
  // and crops the overflow. Either way centred.
  const QSizeF size =
      QSizeF(picture.size())
          .scaled(card.size(), carousel_->picturesFit() ? Qt::KeepAspectRatio : Qt::KeepAspectRatioByExpanding);
  QRectF placed(QPointF(), size);
  placed.moveCenter(card.center());
  QBrush brush(picture);
  brush.setTransform(QTransform::fromTranslate(placed.x(), placed.y())
                         .scale(placed.width() / picture.width(), placed.height() / picture.height()));
  QPainterPath area;
  area.addRect(placed);
  painter->fillPath(shape.intersected(area), brush);
}

}  // namespace quenmark::qt
