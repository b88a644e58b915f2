#include "devserver/http_exchange.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace quenmark::devserver {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.release();
  }
  return *this;
}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

std::string HttpRequest::header(std::string_view name) const {
  std::string key(name);
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  auto found = headers.find(key);
  return found == headers.end() ? std::string() : found->second;
}

}  // namespace quenmark::devserver
