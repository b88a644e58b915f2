#pragma once

#include "banner_carousel_model.h"

#include <QtQml/qqmlregistration.h>
#include <QPointer>
#include <QQuickPaintedItem>

namespace quenmark::qt {

/// The picture layer of a banner card: the carousel's picture, fitted or filling, clipped to the card's
/// rounded shape (antialiased), or the placeholder fill while there is none. Painted in C++ because
/// Qt 6.4's software renderer can neither mask nor clip to a rounded shape. Internal to `BannerView`.
/// GUI thread; `paint` runs on the scene graph's render thread while the GUI thread is blocked, so it
/// may read the carousel.
class BannerCardPicture : public QQuickPaintedItem {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(quenmark::qt::BannerCarouselModel* carousel READ carousel WRITE setCarousel NOTIFY carouselChanged FINAL)

 public:
  explicit BannerCardPicture(QQuickItem* parent = nullptr);

  BannerCarouselModel* carousel() const { return carousel_; }
  void setCarousel(BannerCarouselModel* carousel);

  void paint(QPainter* painter) override;

 Q_SIGNALS:
  void carouselChanged();

 private:
  QPointer<BannerCarouselModel> carousel_;
};

}  // namespace quenmark::qt
