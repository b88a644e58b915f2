// Stories response bodies as the content client treats them: decoded, then every group mapped.
#include "fuzz_target.h"

#include "net/content_decoder.h"
#include "net/payload_mapping.h"

#include <utility>

QUENMARK_FUZZ_TARGET(stories_body) {
  using namespace quenmark;
  static ContentDecoder decoder;  // reused between bodies, as a client reuses its own
  auto payload = decoder.decodeStories(bytes);
  if (!payload.ok()) {
    QUENMARK_FUZZ_CHECK(payload.error().kind == ErrorKind::decoding && !payload.error().description.empty());
    return;
  }
  for (auto& group : payload.value().groups) {
    QUENMARK_FUZZ_CHECK(group.id.size() == 36);
    auto mapped = makeStoryGroup(std::move(group), SystemTime{});
    if (mapped) QUENMARK_FUZZ_CHECK(!mapped->items().empty());
  }
}
