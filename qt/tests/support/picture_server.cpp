#include "picture_server.h"

#include <QBuffer>
#include <QPainter>

#include <chrono>

namespace quenmark::qttest {
namespace {

std::string encodePng(const QImage& picture) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return bytes.toStdString();
}

testsupport::ScriptedResponse pngResponse(std::string bytes) {
  testsupport::ScriptedResponse response;
  response.body = std::move(bytes);
  response.contentType = "image/png";
  return response;
}

}  // namespace

QImage makePicture(QSize size, const QColor& top, const QColor& bottom) {
  QImage picture(size, QImage::Format_RGBA8888);
  QPainter painter(&picture);
  const int half = size.height() / 2;
  painter.fillRect(0, 0, size.width(), half, top);
  painter.fillRect(0, half, size.width(), size.height() - half, bottom);
  return picture;
}

PictureServer::~PictureServer() {
  std::lock_guard lock(mutex_);
  closing_ = true;
  released_.notify_all();
}

Url PictureServer::url(const std::string& path) const { return *Url::parse(server_.baseUrl().string() + path); }

void PictureServer::serve(const std::string& path, const QImage& picture) {
  route(path, pngResponse(encodePng(picture)), false);
}

void PictureServer::hold(const std::string& path, const QImage& picture) {
  route(path, pngResponse(encodePng(picture)), true);
}

void PictureServer::release(const std::string& path) {
  std::lock_guard lock(mutex_);
  releasedPaths_.insert(path);
  released_.notify_all();
}

void PictureServer::serveFailure(const std::string& path) {
  testsupport::ScriptedResponse response;
  response.status = 404;
  response.body = "<html><body>Not found</body></html>";
  response.contentType = "text/html";
  route(path, std::move(response), false);
}

std::size_t PictureServer::requestCount(const std::string& path) const {
  std::lock_guard lock(mutex_);
  auto found = arrivals_.find(path);
  return found == arrivals_.end() ? 0 : found->second;
}

void PictureServer::route(const std::string& path, testsupport::ScriptedResponse response, bool held) {
  server_.on("GET", path, [this, path, response, held](const testsupport::RecordedRequest&) {
    // On a server thread. The wait is bounded, so that a test that forgets to release cannot hang.
    std::unique_lock lock(mutex_);
    ++arrivals_[path];
    if (held) {
      released_.wait_for(lock, std::chrono::seconds{10}, [&] { return closing_ || releasedPaths_.count(path) != 0; });
    }
    return response;
  });
}

}  // namespace quenmark::qttest
