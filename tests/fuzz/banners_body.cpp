// Banners response bodies as the content client treats them: decoded, then every banner mapped.
#include "fuzz_target.h"

#include "net/content_decoder.h"
#include "net/payload_mapping.h"

#include <utility>

QUENMARK_FUZZ_TARGET(banners_body) {
  using namespace quenmark;
  static ContentDecoder decoder;
  auto payload = decoder.decodeBanners(bytes);
  if (!payload.ok()) {
    QUENMARK_FUZZ_CHECK(payload.error().kind == ErrorKind::decoding && !payload.error().description.empty());
    return;
  }
  for (auto& banner : payload.value().banners) {
    auto mapped = makeBanner(std::move(banner));
    if (mapped) QUENMARK_FUZZ_CHECK(!mapped->items().empty());
  }
}
