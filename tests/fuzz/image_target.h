#pragma once

// What every image target checks: bytes that do not decode are refused as an image error; a picture that
// decodes has a size, rows wide enough for its pixels, and its last pixel inside the allocation.

#include "fuzz_target.h"

#include "platform/image_decoding.h"

namespace quenmark::fuzz {

inline void checkDecodedImage(const Result<std::shared_ptr<const Image>>& image) {
  if (!image.ok()) {
    QUENMARK_FUZZ_CHECK(image.error().kind == ErrorKind::image);
    return;
  }
  const Image& decoded = *image.value();
  QUENMARK_FUZZ_CHECK(decoded.width() > 0 && decoded.height() > 0 && decoded.stride() >= decoded.width() * 4u);
  decoded.rgbaAt(decoded.width() - 1, decoded.height() - 1);
}

}  // namespace quenmark::fuzz
