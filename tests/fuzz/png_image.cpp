// PNG bytes as the image pipeline's decode workers receive them.
#include "fuzz_target.h"

#include "platform/image_decoding.h"

QUENMARK_FUZZ_TARGET(png_image) {
  using namespace quenmark;
  auto image = platform::decodePng(bytes);
  if (!image.ok()) {
    QUENMARK_FUZZ_CHECK(image.error().kind == ErrorKind::image);
    return;
  }
  const Image& decoded = *image.value();
  QUENMARK_FUZZ_CHECK(decoded.width() > 0 && decoded.height() > 0 && decoded.stride() >= decoded.width() * 4u);
  // Every pixel may be read: the last one sits inside the allocation.
  decoded.rgbaAt(decoded.width() - 1, decoded.height() - 1);
}
