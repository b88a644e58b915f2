#pragma once

#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>

#include "devserver/content_catalog.h"
#include "devserver/dev_store.h"
#include "devserver/http_daemon.h"
#include "devserver/outcome.h"

namespace quenmark::devserver {

struct ServerOptions {
  std::string host = "127.0.0.1";
  int port = 0;  ///< 0 picks a free port.
  /// Directory served under /media/; empty serves no media.
  std::filesystem::path mediaDir;
  /// PEM certificate and private key; both set switches the server to HTTPS.
  std::filesystem::path certFile;
  std::filesystem::path keyFile;
  /// One line per request ("GET /path 200") when set; written from the server's threads under a lock.
  std::ostream* accessLog = nullptr;
  /// What one client may take: body size (256 KiB), header memory, connections, idle time, threads.
  HttpLimits limits;
};

/// The content service on HTTP: serves the stories, banners and media of a `ContentCatalog`, stores votes
/// and received events in a `DevStore`, and checks keys and request bodies as the SDK's service does.
/// Requests are handled on the HTTP layer's event-loop threads; the catalog is read-only and the store locks.
///
/// Embedding it: `start` serves on the library's own threads and returns the port (`origin` says where);
/// `stop` from any thread ends it within moments, whatever the clients are doing.
class DevServer {
 public:
  DevServer(ContentCatalog catalog, std::shared_ptr<DevStore> store, ServerOptions options);
  ~DevServer();
  DevServer(const DevServer&) = delete;
  DevServer& operator=(const DevServer&) = delete;

  /// Binds the listening socket and reads the TLS files; returns the port (the chosen one when the options
  /// say 0). Connections wait in the listen backlog until serving begins.
  Outcome<int> bind();
  /// Serves until `stop`, blocking the calling thread (after `start` too, which then only waits). Requires
  /// a successful `bind`; fails when serving cannot begin (a certificate the TLS library refuses).
  Outcome<Done> run();
  /// `bind`, then serves on the HTTP layer's threads without blocking; returns the port.
  Outcome<int> start();
  /// Stops serving: open connections are closed, requests being handled finish, and `run` returns. Safe from
  /// any thread (a signal-handling one included) but a handler's, more than once, and before serving has
  /// begun (then `run` returns at once).
  void stop();

  bool usesTls() const;
  int port() const { return port_; }
  /// "http://127.0.0.1:PORT" (or https), from the bound address.
  std::string origin() const;

 private:
  /// Starts the HTTP layer on the bound socket unless a stop came first.
  Outcome<Done> serve();
  HttpAnswer route(const HttpRequest& request);
  HttpAnswer handleStories(const HttpRequest& request, const std::string& appKey, const std::string& placementKey);
  HttpAnswer handleBanners(const HttpRequest& request, const std::string& appKey, const std::string& placementKey);
  HttpAnswer handleVote(const HttpRequest& request, const std::string& appKey, const std::string& itemId);
  HttpAnswer handleSdkEvent(const HttpRequest& request);
  HttpAnswer handleAnalyticsEvent(const HttpRequest& request, const std::string& appKey);
  HttpAnswer handleMedia(const HttpRequest& request, const std::string& relative);
  /// The app of the request path after the key check; nullptr with the 404 or 401 answer in `refusal`.
  const ContentApp* authorizedApp(const std::string& appKey, const HttpRequest& request, HttpAnswer& refusal) const;
  /// The origin that media URLs in content get: the request's Host when it is a plain host[:port].
  std::string requestOrigin(const HttpRequest& request) const;

  ContentCatalog catalog_;
  std::shared_ptr<DevStore> store_;
  ServerOptions options_;
  int port_ = 0;

  std::mutex stateMutex_;
  std::condition_variable stateChanged_;
  std::optional<ListenSocket> socket_;
  std::optional<TlsCredentials> tls_;
  std::unique_ptr<HttpDaemon> daemon_;
  bool stopRequested_ = false;
  bool stopping_ = false;
  bool stopped_ = false;
  int running_ = 0;  ///< Calls of `run` still waiting.
};

/// Replaces every "{base}" in every string of `value` with `origin`.
void substituteBase(nlohmann::json& value, const std::string& origin);

}  // namespace quenmark::devserver
