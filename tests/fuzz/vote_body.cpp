// Vote response bodies.
#include "fuzz_target.h"

#include "net/content_decoder.h"

QUENMARK_FUZZ_TARGET(vote_body) {
  using namespace quenmark;
  static ContentDecoder decoder;
  auto payload = decoder.decodeVoteResponse(bytes);
  if (!payload.ok()) QUENMARK_FUZZ_CHECK(payload.error().kind == ErrorKind::decoding);
}
