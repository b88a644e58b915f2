// WEBP bytes as the image pipeline's decode workers receive them.
#include "image_target.h"

QUENMARK_FUZZ_TARGET(webp_image) { quenmark::fuzz::checkDecodedImage(quenmark::platform::decodeWebp(bytes)); }
