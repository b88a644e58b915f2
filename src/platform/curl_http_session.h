#pragma once

#include <quenmark/platform/http_session.h>

#include <cstddef>
#include <memory>

namespace quenmark::platform {

/// The default HTTP session: the libcurl multi interface driven by one worker thread.
///
/// Connections are cached (bounded) and reused between requests to the same host. Completions run on
/// the worker thread. Destroying the session completes every request still in flight with a
/// `cancelled` error and joins the worker (or, when destroyed from inside one of its own completions,
/// lets the worker finish by itself).
class CurlHttpSession final : public HttpSession {
 public:
  struct Options {
    std::size_t maxResponseBytes = 32u * 1024u * 1024u;
    long maxConnections = 8;
    long maxConnectionsPerHost = 6;
  };

  explicit CurlHttpSession(Options options);
  CurlHttpSession() : CurlHttpSession(Options{}) {}
  ~CurlHttpSession() override;
  CurlHttpSession(const CurlHttpSession&) = delete;
  CurlHttpSession& operator=(const CurlHttpSession&) = delete;

  void send(HttpRequest request, HttpCompletion completion) override;
  bool waitUntilIdle(std::chrono::milliseconds timeout) override;

 private:
  struct Impl;
  std::shared_ptr<Impl> impl_;
};

}  // namespace quenmark::platform
