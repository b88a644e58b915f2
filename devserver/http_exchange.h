#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quenmark::devserver {

/// An open file descriptor owned by one value: closed when the value goes, unless `release` handed it on.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_ = -1;
};

/// A request as the routes see it: the whole body has arrived and is within the size limit.
struct HttpRequest {
  std::string method;
  /// The path with its percent escapes decoded, without the query.
  std::string path;
  /// Header names in lower case; the first of repeated headers.
  std::map<std::string, std::string> headers;
  std::string body;

  /// The header's value, or "" when the request does not carry it. `name` in any letter case.
  std::string header(std::string_view name) const;
};

/// What a route answers: a status, headers and either a body in memory or a part of an open file, which is
/// sent from the file descriptor so that the file is never read into memory.
struct HttpAnswer {
  int status = 200;
  std::string contentType;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  FileDescriptor file;
  std::uint64_t fileOffset = 0;
  std::uint64_t fileLength = 0;
};

}  // namespace quenmark::devserver
