#include "devserver/http_daemon.h"

#include <microhttpd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <memory>

#include <nlohmann/json.hpp>

namespace quenmark::devserver {

/// One request on its way in: the handler's view of it, filled over several calls of the library.
struct HttpDaemon::Exchange {
  HttpRequest request;
  std::uint64_t received = 0;  ///< Body bytes received, kept or not.
  bool tooLarge = false;       ///< The body passed the limit; the rest is dropped.
  int status = 0;              ///< The status answered, 0 until then.
};

namespace {

MHD_Response* jsonError(int status, const std::string& message, int& answered) {
  std::string body = nlohmann::json{{"error", message}}.dump();
  MHD_Response* response = MHD_create_response_from_buffer(body.size(), body.data(), MHD_RESPMEM_MUST_COPY);
  if (response) MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "application/json");
  answered = status;
  return response;
}

MHD_Result queue(MHD_Connection* connection, int status, MHD_Response* response) {
  if (!response) return MHD_NO;
  MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(status), response);
  MHD_destroy_response(response);
  return queued;
}

MHD_Result collectHeader(void* target, MHD_ValueKind, const char* name, const char* value) {
  std::string key = name ? name : "";
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  static_cast<std::map<std::string, std::string>*>(target)->emplace(std::move(key), value ? value : "");
  return MHD_YES;
}

