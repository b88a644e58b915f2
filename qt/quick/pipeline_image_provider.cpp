#include "pipeline_image_provider.h"

#include "held_images.h"
#include "image_wrapping.h"
#include "picture_texture_factory.h"

#include <quenmark/net/story_image_pipeline.h>

#include <QMetaObject>
#include <QQmlEngine>

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
    const QSize size = coveringSize(image.size(), requestedSize_);
    if (size != image.size()) image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return new PictureTextureFactory(std::move(image), size);
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
