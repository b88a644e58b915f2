#pragma once

#include "net/content_payloads.h"

#include <quenmark/error.h>

#include <cstddef>
#include <memory>
#include <string_view>

namespace simdjson::dom {
class parser;
}

namespace quenmark {

/// Decodes the content service's response bodies into their wire records.
///
/// Every presence and type rule of the records is checked; one bad record fails the whole body with an
/// `ErrorKind::decoding` error whose description names the place, for example
/// "groups[0].items[1].id: expected a UUID string". Keys a record does not know are ignored, whatever
/// valid JSON they hold (numbers too large for any machine type included).
///
/// Holds one reusable parser, so an instance is not safe for concurrent use: call it from one thread at a
/// time (the content client uses it on the HTTP session's thread, under its own lock).
class ContentDecoder {
 public:
  ContentDecoder();
  ~ContentDecoder();
  ContentDecoder(const ContentDecoder&) = delete;
  ContentDecoder& operator=(const ContentDecoder&) = delete;

  Result<SdkStoriesPayload> decodeStories(std::string_view body);
  Result<SdkBannersPayload> decodeBanners(std::string_view body);
  Result<VoteResponsePayload> decodeVoteResponse(std::string_view body);

 private:
  const char* padded(std::string_view body);

  std::unique_ptr<simdjson::dom::parser> parser_;
  // The body with the zeroed padding the parser reads past its end; kept between calls so that a
  // decode allocates nothing for it once the largest body has been seen.
  std::unique_ptr<char[]> padded_;
  std::size_t paddedCapacity_ = 0;
};

}  // namespace quenmark
