#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>

#include "devserver/dev_store.h"
#include "devserver/http_exchange.h"
#include "devserver/listen_socket.h"
#include "devserver/outcome.h"

struct MHD_Daemon;

namespace quenmark::devserver {

/// How much one client may take of the server.
struct HttpLimits {
  /// Request bodies above this many received bytes get 413, whether framed by length or in chunks.
  std::size_t maxBodyBytes = 256 * 1024;
  /// The rest of a body above the limit is read and dropped up to this many bytes before the 413 is sent,
  /// so that a client still sending reads the answer; larger bodies get it at once, and the connection closes.
  std::uint64_t maxDiscardedBytes = 16 * 1024 * 1024;
  /// Memory for one connection's request line, headers and buffers; a larger header block gets 431.
  std::size_t connectionMemoryBytes = 64 * 1024;
  /// Connections served at once; more wait in the listen backlog.
  unsigned maxConnections = 512;
  /// A connection that sends nothing (also between keep-alive requests) for this long is closed.
  unsigned idleTimeoutSeconds = 10;
  /// Event-loop threads; each serves many connections, so slow or idle clients hold none of them.
  unsigned threads = 4;
};

/// PEM texts of a certificate and its private key.
struct TlsCredentials {
  std::string certificate;
  std::string privateKey;
};

/// The HTTP layer of the service: event-loop threads that read requests, enforce the limits, hand each
/// complete request to the handler and send its answer (files straight from their descriptor), and log
/// one line per answered request. Handlers run on the loop threads and may be called concurrently.
class HttpDaemon {
 public:
  using Handler = std::function<HttpAnswer(const HttpRequest&)>;

  /// `accessLog`, when set, gets "METHOD /path STATUS" lines, with control characters of the path escaped.
  HttpDaemon(Handler handler, HttpLimits limits, std::ostream* accessLog);
  ~HttpDaemon();
  HttpDaemon(const HttpDaemon&) = delete;
  HttpDaemon& operator=(const HttpDaemon&) = delete;

  /// Starts serving on `socket`, which the daemon owns from then on; with TLS when `tls` is given.
  Outcome<Done> start(ListenSocket socket, const TlsCredentials* tls);
  /// Closes every connection and waits for the loop threads; requests being handled finish first. Not from
  /// a handler. Safe more than once.
  void stop();

 private:
  friend struct HttpDaemonCallbacks;
  struct Exchange;
  void log(const Exchange& exchange);

  Handler handler_;
  HttpLimits limits_;
  std::ostream* accessLog_;
  std::mutex logMutex_;
  TlsCredentials tls_;
  MHD_Daemon* daemon_ = nullptr;
};

}  // namespace quenmark::devserver
