#include "chaos_proxy/chaos_proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace quenmark::chaos {
namespace {

// Every URL under this path redirects to itself.
constexpr std::string_view kLoopPrefix = "/chaos-redirect";
constexpr int kWaitMs = 30000;
constexpr int kDripPauseMs = 50;

enum class Wait { ready, timedOut, stopping };

struct Request {
  std::string method;
  std::string target;
  std::string head;  // request line and headers, without the blank line
  std::string body;
};

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The answer's head (with its blank line) and body; all of it is the body when there is no head.
std::pair<std::string_view, std::string_view> splitAnswer(std::string_view answer) {
  const std::size_t end = answer.find("\r\n\r\n");
  if (end == std::string_view::npos) return {{}, answer};
  return {answer.substr(0, end + 4), answer.substr(end + 4)};
}

std::string status(std::string_view line, const std::vector<std::string>& headers, std::string_view body) {
  std::string text = "HTTP/1.1 ";
  text += line;
  text += "\r\n";
  for (const auto& header : headers) text += header + "\r\n";
  text += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  text += body;
  return text;
}

}  // namespace

std::optional<Fault> faultNamed(const std::string& name) {
  for (Fault fault : {Fault::reset, Fault::drip, Fault::garbage, Fault::truncate, Fault::oversize, Fault::stall,
                      Fault::close, Fault::redirect}) {
    if (nameOf(fault) == name) return fault;
  }
  return std::nullopt;
}

std::string nameOf(Fault fault) {
  switch (fault) {
    case Fault::reset: return "reset";
    case Fault::drip: return "drip";
    case Fault::garbage: return "garbage";
    case Fault::truncate: return "truncate";
    case Fault::oversize: return "oversize";
    case Fault::stall: return "stall";
    case Fault::close: return "close";
    case Fault::redirect: return "redirect";
  }
  return "?";
}

struct ChaosProxy::Impl {
  ProxyOptions options;
  std::function<void(const std::string&)> log;
  int listener = -1;
  int wake[2] = {-1, -1};  // written by `stop`; every wait watches its reading end
  int port = 0;
  std::mutex mutex;  // guards the random draws, the request count and `log`
  std::mt19937 random;
  int requests = 0;
  std::mutex activeMutex;
  std::condition_variable allClosed;
  int active = 0;  // connections still being handled; guarded by `activeMutex`

