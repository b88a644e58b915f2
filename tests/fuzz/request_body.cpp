// Request bodies the reference service receives. The first byte picks the route; the rest is the body.
#include "fuzz_target.h"

#include "devserver/wire_records.h"

QUENMARK_FUZZ_TARGET(request_body) {
  using namespace quenmark::devserver;
  if (bytes.empty()) return;
  auto body = parseBodyObject(bytes.substr(1));
  if (!body.ok()) {
    QUENMARK_FUZZ_CHECK(!body.error().empty());
    return;
  }
  switch (static_cast<unsigned char>(bytes[0]) % 3) {
    case 0: checkSdkEventRequest(body.value()); break;
    case 1: checkAnalyticsEventPayload(body.value()); break;
    default: checkVoteRequest(body.value()); break;
  }
}
