#pragma once

#include <quenmark/url.h>

#include <atomic>
#include <memory>
#include <string>

namespace quenmark::testsupport {

/// The ways a `HostileServer` misbehaves on every request it receives.
enum class Fault {
  resetMidBody,         ///< Announces a body, sends half of it, then resets the connection.
  dripBody,             ///< Announces a body and sends one byte of it every 50 ms, slower than any timeout.
  garbage500,           ///< Status 500 with bytes that are neither JSON nor text.
  garbage503,           ///< Status 503 with "Retry-After" and bytes that are neither JSON nor text.
  truncatedChunks,      ///< Chunked encoding that stops inside a chunk and closes the connection.
  oversizedBody,        ///< Announces 64 MiB and streams it until the client gives up.
  stalledTlsHandshake,  ///< Speaks TLS: answers the client's hello with its own, then sends nothing more.
  closeBeforeHeaders,   ///< Reads the request and closes the connection without a word.
  redirectLoop,         ///< Redirects every request to its own URL.
};

/// A deliberately broken server on 127.0.0.1 with a free port, made of raw sockets (and OpenSSL for the
/// TLS fault), that answers every request with `fault`. Each connection runs on its own thread; the
/// destructor stops waiting answers and joins them all.
class HostileServer {
 public:
  explicit HostileServer(Fault fault);
  ~HostileServer();
  HostileServer(const HostileServer&) = delete;
  HostileServer& operator=(const HostileServer&) = delete;

  /// "http://127.0.0.1:PORT", or "https://..." for `stalledTlsHandshake`.
  Url baseUrl() const;
  /// Connections accepted so far.
  std::size_t connectionCount() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

/// The fault's name as tests print it ("resetMidBody").
std::string faultName(Fault fault);

}  // namespace quenmark::testsupport
