// PNG bytes as the image pipeline's decode workers receive them.
#include "image_target.h"

QUENMARK_FUZZ_TARGET(png_image) { quenmark::fuzz::checkDecodedImage(quenmark::platform::decodePng(bytes)); }
