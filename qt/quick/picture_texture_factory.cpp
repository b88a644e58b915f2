#include "picture_texture_factory.h"

#include <QQuickWindow>

#include <algorithm>
#include <cmath>

namespace quenmark::qt {

QSize coveringSize(QSize image, QSize requested) {
  double scale = 1.0;
  if (requested.width() > 0 && requested.height() > 0) {
    scale = std::max(double(requested.width()) / image.width(), double(requested.height()) / image.height());
  } else if (requested.width() > 0) {
    scale = double(requested.width()) / image.width();
  } else if (requested.height() > 0) {
    scale = double(requested.height()) / image.height();
  }
  if (scale >= 1.0) return image;
  return {std::max(1, int(std::lround(image.width() * scale))), std::max(1, int(std::lround(image.height() * scale)))};
}

QSGTexture* PictureTextureFactory::createTexture(QQuickWindow* window) const {
  return window->createTextureFromImage(image());
}

QImage PictureTextureFactory::image() const {
  std::lock_guard lock(mutex_);
  if (picture_.size() != size_) picture_ = picture_.scaled(size_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return picture_;
}

}  // namespace quenmark::qt
