#pragma once

#include <quenmark/error.h>
#include <quenmark/export.h>

#include <optional>
#include <string>

namespace quenmark {

/// The failures the content client raises itself. (Transport failures and decoding failures reach the
/// caller as the `Error` their source made, unchanged.)
///
/// Completions receive these as `Error` values (`toError()`): `httpStatus` has kind
/// `ErrorKind::httpStatus` and the status as `code`; `notConfigured` has `ErrorKind::notConfigured`;
/// `emptyResponse` has `ErrorKind::invalidResponse`; `encodingFailed` has `ErrorKind::encoding`.
class QUENMARK_EXPORT StoryAPIError {
 public:
  enum class Case {
    httpStatus,      ///< The service answered with a status outside 200 to 299.
    notConfigured,   ///< `StorySDK::configure` has not been called.
    emptyResponse,   ///< The service answered without body bytes.
    encodingFailed,  ///< The request body could not be encoded.
  };

  static StoryAPIError httpStatus(int status) { return StoryAPIError(Case::httpStatus, status); }
  static StoryAPIError notConfigured() { return StoryAPIError(Case::notConfigured, 0); }
  static StoryAPIError emptyResponse() { return StoryAPIError(Case::emptyResponse, 0); }
  static StoryAPIError encodingFailed() { return StoryAPIError(Case::encodingFailed, 0); }

  Case errorCase() const noexcept { return case_; }
  /// The HTTP status of `httpStatus`; 0 for the other cases.
  int status() const noexcept { return status_; }

  /// "Story request failed with status 404.", "Story SDK is not configured.",
  /// "Story request returned an empty response." or "Failed to encode request body.".
  std::string description() const;

  /// The `Error` a completion receives.
  Error toError() const;
  operator Error() const { return toError(); }  // NOLINT: implicit by design, completions take `Error`

  /// The client error that `error` carries, if it is one of these (as made by `toError`).
  static std::optional<StoryAPIError> from(const Error& error);

  friend bool operator==(const StoryAPIError&, const StoryAPIError&) = default;

 private:
  StoryAPIError(Case errorCase, int status) : case_(errorCase), status_(status) {}

  Case case_;
  int status_;
};

}  // namespace quenmark
