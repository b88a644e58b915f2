#include "image_wrapping.h"

namespace quenmark::qt {

QImage wrapImage(std::shared_ptr<const Image> image) {
  if (!image || image->width() == 0 || image->height() == 0) return {};
  const auto* pixels = image->pixels();
  const int width = static_cast<int>(image->width());
  const int height = static_cast<int>(image->height());
  const auto stride = static_cast<qsizetype>(image->stride());
  // The core's pixels are straight RGBA bytes, which is exactly Format_RGBA8888.
  auto* owner = new std::shared_ptr<const Image>(std::move(image));
  return QImage(
      pixels, width, height, stride, QImage::Format_RGBA8888,
      [](void* keep) { delete static_cast<std::shared_ptr<const Image>*>(keep); }, owner);
}

}  // namespace quenmark::qt
