#include "hostile_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

namespace quenmark::testsupport {
namespace {

enum class Wait { ready, timedOut, stopping };

constexpr int kRequestWaitMs = 5000;
constexpr int kDripPauseMs = 50;

// A JSON text that every decoder of the SDK would accept as a start, so that only the transfer fails.
std::string bodyPrefix(std::size_t size) {
  std::string body = R"({"groups": [], "banners": [], "voted": true, "padding": ")";
  body.resize(std::max(size, body.size()), 'x');
  return body;
}

std::string head(std::string_view statusLine, const std::vector<std::string>& headers) {
  std::string text = "HTTP/1.1 ";
  text += statusLine;
  text += "\r\n";
  for (const auto& header : headers) text += header + "\r\n";
  return text + "Connection: close\r\n\r\n";
}

}  // namespace

struct HostileServer::Impl {
  Fault fault;
  int listener = -1;
  int wake[2] = {-1, -1};  // written once by the destructor; every wait watches its reading end
  int port = 0;
  SSL_CTX* tls = nullptr;
  std::atomic<std::size_t> connections{0};
  std::mutex mutex;
  std::vector<std::thread> handlers;
  std::thread acceptor;

  explicit Impl(Fault f) : fault(f) {
    if (::pipe2(wake, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener, 64) != 0 || ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    if (fault == Fault::stalledTlsHandshake) {
      tls = SSL_CTX_new(TLS_server_method());
      const std::string dir = QUENMARK_TEST_DATA_DIR "/devserver/";
      if (tls == nullptr || SSL_CTX_use_certificate_chain_file(tls, (dir + "test-cert.pem").c_str()) != 1 ||
          SSL_CTX_use_PrivateKey_file(tls, (dir + "test-key.pem").c_str(), SSL_FILETYPE_PEM) != 1) {
        throw std::runtime_error("cannot load the test certificate");
      }
    }
    acceptor = std::thread([this] { acceptLoop(); });
  }

  ~Impl() {
    const char stop = 1;
    [[maybe_unused]] auto written = ::write(wake[1], &stop, 1);
    acceptor.join();
    for (auto& handler : handlers) handler.join();
    ::close(listener);
    ::close(wake[0]);
    ::close(wake[1]);
    if (tls != nullptr) SSL_CTX_free(tls);
  }

  // Waits until `fd` has `events`, the server stops, or `ms` passes (-1: no limit).
  Wait waitFor(int fd, short events, int ms) const {
    pollfd fds[2] = {{fd, events, 0}, {wake[0], POLLIN, 0}};
    int ready = ::poll(fds, 2, ms);
    if (ready < 0 || fds[1].revents != 0) return Wait::stopping;
    return ready == 0 ? Wait::timedOut : Wait::ready;
  }

  // Sends all of `data`; false when the client went away or the server stops.
  bool sendAll(int fd, std::string_view data) const {
    while (!data.empty()) {
      ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
      if (sent > 0) {
        data.remove_prefix(static_cast<std::size_t>(sent));
      } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        if (waitFor(fd, POLLOUT, kRequestWaitMs) != Wait::ready) return false;
      } else {
        return false;
      }
    }
    return true;
  }

  // Reads one request (head and any Content-Length body); returns its target, or "" when none came.
  std::string readRequest(int fd) const {
    std::string received;
    std::size_t headEnd = std::string::npos;
    std::size_t wanted = 0;
    for (;;) {
      if (headEnd == std::string::npos && (headEnd = received.find("\r\n\r\n")) != std::string::npos) {
        headEnd += 4;
        std::string lower = received.substr(0, headEnd);
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (auto at = lower.find("\r\ncontent-length:"); at != std::string::npos) {
          wanted = std::stoul(lower.substr(at + 17));
        }
      }
      if (headEnd != std::string::npos && received.size() >= headEnd + wanted) break;
      if (waitFor(fd, POLLIN, kRequestWaitMs) != Wait::ready) return "";
      char buffer[4096];
      ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) return "";
      received.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t start = received.find(' ') + 1;
    return received.substr(start, received.find(' ', start) - start);
  }

  // Waits, saying nothing, until the client closes or the server stops.
  void holdUntilClosed(int fd) const {
    while (waitFor(fd, POLLIN, -1) == Wait::ready) {
      char buffer[4096];
      if (::recv(fd, buffer, sizeof buffer, 0) <= 0) return;
    }
  }

