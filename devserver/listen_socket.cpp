#include "devserver/listen_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>
#include <memory>

namespace quenmark::devserver {

Outcome<ListenSocket> ListenSocket::open(const std::string& host, int port) {
  auto failure = [&](const std::string& why) {
    return Outcome<ListenSocket>::failure("cannot listen on " + host + ":" + std::to_string(port) + ": " + why);
  };
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (int error = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); error != 0) {
    return failure(::gai_strerror(error));
  }
  std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, ::freeaddrinfo);
  std::string lastError = "no address";
  for (addrinfo* address = addresses.get(); address; address = address->ai_next) {
    FileDescriptor socket(::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol));
    if (!socket.valid()) {
      lastError = std::strerror(errno);
      continue;
    }
    int yes = 1;
    ::setsockopt(socket.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    // The kernel's own cap (somaxconn) bounds the queue; a short one makes bursts of clients wait seconds.
    if (::bind(socket.get(), address->ai_addr, address->ai_addrlen) != 0 || ::listen(socket.get(), SOMAXCONN) != 0) {
      lastError = std::strerror(errno);
      continue;
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (::getsockname(socket.get(), reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
      lastError = std::strerror(errno);
      continue;
    }
    int boundPort = bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                                                : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    return ListenSocket{std::move(socket), boundPort};
  }
  return failure(lastError);
}

}  // namespace quenmark::devserver
