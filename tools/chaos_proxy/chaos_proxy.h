#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quenmark::chaos {

/// What the proxy may do to one request instead of passing it through.
enum class Fault {
  reset,     ///< Forwards the request, then resets the connection halfway through the answer.
  drip,      ///< Sends the answer's head, then one byte of its body every 50 ms.
  garbage,   ///< Answers 500 or 503 with bytes that are neither JSON nor text.
  truncate,  ///< Forwards the request, then re-sends the answer chunked and stops inside the chunk.
  oversize,  ///< Announces a 64 MiB body and streams white space until the client gives up.
  stall,     ///< Says nothing until the client gives up.
  close,     ///< Closes the connection before any header.
  redirect,  ///< Redirects to a URL that redirects to itself, forever.
};

/// Parses a fault's name as the command line writes it ("reset", "drip", ...).
std::optional<Fault> faultNamed(const std::string& name);
std::string nameOf(Fault fault);

struct ProxyOptions {
  std::string upstreamHost = "127.0.0.1";
  int upstreamPort = 0;
  int listenPort = 0;  ///< 0 picks a free port.
  /// Chance, from 0 to 1, that a request meets one of `faults` (chosen evenly).
  double probability = 0.3;
  std::vector<Fault> faults;
  std::uint32_t seed = 1;
  /// Requests passed through untouched before the faults begin.
  int passFirst = 0;
};

/// An HTTP/1.1 proxy on 127.0.0.1 that stands between the SDK and the content service and spoils requests
/// by chance. Each connection carries one request (answers close it) and runs on its own thread; the
/// request's Host header is passed on as it came, so URLs the service builds from it point at the proxy.
class ChaosProxy {
 public:
  /// `log` receives one line per request ("GET /path pass", "POST /path reset"), on connection threads,
  /// one call at a time.
  ChaosProxy(ProxyOptions options, std::function<void(const std::string&)> log);
  ~ChaosProxy();
  ChaosProxy(const ChaosProxy&) = delete;
  ChaosProxy& operator=(const ChaosProxy&) = delete;

  /// The listening port.
  int port() const;
  /// Serves until `stop` (from another thread or a signal watcher).
  void run();
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quenmark::chaos
