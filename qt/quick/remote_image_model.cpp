#include "remote_image_model.h"

#include "held_image_provider.h"
#include "held_images.h"
#include "image_wrapping.h"
#include "pipeline_image_provider.h"
#include "qt_conversions.h"

#include <QPointer>
#include <QQmlEngine>

namespace quenmark::qt {

RemoteImageModel::RemoteImageModel(QObject* parent) : QObject(parent) {
  // The loader calls back synchronously on the GUI thread; QPointer covers a handler that deletes us.
  QPointer<RemoteImageModel> self(this);
  loader_ = RemoteImageLoader::create(
      std::nullopt,
      [self](const std::shared_ptr<const Image>&) {
        if (self) Q_EMIT self->loaded();
      },
      [self] {
        if (self) Q_EMIT self->failed();
      });
  loader_->setOnChange([self] {
    if (!self) return;
    const auto& loader = *self->loader_;
    if (loader.image() && loader.url()) HeldImages::remember(loader.url()->string(), loader.image());
    Q_EMIT self->statusChanged();
  });
}

RemoteImageModel::~RemoteImageModel() { loader_->disappear(); }

void RemoteImageModel::setUrl(const QUrl& url) {
  if (url == url_) return;
  url_ = url;
  loader_->setUrl(toCoreUrl(url));
  Q_EMIT urlChanged();
}

RemoteImageModel::Status RemoteImageModel::status() const {
  switch (loader_->state()) {
    case RemoteImageState::loading: return Status::Loading;
    case RemoteImageState::loaded: return Status::Loaded;
    case RemoteImageState::failed: return Status::Failed;
  }
  return Status::Loading;
}

QUrl RemoteImageModel::source() const {
  const auto& loader = *loader_;
  return loader.image() && loader.url() ? heldImageSource(*loader.url()) : QUrl();
}

QImage RemoteImageModel::picture() const { return wrapImage(loader_->image()); }

void RemoteImageModel::componentComplete() {
  if (QQmlEngine* engine = qmlEngine(this)) {
    HeldImageProvider::installInto(*engine);
    PipelineImageProvider::installInto(*engine);
  }
  loader_->appear();
}

}  // namespace quenmark::qt
