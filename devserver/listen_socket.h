#pragma once

#include <string>

#include "devserver/http_exchange.h"
#include "devserver/outcome.h"

namespace quenmark::devserver {

/// A TCP socket bound to an address and listening, with a backlog long enough for bursts of connections.
struct ListenSocket {
  FileDescriptor socket;
  int port = 0;

  /// Binds `host` (a name or an address; IPv6 too) on `port`, 0 for a free one. A port in use is a
  /// failure: the address may be reused after a restart, but the port is never shared with another process.
  static Outcome<ListenSocket> open(const std::string& host, int port);
};

}  // namespace quenmark::devserver
