#pragma once

#include <quenmark/url.h>

#include "test_http_server.h"

#include <QColor>
#include <QImage>

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <set>
#include <string>

namespace quenmark::qttest {

/// A picture of `size` whose top half is `top` and bottom half `bottom`: fit and fill show different
/// parts of it.
QImage makePicture(QSize size, const QColor& top, const QColor& bottom);

/// Pictures served as PNG files by the local test HTTP server, on 127.0.0.1.
class PictureServer {
 public:
  PictureServer() = default;
  /// Lets every held answer go, so that no server thread waits past the server.
  ~PictureServer();
  PictureServer(const PictureServer&) = delete;
  PictureServer& operator=(const PictureServer&) = delete;

  /// "http://127.0.0.1:PORT" followed by `path`.
  Url url(const std::string& path) const;
  Url baseUrl() const { return server_.baseUrl(); }

  /// Answers `path` with `picture`.
  void serve(const std::string& path, const QImage& picture);
  /// Answers `path` with `picture` once `release(path)` is called, so that its load stays in flight.
  void hold(const std::string& path, const QImage& picture);
  void release(const std::string& path);
  /// Answers `path` with a 404 error page.
  void serveFailure(const std::string& path);

  /// Requests that reached `path`, answered or held.
  std::size_t requestCount(const std::string& path) const;

 private:
  /// Answers `path` with `response`, counting each request as it arrives and, when `held`, waiting for
  /// `release(path)` before answering.
  void route(const std::string& path, testsupport::ScriptedResponse response, bool held);

  mutable std::mutex mutex_;
  std::condition_variable released_;
  std::set<std::string> releasedPaths_;          // guarded by mutex_
  std::map<std::string, std::size_t> arrivals_;  // guarded by mutex_
  bool closing_ = false;                         // guarded by mutex_
  testsupport::TestHttpServer server_;           // destroyed first: its handlers wait on the members above
};

}  // namespace quenmark::qttest
