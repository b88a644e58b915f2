#pragma once

#include <quenmark/stories/remote_image_loader.h>

#include <QtQml/qqmlregistration.h>
#include <QImage>
#include <QObject>
#include <QQmlParserStatus>
#include <QUrl>

#include <memory>

namespace quenmark::qt {

/// The adapter behind `StoryRemoteImage`: owns the core's `RemoteImageLoader` and publishes its state.
///
/// It comes on screen when QML completes it (the first one in an engine also gives the engine the
/// "quenmark-held" and "quenmark" image providers) and leaves when it is destroyed. `source` is the held picture's
/// provider URL while the loader holds one (an `Image` has it in the turn it asks), and empty
/// otherwise, so a view never shows a stale picture.
/// GUI thread only; the signals are emitted there.
class RemoteImageModel : public QObject, public QQmlParserStatus {
  Q_OBJECT
  Q_INTERFACES(QQmlParserStatus)
  QML_ELEMENT
  Q_PROPERTY(QUrl url READ url WRITE setUrl NOTIFY urlChanged FINAL)
  Q_PROPERTY(Status status READ status NOTIFY statusChanged FINAL)
  Q_PROPERTY(QUrl source READ source NOTIFY statusChanged FINAL)

 public:
  /// The loader's states: the placeholder shows while loading (or without a URL) and after a failure.
  enum class Status { Loading, Loaded, Failed };
  Q_ENUM(Status)

  explicit RemoteImageModel(QObject* parent = nullptr);
  ~RemoteImageModel() override;

  /// The picture's URL as QML set it. Empty, or not absolute, means no picture: the placeholder stays and
  /// neither `loaded` nor `failed` is emitted.
  QUrl url() const { return url_; }
  void setUrl(const QUrl& url);
  Status status() const;
  QUrl source() const;
  /// The picture the loader holds, its pixels shared, not copied; null while the placeholder shows.
  QImage picture() const;

  void classBegin() override {}
  void componentComplete() override;

 Q_SIGNALS:
  void urlChanged();
  void statusChanged();
  /// The picture for the current URL arrived (it shows once the `Image` has it).
  void loaded();
  /// The current URL gave no picture; emitted once per load.
  void failed();

 private:
  QUrl url_;
  std::shared_ptr<RemoteImageLoader> loader_;
};

}  // namespace quenmark::qt
