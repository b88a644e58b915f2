#pragma once

#include <quenmark/export.h>

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace quenmark {

/// What went wrong, in broad strokes; `Error::description` carries the details.
enum class ErrorKind {
  transport,          ///< The request did not complete (connection, TLS, timeout, body too large).
  cancelled,          ///< The operation was abandoned (shutdown, superseded load).
  insecureTransport,  ///< A request would have sent the SDK key over plain HTTP to a remote host.
  invalidUrl,         ///< A URL could not be built or parsed.
  notConfigured,      ///< The SDK has not been configured yet.
  httpStatus,         ///< The service answered with a status the caller does not accept.
  invalidResponse,    ///< The service's answer was not an HTTP response the caller can use.
  decoding,           ///< A body could not be decoded into the expected records.
  encoding,           ///< A request body could not be encoded.
  storage,            ///< The key-value store could not be read or written.
  image,              ///< Image bytes could not be decoded or were refused.
  invalidArgument,    ///< The caller passed a value that cannot be used.
};

/// An expected failure: a kind to branch on and a description to show or log.
struct Error {
  ErrorKind kind = ErrorKind::transport;
  std::string description;
  /// Library or protocol code where one exists (curl code, HTTP status); 0 otherwise.
  long code = 0;

  friend bool operator==(const Error&, const Error&) = default;
};

/// Either a value or an `Error`.
template <class T>
class Result {
 public:
  Result(T value) : storage_(std::in_place_index<0>, std::move(value)) {}      // NOLINT: implicit by design
  Result(Error error) : storage_(std::in_place_index<1>, std::move(error)) {}  // NOLINT: implicit by design

  bool ok() const noexcept { return storage_.index() == 0; }
  explicit operator bool() const noexcept { return ok(); }

  T& value() & {
    assert(ok());
    return std::get<0>(storage_);
  }
  const T& value() const& {
    assert(ok());
    return std::get<0>(storage_);
  }
  T&& value() && {
    assert(ok());
    return std::get<0>(std::move(storage_));
  }
  const Error& error() const& {
    assert(!ok());
    return std::get<1>(storage_);
  }
  Error&& error() && {
    assert(!ok());
    return std::get<1>(std::move(storage_));
  }

  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

 private:
  std::variant<T, Error> storage_;
};

/// Result of an operation that yields nothing but may fail.
struct Unit {
  friend bool operator==(Unit, Unit) = default;
};

}  // namespace quenmark
