#pragma once

#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

#include "devserver/content_catalog.h"
#include "devserver/dev_store.h"
#include "devserver/outcome.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace quenmark::devserver {

struct ServerOptions {
  std::string host = "127.0.0.1";
  int port = 0;  ///< 0 picks a free port.
  /// Directory served under /media/; empty serves no media.
  std::filesystem::path mediaDir;
  /// PEM certificate and private key; both set switches the server to HTTPS.
  std::filesystem::path certFile;
  std::filesystem::path keyFile;
  /// One line per request ("GET /path 200") when set; written from the server's worker threads under a lock.
  std::ostream* accessLog = nullptr;
  /// Request bodies above this size are refused with 413.
  std::size_t maxBodyBytes = 256 * 1024;
};

/// The content service on HTTP: serves the stories, banners and media of a `ContentCatalog`, stores votes
/// and received events in a `DevStore`, and checks keys and request bodies as the SDK's service does.
/// Requests are handled on the HTTP library's worker threads; the catalog is read-only and the store locks.
class DevServer {
 public:
  DevServer(ContentCatalog catalog, std::shared_ptr<DevStore> store, ServerOptions options);
  ~DevServer();
  DevServer(const DevServer&) = delete;
  DevServer& operator=(const DevServer&) = delete;

  /// Binds the listening socket; returns the port (the chosen one when the options say 0).
  Outcome<int> bind();
  /// Serves on the calling thread until `stop`. Requires a successful `bind`.
  void run();
  /// `bind`, then `run` on a thread of the server's own; returns the port.
  Outcome<int> start();
  /// Stops serving and waits until `run` has returned. Safe from any thread (a signal-handling one
  /// included), more than once, and before `run` has begun (then `run` returns at once).
  void stop();

  bool usesTls() const;
  int port() const { return port_; }
  /// "http://127.0.0.1:PORT" (or https), from the bound address.
  std::string origin() const;

 private:
  void installRoutes();
  void handleStories(const httplib::Request& request, httplib::Response& response);
  void handleBanners(const httplib::Request& request, httplib::Response& response);
  void handleVote(const httplib::Request& request, httplib::Response& response);
  void handleSdkEvent(const httplib::Request& request, httplib::Response& response);
  void handleAnalyticsEvent(const httplib::Request& request, httplib::Response& response);
  void handleMedia(const httplib::Request& request, httplib::Response& response);
  /// The app of the request path after the key check; nullptr with the 404 or 401 answer set.
  const ContentApp* authorizedApp(const std::string& appKey, const httplib::Request& request,
                                  httplib::Response& response) const;
  /// The origin that media URLs in content get: the request's Host when it is a plain host[:port].
  std::string requestOrigin(const httplib::Request& request) const;

  ContentCatalog catalog_;
  std::shared_ptr<DevStore> store_;
  ServerOptions options_;
  std::unique_ptr<httplib::Server> server_;
  int port_ = 0;

  std::mutex stateMutex_;
  std::condition_variable stateChanged_;
  bool serving_ = false;
  bool finished_ = false;
  bool stopRequested_ = false;
  std::thread thread_;
  std::mutex logMutex_;
};

/// Replaces every "{base}" in every string of `value` with `origin`.
void substituteBase(nlohmann::json& value, const std::string& origin);

}  // namespace quenmark::devserver
