#pragma once

#include <quenmark/export.h>
#include <quenmark/url.h>

#include <QQuickAsyncImageProvider>
#include <QString>
#include <QUrl>

#include <optional>

class QQmlEngine;

namespace quenmark::qt {

/// Pictures of the shared `StoryImagePipeline` for QML `Image` items, under the image provider id
/// "quenmark": the source of the picture at `url` is "image://quenmark/" followed by the percent-encoded
/// text of `url` (`imageSource`).
///
/// The engine asks on its image threads; the provider takes the picture a `StoryRemoteImage` holds for
/// the URL or asks the pipeline (which answers on the SDK's main thread), so that every view showing one
/// URL shares one transfer and one decoded picture. The pixels are wrapped, not copied; a `sourceSize` smaller than the
/// picture gives a scaled-down copy that still covers it (for fit and fill alike). No picture gives
/// `Image.Error` with the reason. Exported for the binding's tests and benchmark; hosts never use it.
class QUENMARK_EXPORT PipelineImageProvider final : public QQuickAsyncImageProvider {
 public:
  static constexpr const char* kId = "quenmark";

  /// Called on the engine's image threads.
  QQuickImageResponse* requestImageResponse(const QString& id, const QSize& requestedSize) override;

  /// Adds a provider to `engine` unless it has one. The engine owns it. GUI thread.
  static void installInto(QQmlEngine& engine);
};

/// "image://quenmark/<percent-encoded url>".
QUENMARK_EXPORT QUrl imageSource(const Url& url);

/// The URL named by a provider id (the part after "image://quenmark/"); absent when it names none.
QUENMARK_EXPORT std::optional<Url> urlFromImageId(const QString& id);

}  // namespace quenmark::qt
