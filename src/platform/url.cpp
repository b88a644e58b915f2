#include <quenmark/url.h>

#include <uriparser/Uri.h>

#include <arpa/inet.h>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace quenmark {
namespace {

struct ParsedUri {
  UriUriA uri{};
  bool valid = false;

  explicit ParsedUri(const std::string& text) {
    const char* error = nullptr;
    // Bounded by the size, not by a NUL: a text with a NUL inside is no URL, not the URL before the NUL.
    valid = uriParseSingleUriExA(&uri, text.data(), text.data() + text.size(), &error) == URI_SUCCESS;
  }
  ~ParsedUri() {
    if (valid) uriFreeUriMembersA(&uri);
  }
  ParsedUri(const ParsedUri&) = delete;
  ParsedUri& operator=(const ParsedUri&) = delete;
};

std::string rangeText(const UriTextRangeA& range) {
  if (range.first == nullptr || range.afterLast == nullptr) return {};
  return std::string(range.first, range.afterLast);
}

bool hasRange(const UriTextRangeA& range) { return range.first != nullptr; }

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The text of a valid URI split at the end of its authority (or scheme) and at its "?" and "#".
struct Pieces {
  std::string prefix;  // "scheme://authority" or "scheme:"
  std::string path;
  std::optional<std::string> query;
};

Pieces split(const std::string& text, const UriUriA& uri) {
  const char* begin = text.c_str();
  const char* authorityEnd = uri.scheme.afterLast + 1;  // just after "scheme:"
  if (hasRange(uri.hostText) && (uri.hostText.first < begin || uri.hostText.first > begin + text.size())) {
    authorityEnd += 2;  // "scheme://" with an empty authority: uriparser points the host at a text of its own
  } else if (hasRange(uri.hostText)) {
    authorityEnd = uri.hostText.afterLast;
    if (uri.hostData.ip6 != nullptr || uri.hostData.ipFuture.first != nullptr) ++authorityEnd;  // "]"
    if (hasRange(uri.portText)) authorityEnd = uri.portText.afterLast;
  }
  std::string rest(authorityEnd, begin + text.size());
  Pieces pieces;
  pieces.prefix.assign(begin, authorityEnd);
  if (auto hash = rest.find('#'); hash != std::string::npos) rest.erase(hash);
  if (auto question = rest.find('?'); question != std::string::npos) {
    pieces.query = rest.substr(question + 1);
    rest.erase(question);
  }
  pieces.path = std::move(rest);
  return pieces;
}

bool isAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool isUnreserved(char c) { return isAsciiAlpha(c) || isAsciiDigit(c) || c == '-' || c == '.' || c == '_' || c == '~'; }
bool isSchemeCharacter(char c) { return isAsciiAlpha(c) || isAsciiDigit(c) || c == '+' || c == '-' || c == '.'; }

// True for the plainest absolute URLs, which RFC 3986 (and so uriparser) always accepts: a scheme, "://",
// a non-empty host of unreserved characters, then only unreserved characters and "/". Content brings
// media URLs of this shape by the hundred; they are accepted without the full parse.
bool isPlainAbsoluteUrl(std::string_view text) {
  if (text.empty() || !isAsciiAlpha(text[0])) return false;
  std::size_t i = 1;
  while (i < text.size() && isSchemeCharacter(text[i])) ++i;
  if (text.substr(i, 3) != "://") return false;
  i += 3;
  const std::size_t hostStart = i;
  while (i < text.size() && isUnreserved(text[i])) ++i;
  if (i == hostStart) return false;
  for (; i < text.size(); ++i) {
    if (text[i] != '/' && !isUnreserved(text[i])) return false;
  }
  return true;
}

}  // namespace

std::string percentEncode(std::string_view text) {
  // uriEscape writes at most 6 bytes per input byte (with normalised breaks); 3 without.
  std::unique_ptr<char[]> buffer(new char[text.size() * 6 + 1]);
  const char* end = uriEscapeExA(text.data(), text.data() + text.size(), buffer.get(), URI_FALSE, URI_FALSE);
  return std::string(static_cast<const char*>(buffer.get()), end);
}

std::optional<Url> Url::parse(std::string_view text) {
  if (isPlainAbsoluteUrl(text)) return Url(std::string(text));
  std::string copy(text);
  ParsedUri parsed(copy);
  if (!parsed.valid || !hasRange(parsed.uri.scheme)) return std::nullopt;
  return Url(std::move(copy));
}

std::string Url::scheme() const {
  ParsedUri parsed(text_);
  return lower(rangeText(parsed.uri.scheme));
}

std::string Url::host() const {
  ParsedUri parsed(text_);
  std::string host = rangeText(parsed.uri.hostText);
  return host;
}

std::optional<int> Url::port() const {
  ParsedUri parsed(text_);
  std::string port = rangeText(parsed.uri.portText);
  if (port.empty() || port.size() > 5) return std::nullopt;
  int value = 0;
  for (char c : port) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string Url::path() const {
  ParsedUri parsed(text_);
  return split(text_, parsed.uri).path;
}

std::optional<std::string> Url::query() const {
  ParsedUri parsed(text_);
  return split(text_, parsed.uri).query;
}

bool Url::isLoopback() const {
  std::string h = lower(host());
  if (h == "localhost" || h.ends_with(".localhost")) return true;
  in_addr v4{};
  if (inet_pton(AF_INET, h.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
  in6_addr v6{};
  if (inet_pton(AF_INET6, h.c_str(), &v6) == 1) {
    static const in6_addr loopback = IN6ADDR_LOOPBACK_INIT;
    return std::memcmp(&v6, &loopback, sizeof v6) == 0;
  }
  return false;
}

Url Url::appendingPathComponent(std::string_view component) const {
  ParsedUri parsed(text_);
  Pieces pieces = split(text_, parsed.uri);
  std::string path = std::move(pieces.path);
  while (!path.empty() && path.back() == '/') path.pop_back();
  // "." and ".." would be read as "this segment" and "the one above"; escaped, they stay segments of their own.
  const std::string segment = component == "." ? "%2E" : component == ".." ? "%2E%2E" : percentEncode(component);
  std::string result = pieces.prefix + path + "/" + segment;
  auto url = Url::parse(result);
  return url ? *url : *this;
}

Url Url::withQueryItems(const std::vector<std::pair<std::string, std::string>>& items) const {
  std::string base = text_;
  if (auto hash = base.find('#'); hash != std::string::npos) base.erase(hash);
  if (auto question = base.find('?'); question != std::string::npos) base.erase(question);
  if (!items.empty()) {
    std::string query;
    for (const auto& [name, value] : items) {
      if (!query.empty()) query += '&';
      query += percentEncode(name);
      query += '=';
      query += percentEncode(value);
    }
    base += '?';
    base += query;
  }
  auto url = Url::parse(base);
  return url ? *url : *this;
}

}  // namespace quenmark
