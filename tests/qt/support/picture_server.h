#pragma once

#include <quenmark/url.h>

#include "test_http_server.h"

#include <QColor>
#include <QImage>

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>

namespace quenmark::qttest {

/// A `size` picture whose top half is `top` and bottom half `bottom`: fit and fill show different parts.
QImage makePicture(QSize size, const QColor& top, const QColor& bottom);

/// PNG pictures on the local test HTTP server (127.0.0.1). Paths it does not serve answer 404.
class PictureServer {
 public:
  PictureServer() = default;
  ~PictureServer();  // lets held answers go, so that no server thread outwaits the server
  PictureServer(const PictureServer&) = delete;
  PictureServer& operator=(const PictureServer&) = delete;

  Url url(const std::string& path) const { return *Url::parse(server.baseUrl().string() + path); }
  /// Answers `path` with `picture`; with `held`, only once `release(path)` is called, so that its load
  /// stays in flight meanwhile.
  void serve(const std::string& path, const QImage& picture, bool held = false);
  /// Answers `path` with `body`, held the same way.
  void serveBody(const std::string& path, std::string body, const std::string& contentType, bool held = false);
  void release(const std::string& path);
  /// Requests to `path` answered so far.
  std::size_t requestCount(const std::string& path) const { return server.requestsTo(path).size(); }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  std::set<std::string> releasedPaths_;  // guarded by mutex_
  bool closing_ = false;                 // guarded by mutex_

 public:
  testsupport::TestHttpServer server;  // last, so destroyed first: its handlers wait on the members above
};

}  // namespace quenmark::qttest