  void stallTlsHandshake(int fd) const {
    SSL* ssl = SSL_new(tls);
    BIO* in = BIO_new(BIO_s_mem());
    BIO* out = BIO_new(BIO_s_mem());
    SSL_set_bio(ssl, in, out);
    SSL_set_accept_state(ssl);
    // Feed the client's hello until the server's first flight is ready.
    while (BIO_ctrl_pending(out) == 0 && waitFor(fd, POLLIN, kRequestWaitMs) == Wait::ready) {
      char buffer[4096];
      ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      BIO_write(in, buffer, static_cast<int>(n));
      SSL_do_handshake(ssl);
    }
    std::string flight(BIO_ctrl_pending(out), '\0');
    if (!flight.empty()) BIO_read(out, flight.data(), static_cast<int>(flight.size()));
    // The flight opens with the ServerHello record (5-byte header, then its length): send that alone.
    if (flight.size() >= 5) {
      const std::size_t record = 5 + (static_cast<std::size_t>(static_cast<unsigned char>(flight[3])) << 8 |
                                      static_cast<unsigned char>(flight[4]));
      sendAll(fd, std::string_view(flight).substr(0, std::min(record, flight.size())));
    }
    holdUntilClosed(fd);
    SSL_free(ssl);
  }

  void handle(int fd) const {
    if (fault == Fault::stalledTlsHandshake) {
      stallTlsHandshake(fd);
      return;
    }
    const std::string target = readRequest(fd);
    if (target.empty()) return;
    switch (fault) {
      case Fault::resetMidBody: {
        const std::string body = bodyPrefix(4000);
        sendAll(fd, head("200 OK", {"Content-Type: application/json", "Content-Length: 4000"}) + body.substr(0, 2000));
        linger reset{1, 0};  // close() now sends a reset instead of a clean end
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        return;
      }
      case Fault::dripBody: {
        const std::string body = bodyPrefix(1000);
        if (!sendAll(fd, head("200 OK", {"Content-Type: application/json", "Content-Length: 1000"}))) return;
        for (char byte : body) {
          // The client closing shows as readable; the pause itself is the server's, never the test's.
          if (waitFor(fd, POLLIN, kDripPauseMs) != Wait::timedOut) return;
          if (!sendAll(fd, std::string_view(&byte, 1))) return;
        }
        return;
      }
      case Fault::garbage500:
      case Fault::garbage503: {
        const std::string garbage("\x00\xff\xfe<html>{\"groups\": [\x01", 20);
        const bool unavailable = fault == Fault::garbage503;
        std::vector<std::string> headers{"Content-Type: application/json",
                                         "Content-Length: " + std::to_string(garbage.size())};
        if (unavailable) headers.emplace_back("Retry-After: 120");
        sendAll(fd, head(unavailable ? "503 Service Unavailable" : "500 Internal Server Error", headers) + garbage);
        break;
      }
      case Fault::truncatedChunks:
        sendAll(fd, head("200 OK", {"Content-Type: application/json", "Transfer-Encoding: chunked"}) + "400\r\n" +
                        bodyPrefix(100));
        break;
      case Fault::oversizedBody: {
        const std::string block(64 * 1024, ' ');  // JSON white space: only the size is wrong
        if (!sendAll(fd, head("200 OK", {"Content-Type: application/json", "Content-Length: 67108864"}))) return;
        for (int i = 0; i < 1024 && sendAll(fd, block); ++i) {
        }
        return;
      }
      case Fault::closeBeforeHeaders: return;
      case Fault::redirectLoop: sendAll(fd, head("302 Found", {"Location: " + target, "Content-Length: 0"})); break;
      case Fault::stalledTlsHandshake: break;
    }
    ::shutdown(fd, SHUT_WR);
    holdUntilClosed(fd);
  }

  void acceptLoop() {
    while (waitFor(listener, POLLIN, -1) == Wait::ready) {
      int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) continue;
      ++connections;
      std::lock_guard lock(mutex);
      handlers.emplace_back([this, fd] {
        handle(fd);
        ::close(fd);
      });
    }
  }
};

HostileServer::HostileServer(Fault fault) : impl_(std::make_unique<Impl>(fault)) {}

HostileServer::~HostileServer() = default;

Url HostileServer::baseUrl() const {
  const char* scheme = impl_->fault == Fault::stalledTlsHandshake ? "https" : "http";
  return *Url::parse(std::string(scheme) + "://127.0.0.1:" + std::to_string(impl_->port));
}

std::size_t HostileServer::connectionCount() const { return impl_->connections.load(); }

std::string faultName(Fault fault) {
  switch (fault) {
    case Fault::resetMidBody: return "resetMidBody";
    case Fault::dripBody: return "dripBody";
    case Fault::garbage500: return "garbage500";
    case Fault::garbage503: return "garbage503";
    case Fault::truncatedChunks: return "truncatedChunks";
    case Fault::oversizedBody: return "oversizedBody";
    case Fault::stalledTlsHandshake: return "stalledTlsHandshake";
    case Fault::closeBeforeHeaders: return "closeBeforeHeaders";
    case Fault::redirectLoop: return "redirectLoop";
  }
  return "?";
}

}  // namespace quenmark::testsupport
