#pragma once

#include <QImage>
#include <QQuickTextureFactory>
#include <QSize>

#include <mutex>

namespace quenmark::qt {

/// The size to which a picture of `image` pixels is scaled down for an `Image` asking for `requested`
/// (its `sourceSize`; zero sides ask nothing): the smallest that still covers the request, for fit and
/// fill alike, with the picture's aspect. Never larger than the picture. Any thread.
QSize coveringSize(QSize image, QSize requested);

/// Hands a picture to the scene graph as it is, or scaled down to `size` the first time the scene
/// graph asks for it, wherever that is (the render thread, or the GUI thread with a single-threaded
/// render loop). Qt's own factory for images converts every picture to premultiplied ARGB first, a full
/// copy; here only the renderer converts, if its textures need it. Thread-safe.
class PictureTextureFactory final : public QQuickTextureFactory {
 public:
  PictureTextureFactory(QImage picture, QSize size) : picture_(std::move(picture)), size_(size) {}

  QSGTexture* createTexture(QQuickWindow* window) const override;
  QSize textureSize() const override { return size_; }
  int textureByteCount() const override { return size_.width() * size_.height() * 4; }
  QImage image() const override;

 private:
  mutable std::mutex mutex_;
  mutable QImage picture_;  // scaled to `size_` on first use; guarded by mutex_
  QSize size_;
};

}  // namespace quenmark::qt