/// The path as one log line: control characters, spaces and backslashes as percent escapes, so a request
/// cannot forge lines or fields of the log.
std::string loggable(const std::string& path) {
  std::string out;
  for (unsigned char c : path) {
    if (c < 0x20 || c == 0x7f || c == ' ' || c == '%' || c == '\\') {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

struct HttpDaemonCallbacks {
  static MHD_Result onRequest(void* self, MHD_Connection* connection, const char* url, const char* method, const char*,
                              const char* upload, std::size_t* uploadSize, void** context) {
    auto& daemon = *static_cast<HttpDaemon*>(self);
    auto* exchange = static_cast<HttpDaemon::Exchange*>(*context);
    if (!exchange) {
      // The header block has arrived; the body, if any, follows in later calls.
      exchange = new HttpDaemon::Exchange();
      *context = exchange;
      exchange->request.method = method ? method : "";
      exchange->request.path = url ? url : "";
      MHD_get_connection_values(connection, MHD_HEADER_KIND, collectHeader, &exchange->request.headers);
      std::string declared = exchange->request.header("Content-Length");
      std::uint64_t length = 0;
      auto [end, error] = std::from_chars(declared.data(), declared.data() + declared.size(), length);
      if (!declared.empty() && error == std::errc() && length > daemon.limits_.maxBodyBytes) {
        exchange->tooLarge = true;
        // A client waiting for "100 Continue" sends no body at all; answering at once spares the transfer.
        bool waits = !exchange->request.header("Expect").empty();
        if (waits || length > daemon.limits_.maxDiscardedBytes) {
          return queue(connection, 413, jsonError(413, "Request body too large", exchange->status));
        }
      }
      return MHD_YES;
    }
    if (*uploadSize > 0) {
      // Counted as received, so that a chunked body meets the same limit as one with a length.
      exchange->received += *uploadSize;
      if (!exchange->tooLarge && exchange->received > daemon.limits_.maxBodyBytes) {
        exchange->tooLarge = true;
        std::string().swap(exchange->request.body);
      }
      if (!exchange->tooLarge) exchange->request.body.append(upload, *uploadSize);
      *uploadSize = 0;
      // The rest of a body above the limit is read and dropped, so that a client still sending reads the
      // answer instead of a reset connection; past a bound the answer goes at once and the connection closes.
      if (exchange->tooLarge && exchange->received > daemon.limits_.maxDiscardedBytes) {
        return queue(connection, 413, jsonError(413, "Request body too large", exchange->status));
      }
      return MHD_YES;
    }
    if (exchange->status != 0) return MHD_YES;
    if (exchange->tooLarge) return queue(connection, 413, jsonError(413, "Request body too large", exchange->status));

    HttpAnswer answer;
    try {
      answer = daemon.handler_(exchange->request);
    } catch (...) {
      return queue(connection, 500, jsonError(500, "Internal error", exchange->status));
    }
    MHD_Response* response = nullptr;
    if (answer.file.valid()) {
      response = MHD_create_response_from_fd_at_offset64(answer.fileLength, answer.file.get(),
                                                         static_cast<int64_t>(answer.fileOffset));
      if (response) answer.file.release();  // The response closes it.
    } else {
      response = MHD_create_response_from_buffer(answer.body.size(), answer.body.data(), MHD_RESPMEM_MUST_COPY);
    }
    if (!response) return queue(connection, 500, jsonError(500, "Internal error", exchange->status));
    if (!answer.contentType.empty()) {
      MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, answer.contentType.c_str());
    }
    for (const auto& [name, value] : answer.headers) MHD_add_response_header(response, name.c_str(), value.c_str());
    exchange->status = answer.status;
    return queue(connection, answer.status, response);
  }

  static void onCompleted(void* self, MHD_Connection*, void** context, MHD_RequestTerminationCode) {
    std::unique_ptr<HttpDaemon::Exchange> exchange(static_cast<HttpDaemon::Exchange*>(*context));
    *context = nullptr;
    if (exchange && exchange->status != 0) static_cast<HttpDaemon*>(self)->log(*exchange);
  }
};

HttpDaemon::HttpDaemon(Handler handler, HttpLimits limits, std::ostream* accessLog)
    : handler_(std::move(handler)), limits_(limits), accessLog_(accessLog) {}

HttpDaemon::~HttpDaemon() { stop(); }

Outcome<Done> HttpDaemon::start(ListenSocket socket, const TlsCredentials* tls) {
  if (daemon_) return Outcome<Done>::failure("the server is running already");
  // The library sends a header and its body together and manages TCP_NODELAY and corking itself, so an
  // answer on a reused connection never waits for the client's delayed acknowledgement.
  unsigned flags = MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_ITC;
  if (tls) {
    if (MHD_is_feature_supported(MHD_FEATURE_TLS) != MHD_YES) {
      return Outcome<Done>::failure("this build of libmicrohttpd has no TLS");
    }
    tls_ = *tls;
    flags |= MHD_USE_TLS;
  }
  // The library owns the socket from here on and closes it, also when it cannot start.
  int fd = socket.socket.release();
  std::vector<MHD_OptionItem> options = {
      {MHD_OPTION_LISTEN_SOCKET, fd, nullptr},
      {MHD_OPTION_THREAD_POOL_SIZE, static_cast<intptr_t>(limits_.threads), nullptr},
      {MHD_OPTION_CONNECTION_LIMIT, static_cast<intptr_t>(limits_.maxConnections), nullptr},
      {MHD_OPTION_CONNECTION_TIMEOUT, static_cast<intptr_t>(limits_.idleTimeoutSeconds), nullptr},
      {MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<intptr_t>(limits_.connectionMemoryBytes), nullptr},
      {MHD_OPTION_NOTIFY_COMPLETED, reinterpret_cast<intptr_t>(&HttpDaemonCallbacks::onCompleted), this},
  };
  if (tls) {
    options.push_back({MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(tls_.certificate.c_str())});
    options.push_back({MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(tls_.privateKey.c_str())});
  }
  options.push_back({MHD_OPTION_END, 0, nullptr});
  daemon_ = MHD_start_daemon(flags, 0, nullptr, nullptr, &HttpDaemonCallbacks::onRequest, this, MHD_OPTION_ARRAY,
                             options.data(), MHD_OPTION_END);
  if (!daemon_) {
    return Outcome<Done>::failure(tls ? "cannot serve HTTPS with the certificate and key given"
                                      : "cannot start serving on port " + std::to_string(socket.port));
  }
  return Done{};
}

void HttpDaemon::stop() {
  if (daemon_) MHD_stop_daemon(std::exchange(daemon_, nullptr));
}

void HttpDaemon::log(const Exchange& exchange) {
  if (!accessLog_) return;
  std::lock_guard lock(logMutex_);
  *accessLog_ << exchange.request.method << ' ' << loggable(exchange.request.path) << ' ' << exchange.status << '\n'
              << std::flush;
}

}  // namespace quenmark::devserver
