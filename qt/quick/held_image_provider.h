#pragma once

#include <quenmark/url.h>

#include <QQuickImageProvider>
#include <QString>
#include <QUrl>

class QQmlEngine;

namespace quenmark::qt {

/// The pictures `StoryRemoteImage` views hold (`HeldImages`) for their QML `Image` items, under the image
/// provider id "quenmark-held": the source of the held picture of `url` is "image://quenmark-held/"
/// followed by the percent-encoded text of `url` (`heldImageSource`).
///
/// Its pictures are in memory, so it answers at once, on the thread that asks (the GUI thread, for an
/// `Image` that is not `asynchronous`): the `Image` is ready in the turn its source is set, and the
/// frame that shows the view already shows the picture. The pixels are wrapped, not copied; a
/// `sourceSize` smaller than the picture gives a copy scaled down to cover it, made when the scene graph
/// first takes the texture. A picture no view holds gives `Image.Error`.
class HeldImageProvider final : public QQuickImageProvider {
 public:
  static constexpr const char* kId = "quenmark-held";

  HeldImageProvider() : QQuickImageProvider(QQuickImageProvider::Texture) {}

  QQuickTextureFactory* requestTexture(const QString& id, QSize* size, const QSize& requestedSize) override;

  /// Adds a provider to `engine` unless it has one. The engine owns it. GUI thread.
  static void installInto(QQmlEngine& engine);
};

/// "image://quenmark-held/<percent-encoded url>".
QUrl heldImageSource(const Url& url);

}  // namespace quenmark::qt
