#include "held_image_provider.h"

#include "held_images.h"
#include "image_wrapping.h"
#include "picture_texture_factory.h"
#include "pipeline_image_provider.h"

#include <QQmlEngine>

namespace quenmark::qt {

QQuickTextureFactory* HeldImageProvider::requestTexture(const QString& id, QSize* size, const QSize& requestedSize) {
  const std::optional<Url> url = urlFromImageId(id);
  QImage picture = url ? wrapImage(HeldImages::find(url->string())) : QImage();
  if (picture.isNull()) return nullptr;
  const QSize covering = coveringSize(picture.size(), requestedSize);
  if (size != nullptr) *size = covering;
  return new PictureTextureFactory(std::move(picture), covering);
}

void HeldImageProvider::installInto(QQmlEngine& engine) {
  if (engine.imageProvider(QString::fromLatin1(kId)) == nullptr) {
    engine.addImageProvider(QString::fromLatin1(kId), new HeldImageProvider());
  }
}

QUrl heldImageSource(const Url& url) {
  const QByteArray encoded = QUrl::toPercentEncoding(QString::fromStdString(url.string()));
  return QUrl(
      QStringLiteral("image://%1/%2").arg(QString::fromLatin1(HeldImageProvider::kId), QString::fromLatin1(encoded)),
      QUrl::StrictMode);
}

}  // namespace quenmark::qt
