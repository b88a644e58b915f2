#include "picture_server.h"

#include <QBuffer>
#include <QPainter>

#include <chrono>

namespace quenmark::qttest {

QImage makePicture(QSize size, const QColor& top, const QColor& bottom) {
  QImage picture(size, QImage::Format_RGBA8888);
  QPainter painter(&picture);
  painter.fillRect(0, 0, size.width(), size.height() / 2, top);
  painter.fillRect(0, size.height() / 2, size.width(), size.height() - size.height() / 2, bottom);
  return picture;
}

PictureServer::~PictureServer() {
  std::lock_guard lock(mutex_);
  closing_ = true;
  released_.notify_all();
}

void PictureServer::serve(const std::string& path, const QImage& picture, bool held) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  serveBody(path, png.toStdString(), "image/png", held);
}

void PictureServer::serveBody(const std::string& path, std::string body, const std::string& contentType, bool held) {
  testsupport::ScriptedResponse response{200, std::move(body), contentType, {}, {}};
  server.on("GET", path, [this, path, response, held](const testsupport::RecordedRequest&) {
    // On a server thread; bounded, so that a test that forgets to release cannot hang.
    std::unique_lock lock(mutex_);
    if (held)
      released_.wait_for(lock, std::chrono::seconds{10}, [&] { return closing_ || releasedPaths_.count(path); });
    return response;
  });
}

void PictureServer::release(const std::string& path) {
  std::lock_guard lock(mutex_);
  releasedPaths_.insert(path);
  released_.notify_all();
}

}  // namespace quenmark::qttest
