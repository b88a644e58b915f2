#pragma once

#include <quenmark/error.h>
#include <quenmark/export.h>
#include <quenmark/url.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quenmark::platform {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
  explicit HttpRequest(Url target, std::string httpMethod = "GET", HttpHeaders httpHeaders = {},
                       std::optional<std::string> httpBody = std::nullopt, double timeout = 60.0)
      : url(std::move(target)),
        method(std::move(httpMethod)),
        headers(std::move(httpHeaders)),
        body(std::move(httpBody)),
        timeoutSeconds(timeout) {}

  Url url;
  std::string method = "GET";
  HttpHeaders headers;
  std::optional<std::string> body;
  double timeoutSeconds = 60.0;
  /// When true, `timeoutSeconds` bounds how long the transfer may go without data arriving (less than a
  /// byte a second) rather than its whole duration, so that a large file on a slow link can finish.
  bool timeoutOnlyWhenStalled = false;
  /// Whether the session follows redirects; when false a 3xx answer is delivered as the response.
  /// `sendRequest` turns it off for requests that carry the SDK's own headers.
  bool followRedirects = true;
};

struct HttpResponse {
  int status = 0;
  /// Response headers in the order received; names as sent by the server.
  HttpHeaders headers;
  /// Absent when the response carried no body bytes.
  std::optional<std::string> body;

  /// The first header named `name` (compared without regard to case).
  std::optional<std::string> header(std::string_view name) const;
};

/// A transfer's outcome: a response of any status, or an `Error` of kind transport or cancelled
/// (code = the library's error code, description = its message).
using HttpResult = Result<HttpResponse>;
using HttpCompletion = std::function<void(HttpResult)>;

/// The process-wide HTTP session.
///
/// `send` may be called from any thread and returns at once. The completion runs exactly once on the
/// session's own background thread, never inline and never on the main thread; hop to the main thread
/// before touching SDK state. TLS peers are always verified. Sessions honour every field of `HttpRequest`,
/// `timeoutOnlyWhenStalled` and `followRedirects` included.
class QUENMARK_EXPORT HttpSession {
 public:
  virtual ~HttpSession();
  virtual void send(HttpRequest request, HttpCompletion completion) = 0;
  /// Blocks until no request is in flight or `timeout` passes; true when idle. Console hosts call it
  /// before they exit so that fire-and-forget reports reach the service. Never call it on a thread that
  /// a completion needs.
  virtual bool waitUntilIdle(std::chrono::milliseconds timeout);
};

/// Sends `request` on the installed platform's session, enforcing the SDK's transport policy for requests
/// that carry the SDK's own headers (those named "X-Talewyn-...": the SDK key and the host's identity):
/// - over plain HTTP to a host that is not loopback such a request is not sent; it completes (on the
///   session's thread rules: asynchronously, off the caller's stack) with an
///   `ErrorKind::insecureTransport` error;
/// - it follows no redirect, so that the headers never travel to another origin or over plain HTTP; the
///   redirect comes back as the response.
/// Other requests (media) are sent as they are and follow redirects.
QUENMARK_EXPORT void sendRequest(HttpRequest request, HttpCompletion completion);

}  // namespace quenmark::platform
