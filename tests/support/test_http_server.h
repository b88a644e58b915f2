#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <quenmark/url.h>

namespace quenmark::testsupport {

/// One request as the server received it.
struct RecordedRequest {
  std::string method;
  std::string path;                                 ///< Path without the query, percent-decoded.
  std::string rawPath;                              ///< Path as sent, percent-encoding kept.
  std::string rawQuery;                             ///< Query text after "?", as sent ("" if none).
  std::multimap<std::string, std::string> headers;  ///< Names lower-cased.
  std::string body;
  int remotePort = 0;

  std::optional<std::string> header(const std::string& name) const;  ///< Case-insensitive.
};

/// A scripted answer.
struct ScriptedResponse {
  int status = 200;
  std::string body;
  std::string contentType = "application/json";
  std::vector<std::pair<std::string, std::string>> headers;
  /// Delay before answering (real time; for timeout tests only).
  std::chrono::milliseconds delay{0};
  /// When set, the body goes out in ten pieces this far apart (real time; for timeout tests only).
  std::chrono::milliseconds trickle{0};
};

/// An answer with `status` and `body`.
inline ScriptedResponse reply(int status, std::string body, std::string contentType = "application/json") {
  ScriptedResponse response;
  response.status = status;
  response.body = std::move(body);
  response.contentType = std::move(contentType);
  return response;
}

/// Holds a route's answer until the test opens it, so that loads stay in flight while the test acts.
class Gate {
 public:
  /// Called by the route's handler (on a server thread) when a request reaches it.
  void arrive() {
    std::lock_guard lock(mutex_);
    ++arrived_;
    changed_.notify_all();
  }
  bool waitForArrivals(int count = 1) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds{5}, [&] { return arrived_ >= count; });
  }
  void open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void waitUntilOpen() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds{5}, [&] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int arrived_ = 0;
  bool open_ = false;
};

/// An HTTP server on 127.0.0.1 with a free port, running on its own threads, that records every request
/// and answers from per-route scripts. Unscripted requests get 404.
class TestHttpServer {
 public:
  /// Without `keepAlive` every response closes its connection, so that a client that outlives the server
  /// (the process-wide HTTP session) does not hold the server's shutdown on its keep-alive wait.
  explicit TestHttpServer(bool keepAlive = false);
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  int port() const;
  /// "http://127.0.0.1:PORT"
  Url baseUrl() const;

  /// Answers every request to `method` + `path` (exact path, query ignored) with `response`.
  void on(const std::string& method, const std::string& path, ScriptedResponse response);
  /// Answers with a handler's response.
  void on(const std::string& method, const std::string& path,
          std::function<ScriptedResponse(const RecordedRequest&)> handler);

  std::vector<RecordedRequest> requests() const;
  std::vector<RecordedRequest> requestsTo(const std::string& path) const;
  std::size_t requestCount() const;
  /// Distinct client connections seen so far.
  std::size_t connectionCount() const;
  void clear();

  /// Blocks (on a condition variable, not a sleep) until `count` requests have arrived or `timeout`.
  bool waitForRequests(std::size_t count, std::chrono::milliseconds timeout = std::chrono::milliseconds{5000}) const;
  /// The same for `count` requests to `path`.
  bool waitForRequestsTo(const std::string& path, std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::milliseconds{10000}) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quenmark::testsupport
