#include "pipeline_image_provider.h"

#include "held_images.h"
#include "image_wrapping.h"

#include <quenmark/net/story_image_pipeline.h>

#include <QMetaObject>
#include <QQmlEngine>
#include <QQuickWindow>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <utility>

namespace quenmark::qt {
namespace {

class PipelineImageResponse;

/// The outcome of one request, shared by the response and whatever settles it (the pipeline's answer on
/// the main thread, or the request itself). The engine may delete the response at any time; it clears
/// `response` first, under the lock.
struct Delivery {
  std::mutex mutex;
  PipelineImageResponse* response = nullptr;
  QImage image;
  QString error;
  bool settled = false;
};

/// The smallest scale at which `image` still covers `requested`; 1 when nothing smaller is asked for.
double coveringScale(QSize image, QSize requested) {
  double scale = 1.0;
  if (requested.width() > 0 && requested.height() > 0) {
    scale = std::max(double(requested.width()) / image.width(), double(requested.height()) / image.height());
  } else if (requested.width() > 0) {
    scale = double(requested.width()) / image.width();
  } else if (requested.height() > 0) {
    scale = double(requested.height()) / image.height();
  }
  return std::min(scale, 1.0);
}

/// Hands the picture to the scene graph as it is. Qt's own factory for images converts every picture to
/// premultiplied ARGB first, a full copy; here only the renderer converts, if its textures need it.
class WrappedImageTextureFactory final : public QQuickTextureFactory {
 public:
  explicit WrappedImageTextureFactory(QImage image) : image_(std::move(image)) {}

  QSGTexture* createTexture(QQuickWindow* window) const override { return window->createTextureFromImage(image_); }
  QSize textureSize() const override { return image_.size(); }
  int textureByteCount() const override { return static_cast<int>(image_.sizeInBytes()); }
  QImage image() const override { return image_; }

 private:
  QImage image_;
};

class PipelineImageResponse final : public QQuickImageResponse {
 public:
  PipelineImageResponse(std::shared_ptr<Delivery> delivery, QSize requestedSize)
      : delivery_(std::move(delivery)), requestedSize_(requestedSize) {
    std::lock_guard lock(delivery_->mutex);
    delivery_->response = this;
  }

  ~PipelineImageResponse() override {
    std::lock_guard lock(delivery_->mutex);
    delivery_->response = nullptr;
  }

  /// Called by the engine after `finished`, on its image thread: scaling happens there.
  QQuickTextureFactory* textureFactory() const override {
    QImage image;
    {
      std::lock_guard lock(delivery_->mutex);
      image = delivery_->image;
    }
    if (image.isNull()) return nullptr;
    const double scale = coveringScale(image.size(), requestedSize_);
    if (scale < 1.0) {
      const QSize target(std::max(1, int(std::lround(image.width() * scale))),
                         std::max(1, int(std::lround(image.height() * scale))));
      image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return new WrappedImageTextureFactory(std::move(image));
  }

  QString errorString() const override {
    std::lock_guard lock(delivery_->mutex);
    return delivery_->error;
  }

  void cancel() override { settle(delivery_, nullptr, QStringLiteral("Cancelled")); }

  /// Stores the outcome once and emits `finished` on the response's own thread. Any thread.
  static void settle(const std::shared_ptr<Delivery>& delivery, std::shared_ptr<const Image> picture, QString error) {
    QImage image = wrapImage(std::move(picture));
    std::lock_guard lock(delivery->mutex);
    if (delivery->settled) return;
    delivery->settled = true;
    delivery->image = std::move(image);
    delivery->error = std::move(error);
    if (auto* response = delivery->response) {
      // Queued: a response deleted before the call runs takes the call with it.
      QMetaObject::invokeMethod(
          response, [response] { Q_EMIT response->finished(); }, Qt::QueuedConnection);
    }
  }

 private:
  std::shared_ptr<Delivery> delivery_;
  QSize requestedSize_;
};

}  // namespace

QQuickImageResponse* PipelineImageProvider::requestImageResponse(const QString& id, const QSize& requestedSize) {
  auto delivery = std::make_shared<Delivery>();
  auto* response = new PipelineImageResponse(delivery, requestedSize);
  // The held pictures and the pipeline may be asked from any thread; the pipeline answers on the main
  // thread, and `finished` is always emitted later, from the response's event loop.
  const std::optional<Url> url = urlFromImageId(id);
  if (!url) {
    PipelineImageResponse::settle(delivery, nullptr, QStringLiteral("Not a picture address: ") + id);
  } else if (auto held = HeldImages::find(url->string())) {
    PipelineImageResponse::settle(delivery, std::move(held), QString());
  } else {
    // quenmark::Image: inside the provider, a bare Image names QQmlImageProviderBase::Image.
    StoryImagePipeline::shared().imageFor(
        *url, [delivery, text = url->string()](std::shared_ptr<const quenmark::Image> image) {
          // On the main thread.
          QString error = image ? QString() : QStringLiteral("No picture at ") + QString::fromStdString(text);
          PipelineImageResponse::settle(delivery, std::move(image), std::move(error));
        });
  }
  return response;
}

void PipelineImageProvider::installInto(QQmlEngine& engine) {
  if (engine.imageProvider(QString::fromLatin1(kId)) == nullptr) {
    engine.addImageProvider(QString::fromLatin1(kId), new PipelineImageProvider());
  }
}

QUrl imageSource(const Url& url) {
  const QByteArray encoded = QUrl::toPercentEncoding(QString::fromStdString(url.string()));
  return QUrl(QStringLiteral("image://%1/%2")
                  .arg(QString::fromLatin1(PipelineImageProvider::kId), QString::fromLatin1(encoded)),
              QUrl::StrictMode);
}

std::optional<Url> urlFromImageId(const QString& id) {
  return Url::parse(QUrl::fromPercentEncoding(id.toUtf8()).toStdString());
}

}  // namespace quenmark::qt
