#pragma once

#include <quenmark/export.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quenmark {

/// An absolute RFC 3986 URL (any scheme, deep links included), held as its text.
///
/// Parsing is done by uriparser; a `Url` is only ever made from text that parses as an absolute URI,
/// so every instance has a scheme. Equality compares the text.
class QUENMARK_EXPORT Url {
 public:
  /// Parses `text` as an absolute URI. Returns nothing for relative references and malformed text.
  static std::optional<Url> parse(std::string_view text);

  const std::string& string() const noexcept { return text_; }
  /// The scheme, lower-cased ("https", "myapp").
  std::string scheme() const;
  /// The host without brackets ("example.com", "127.0.0.1", "::1"); empty when there is none.
  std::string host() const;
  /// The explicit port, if the URL names one.
  std::optional<int> port() const;
  /// The path as written, percent-encoding kept ("/a/b%20c"); empty when there is none.
  std::string path() const;
  /// The query without "?", as written; absent when the URL has no "?".
  std::optional<std::string> query() const;

  /// True for "localhost" and hosts in 127.0.0.0/8 or ::1.
  bool isLoopback() const;

  /// A copy with `component` appended to the path as one segment, percent-encoded ("." and ".." too, so
  /// that they name a segment rather than move along the path); query and fragment are dropped. Joins with
  /// exactly one "/".
  Url appendingPathComponent(std::string_view component) const;

  /// A copy whose query is replaced by `items` in order, names and values percent-encoded as
  /// application query components. An empty list removes the query.
  Url withQueryItems(const std::vector<std::pair<std::string, std::string>>& items) const;

  friend bool operator==(const Url&, const Url&) = default;
  friend bool operator<(const Url& a, const Url& b) { return a.text_ < b.text_; }

 private:
  explicit Url(std::string text) : text_(std::move(text)) {}
  std::string text_;
};

/// Percent-encodes everything but RFC 3986 unreserved characters.
QUENMARK_EXPORT std::string percentEncode(std::string_view text);

}  // namespace quenmark

/// \cond
// Urls as keys of unordered containers, hashed by their text (left out of the API reference).
template <>
struct std::hash<quenmark::Url> {
  size_t operator()(const quenmark::Url& url) const noexcept { return std::hash<std::string>{}(url.string()); }
};
/// \endcond
