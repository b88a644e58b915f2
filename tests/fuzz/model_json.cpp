// The JSON coding hosts use for content values. The first byte picks the record; the rest is the text.
// A text that decodes must encode, and its encoding must decode and encode to the same text again.
#include "fuzz_target.h"

#include <quenmark/model/model_json.h>

namespace {

template <class Decode>
void roundTrip(std::string_view text, Decode decode) {
  auto value = decode(text);
  if (!value.ok()) {
    QUENMARK_FUZZ_CHECK(value.error().kind == quenmark::ErrorKind::decoding);
    return;
  }
  auto encoded = quenmark::encodeJson(value.value());
  QUENMARK_FUZZ_CHECK(encoded.ok());
  auto again = decode(encoded.value());
  QUENMARK_FUZZ_CHECK(again.ok());
  auto reencoded = quenmark::encodeJson(again.value());
  QUENMARK_FUZZ_CHECK(reencoded.ok() && reencoded.value() == encoded.value());
}

}  // namespace

QUENMARK_FUZZ_TARGET(model_json) {
  using namespace quenmark;
  if (bytes.empty()) return;
  const std::string_view text = bytes.substr(1);
  switch (static_cast<unsigned char>(bytes[0]) % 5) {
    case 0: roundTrip(text, decodeStoryItemJson); break;
    case 1: roundTrip(text, decodeWidgetOptionJson); break;
    case 2: roundTrip(text, decodeWidgetUserVoteJson); break;
    case 3: roundTrip(text, decodeBannerJson); break;
    default: roundTrip(text, decodeBannerItemJson); break;
  }
}
