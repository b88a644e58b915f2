// URL texts from the service and the host. A text that parses keeps its meaning when printed and parsed
// again, and every URL the SDK derives from it (a path segment appended, a query set) parses too.
#include "fuzz_target.h"

#include <quenmark/url.h>

#include <string>

QUENMARK_FUZZ_TARGET(url_text) {
  using namespace quenmark;
  const std::size_t split = bytes.find('\n');
  const std::string_view text = bytes.substr(0, split);
  const std::string_view extra = split == std::string_view::npos ? std::string_view{} : bytes.substr(split + 1);
  auto url = Url::parse(text);
  if (!url) return;
  QUENMARK_FUZZ_CHECK(!url->scheme().empty());
  auto reparsed = Url::parse(url->string());
  QUENMARK_FUZZ_CHECK(reparsed && *reparsed == *url);
  url->host();
  url->port();
  url->query();
  url->isLoopback();
  const Url appended = url->appendingPathComponent(extra);
  QUENMARK_FUZZ_CHECK(Url::parse(appended.string()).has_value());
  const Url queried = url->withQueryItems({{std::string(extra), std::string(text)}, {"locale", "en-US"}});
  QUENMARK_FUZZ_CHECK(Url::parse(queried.string()).has_value());
  QUENMARK_FUZZ_CHECK(queried.query().has_value());
}