  Impl(ProxyOptions opts, std::function<void(const std::string&)> logLine)
      : options(std::move(opts)), log(std::move(logLine)), random(options.seed) {
    if (::pipe2(wake, O_CLOEXEC) != 0) throw std::runtime_error("cannot create a pipe");
    listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int yes = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(options.listenPort));
    socklen_t length = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener, 64) != 0 || ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(options.listenPort));
    }
    port = ntohs(address.sin_port);
  }

  ~Impl() {
    ::close(listener);
    ::close(wake[0]);
    ::close(wake[1]);
  }

  Wait waitFor(int fd, short events, int ms) const {
    pollfd fds[2] = {{fd, events, 0}, {wake[0], POLLIN, 0}};
    const int ready = ::poll(fds, 2, ms);
    if (ready < 0 || fds[1].revents != 0) return Wait::stopping;
    return ready == 0 ? Wait::timedOut : Wait::ready;
  }

  bool sendAll(int fd, std::string_view data) const {
    while (!data.empty()) {
      const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
      if (sent > 0) {
        data.remove_prefix(static_cast<std::size_t>(sent));
      } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        if (waitFor(fd, POLLOUT, kWaitMs) != Wait::ready) return false;
      } else {
        return false;
      }
    }
    return true;
  }

  // Reads until `complete(received)` holds or the peer closes; false when the wait ran out or stopped.
  template <class Complete>
  bool receive(int fd, std::string& received, Complete complete) const {
    while (!complete(received)) {
      if (waitFor(fd, POLLIN, kWaitMs) != Wait::ready) return false;
      char buffer[16384];
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
      if (n <= 0) return true;  // closed by the peer
      received.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
  }

  std::optional<Request> readRequest(int fd) const {
    std::string received;
    std::size_t headEnd = std::string::npos;
    std::size_t bodyLength = 0;
    const bool read = receive(fd, received, [&](const std::string& text) {
      if (headEnd == std::string::npos) {
        headEnd = text.find("\r\n\r\n");
        if (headEnd == std::string::npos) return false;
        const std::string head = lower(text.substr(0, headEnd));
        if (auto at = head.find("\r\ncontent-length:"); at != std::string::npos) {
          bodyLength = std::strtoul(head.c_str() + at + 17, nullptr, 10);
        }
      }
      return text.size() >= headEnd + 4 + bodyLength;
    });
    if (!read || headEnd == std::string::npos || received.size() < headEnd + 4 + bodyLength) return std::nullopt;
    Request request;
    request.head = received.substr(0, headEnd);
    request.body = received.substr(headEnd + 4, bodyLength);
    std::istringstream line(request.head.substr(0, request.head.find("\r\n")));
    line >> request.method >> request.target;
    return request;
  }

  // Sends the request to the service on a connection of its own and returns all it answered.
  std::optional<std::string> forward(const Request& request) const {
    const int upstream = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(options.upstreamPort));
    if (upstream < 0 || ::inet_pton(AF_INET, options.upstreamHost.c_str(), &address.sin_addr) != 1 ||
        ::connect(upstream, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      if (upstream >= 0) ::close(upstream);
      return std::nullopt;
    }
    // One request per connection: the service closes after answering, which ends the answer.
    std::string head;
    std::istringstream lines(request.head);
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::string name = lower(line.substr(0, line.find(':')));
      if (name != "connection" && name != "keep-alive") head += line + "\r\n";
    }
    head += "Connection: close\r\n\r\n";
    std::string answer;
    const bool ok =
        sendAll(upstream, head + request.body) && receive(upstream, answer, [](const std::string&) { return false; });
    ::close(upstream);
    if (!ok || answer.empty()) return std::nullopt;
    return answer;
  }

  // Nothing for a request that passes, otherwise the fault it meets.
  std::optional<Fault> draw(const Request& request) {
    if (request.target.rfind(kLoopPrefix, 0) == 0) return Fault::redirect;
    if (++requests <= options.passFirst || options.faults.empty()) return std::nullopt;
    if (std::uniform_real_distribution<double>(0.0, 1.0)(random) >= options.probability) return std::nullopt;
    return options.faults[std::uniform_int_distribution<std::size_t>(0, options.faults.size() - 1)(random)];
  }

  void holdUntilClosed(int fd) const {
    std::string ignored;
    receive(fd, ignored, [&](const std::string& text) {
      ignored.clear();
      return text.size() > (1u << 20);
    });
  }

  void handle(int fd) {
    auto request = readRequest(fd);
    if (!request) return;
    std::optional<Fault> fault;
    bool unavailable = false;
    {
      std::lock_guard lock(mutex);
      fault = draw(*request);
      unavailable = std::bernoulli_distribution(0.5)(random);
      log(request->method + " " + request->target + " " + (fault ? nameOf(*fault) : "pass"));
    }
    std::optional<std::string> answer;
    if (!fault || *fault == Fault::reset || *fault == Fault::drip || *fault == Fault::truncate) {
      answer = forward(*request);
      if (!answer) answer = status("502 Bad Gateway", {"Content-Type: text/plain"}, "The service did not answer.");
    }
    if (!fault) {
      sendAll(fd, *answer);
    } else {
      spoil(fd, *fault, *request, answer.value_or(""), unavailable);
      if (*fault == Fault::reset) return;  // closed at once, with the reset armed
    }
    ::shutdown(fd, SHUT_WR);
    holdUntilClosed(fd);
  }

  void spoil(int fd, Fault fault, const Request& request, std::string_view answer, bool unavailable) const {
    const auto [head, body] = splitAnswer(answer);
    switch (fault) {
      case Fault::reset: {
        sendAll(fd, answer.substr(0, answer.size() / 2));
        const linger reset{1, 0};  // close() now sends a reset instead of a clean end
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        return;
      }
      case Fault::drip:
        if (!sendAll(fd, head)) return;
        for (char byte : body) {
          if (waitFor(fd, POLLIN, kDripPauseMs) != Wait::timedOut || !sendAll(fd, std::string_view(&byte, 1))) return;
        }
        return;
      case Fault::garbage:
        sendAll(fd, status(unavailable ? "503 Service Unavailable" : "500 Internal Server Error",
                           {"Content-Type: application/json", "Retry-After: 30"},
                           std::string_view("\x00\xff\xfe<html>{\"groups\": [\x01", 20)));
        return;
      case Fault::truncate: {
        std::string chunked;
        std::istringstream lines{std::string(head)};
        for (std::string line; std::getline(lines, line) && line != "\r";) {
          if (lower(line).rfind("content-length:", 0) != 0) chunked += line + "\n";
        }
        std::ostringstream size;
        size << std::hex << body.size() + 1;
        chunked += "Transfer-Encoding: chunked\r\n\r\n" + size.str() + "\r\n";
        sendAll(fd, chunked + std::string(body.substr(0, body.size() / 2)));
        return;
      }
      case Fault::oversize: {
        const std::string block(64 * 1024, ' ');
        if (!sendAll(fd,
                     "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 67108864\r\n"
                     "Connection: close\r\n\r\n")) {
          return;
        }
        for (int i = 0; i < 1024 && sendAll(fd, block); ++i) {
        }
        return;
      }
      case Fault::stall: holdUntilClosed(fd); return;
      case Fault::close: return;
      case Fault::redirect: {
        const std::string target =
            request.target.rfind(kLoopPrefix, 0) == 0 ? request.target : std::string(kLoopPrefix) + request.target;
        sendAll(fd, status("302 Found", {"Location: " + target}, ""));
        return;
      }
    }
  }

  void run() {
    while (waitFor(listener, POLLIN, -1) == Wait::ready) {
      const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) continue;
      {
        std::lock_guard lock(activeMutex);
        ++active;
      }
      std::thread([this, fd] {
        handle(fd);
        ::close(fd);
        std::lock_guard lock(activeMutex);
        --active;
        allClosed.notify_all();  // under the lock: `run` may return and the proxy go once it is released
      }).detach();
    }
    // Every connection sees the stop too and ends its wait.
    std::unique_lock lock(activeMutex);
    allClosed.wait(lock, [&] { return active == 0; });
  }
};

ChaosProxy::ChaosProxy(ProxyOptions options, std::function<void(const std::string&)> log)
    : impl_(std::make_unique<Impl>(std::move(options), std::move(log))) {}

ChaosProxy::~ChaosProxy() = default;

int ChaosProxy::port() const { return impl_->port; }

void ChaosProxy::run() { impl_->run(); }

void ChaosProxy::stop() {
  const char stop = 1;
  [[maybe_unused]] auto written = ::write(impl_->wake[1], &stop, 1);
}

}  // namespace quenmark::chaos
