#pragma once

#include <quenmark/url.h>

#include "test_http_server.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>

#include <map>
#include <string>

namespace quenmark::qttest {

/// A PNG of `size` whose top half is `top` and bottom half `bottom` (fit and fill show different parts).
inline std::string makePng(QSize size, const QColor& top, const QColor& bottom) {
  QImage picture(size, QImage::Format_RGBA8888);
  picture.fill(bottom);
  QPainter(&picture).fillRect(0, 0, size.width(), size.height() / 2, top);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return png.toStdString();
}

/// Answers on the local test HTTP server (127.0.0.1); paths it does not serve answer 404. A held answer
/// goes out only once `release(path)` is called, so that its load stays in flight meanwhile.
class PictureServer {
 public:
  ~PictureServer() {
    for (auto& [path, gate] : gates_) gate.open();  // no held answer outwaits the server
  }

  Url url(const std::string& path) const { return *Url::parse(server.baseUrl().string() + path); }
  void serve(const std::string& path, std::string body, const std::string& contentType, bool held = false) {
    testsupport::Gate* gate = held ? &gates_[path] : nullptr;
    server.on("GET", path, [gate, response = testsupport::reply(200, std::move(body), contentType)](auto&) {
      if (gate) gate->waitUntilOpen();  // on a server thread, for five seconds at most
      return response;
    });
  }
  void release(const std::string& path) { gates_[path].open(); }
  std::size_t requestCount(const std::string& path) const { return server.requestsTo(path).size(); }

 private:
  std::map<std::string, testsupport::Gate> gates_;  // made and opened on the test's thread only

 public:
  testsupport::TestHttpServer server;  // last, so destroyed first: its handlers wait on the gates
};

}  // namespace quenmark::qttest
