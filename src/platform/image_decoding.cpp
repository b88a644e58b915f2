#include "platform/image_decoding.h"

#include <libexif/exif-data.h>
#include <libexif/exif-loader.h>
#include <png.h>
#include <turbojpeg.h>
#include <webp/decode.h>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

namespace quenmark::platform {
namespace {

Error imageError(std::string description) { return Error{ErrorKind::image, std::move(description), 0}; }

/// Refuses a header's dimensions before anything is allocated for them.
std::optional<Error> checkDimensions(const char* format, std::uint64_t width, std::uint64_t height,
                                     const ImageDecodeLimits& limits) {
  if (width == 0 || height == 0) {
    return imageError(std::string("The ") + format + " image has no pixels.");
  }
  if (width > limits.maxDimension || height > limits.maxDimension || width * height > limits.maxPixels) {
    return imageError(std::string("The ") + format + " image is too large to decode (" + std::to_string(width) + "x" +
                      std::to_string(height) + " pixels).");
  }
  return std::nullopt;
}

/// Pixel memory for `bytes` bytes, left uninitialised (every byte is written by the decoder).
std::unique_ptr<std::uint8_t[]> allocatePixels(std::size_t bytes) {
  return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[bytes]);
}

Error outOfMemory(std::uint64_t width, std::uint64_t height) {
  return imageError("Not enough memory to decode a " + std::to_string(width) + "x" + std::to_string(height) +
                    " image.");
}

const unsigned char* bytesOf(std::string_view bytes) { return reinterpret_cast<const unsigned char*>(bytes.data()); }

/// One PNG being read with libpng, which reports errors by a long jump: every libpng call runs inside
/// `run`, whose frame holds nothing that needs destroying, and leaves its results in this object.
struct PngReading {
  explicit PngReading(std::string_view data) : bytes(data) {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, &PngReading::onError, &PngReading::onWarning);
    if (png != nullptr) info = png_create_info_struct(png);
    if (info != nullptr) png_set_read_fn(png, this, &PngReading::onRead);
  }
  ~PngReading() { png_destroy_read_struct(&png, &info, nullptr); }
  PngReading(const PngReading&) = delete;
  PngReading& operator=(const PngReading&) = delete;

  /// Runs `step`; false (with `message`) when libpng gave up.
  bool run(void (*step)(png_structp, png_infop, void*), void* context) {
    if (setjmp(png_jmpbuf(png))) return false;
    step(png, info, context);
    return true;
  }

  static void onError(png_structp png, png_const_charp text) {
    auto* self = static_cast<PngReading*>(png_get_error_ptr(png));
    std::snprintf(self->message, sizeof self->message, "%s", text);
    png_longjmp(png, 1);
  }
  static void onWarning(png_structp, png_const_charp) {}
  static void onRead(png_structp png, png_bytep out, png_size_t size) {
    auto* self = static_cast<PngReading*>(png_get_io_ptr(png));
    if (size > self->bytes.size() - self->offset) png_error(png, "the data ends early");
    std::memcpy(out, self->bytes.data() + self->offset, size);
    self->offset += size;
  }

  std::string_view bytes;
  std::size_t offset = 0;
  png_structp png = nullptr;
  png_infop info = nullptr;
  char message[160] = "";
};

void readPngHeader(png_structp png, png_infop info, void*) {
  png_set_benign_errors(png, 1);
  png_read_info(png, info);
}

/// Sets up the conversion of every colour type, bit depth and interlacing to 8-bit RGBA. Samples are
/// taken as sRGB values unless a gamma chunk says otherwise, 16-bit ones included (as browsers and the
/// systems hosts compare against read them).
void convertPngToRgba(png_structp png, png_infop info, void*) {
  png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, transparency chunk to alpha
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // opaque alpha where the image has none
  png_set_alpha_mode(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

void readPngRows(png_structp png, png_infop, void* rows) { png_read_image(png, static_cast<png_bytepp>(rows)); }

/// The EXIF orientation of a JPEG (1 to 8), 1 when it has none or an invalid one.
int exifOrientation(std::string_view bytes) {
  ExifLoader* loader = exif_loader_new();
  if (loader == nullptr) return 1;
  // The loader walks the markers up to the EXIF segment and stops there (or at the first other marker).
  exif_loader_write(loader, const_cast<unsigned char*>(bytesOf(bytes)),
                    static_cast<unsigned int>(std::min<std::size_t>(bytes.size(), UINT_MAX)));
  ExifData* exif = exif_loader_get_data(loader);
  exif_loader_unref(loader);
  if (exif == nullptr) return 1;
  int orientation = 1;
  const ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
  if (entry != nullptr && entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->size >= 2) {
    orientation = exif_get_short(entry->data, exif_data_get_byte_order(exif));
  }
  exif_data_unref(exif);
  return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

/// CMYK pixels to RGBA in place. JPEG files store CMYK inverted (255 is no ink), as print software
/// writes them and browsers read them: red = cyan * black / 255, and so on.
void convertInvertedCmykToRgba(std::uint8_t* pixels, std::size_t count) {
  for (std::uint8_t* p = pixels; p != pixels + count * 4u; p += 4) {
    const unsigned black = p[3];
    for (int i = 0; i < 3; ++i) p[i] = static_cast<std::uint8_t>((p[i] * black + 127u) / 255u);
    p[3] = 0xFF;
  }
}

/// The `width` x `height` RGBA picture turned upright for EXIF `orientation` (2 to 8): mirrored, turned a
/// half or a quarter turn, or both. Nothing when there is no memory for the copy.
std::unique_ptr<std::uint8_t[]> oriented(const std::uint8_t* source, std::uint32_t width, std::uint32_t height,
                                         int orientation) {
  const bool turned = orientation >= 5;
  const std::uint32_t outWidth = turned ? height : width;
  const std::uint32_t outHeight = turned ? width : height;
  auto out = allocatePixels(std::size_t{outWidth} * outHeight * 4u);
  if (!out) return out;
  for (std::uint32_t y = 0; y < outHeight; ++y) {
    for (std::uint32_t x = 0; x < outWidth; ++x) {
      // The stored pixel that shows at (x, y).
      std::uint32_t sx = x;
      std::uint32_t sy = y;
      switch (orientation) {
        case 2: sx = width - 1 - x; break;                       // mirrored left to right
        case 3: sx = width - 1 - x, sy = height - 1 - y; break;  // half turn
        case 4: sy = height - 1 - y; break;                      // mirrored top to bottom
        case 5: sx = y, sy = x; break;                           // mirrored along the main diagonal
        case 6: sx = y, sy = height - 1 - x; break;              // stored a quarter turn anticlockwise
        case 7: sx = width - 1 - y, sy = height - 1 - x; break;  // mirrored along the other diagonal
        case 8: sx = width - 1 - y, sy = x; break;               // stored a quarter turn clockwise
        default: break;
      }
      std::memcpy(out.get() + (std::size_t{y} * outWidth + x) * 4u, source + (std::size_t{sy} * width + sx) * 4u, 4);
    }
  }
  return out;
}

struct TurboJpegHandleDeleter {
  void operator()(void* handle) const noexcept { tjDestroy(handle); }
};

/// One decompressor per thread: creating one per image costs more than reading a small header.
tjhandle threadJpegDecompressor() {
  thread_local std::unique_ptr<void, TurboJpegHandleDeleter> handle{tjInitDecompress()};
  return handle.get();
}

}  // namespace

std::optional<ImageFormat> sniffImageFormat(std::string_view bytes) noexcept {
  static constexpr unsigned char kPng[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  static constexpr unsigned char kJpeg[] = {0xFF, 0xD8, 0xFF};
  const unsigned char* data = bytesOf(bytes);
  if (bytes.size() >= sizeof kPng && std::memcmp(data, kPng, sizeof kPng) == 0) return ImageFormat::png;
  if (bytes.size() >= sizeof kJpeg && std::memcmp(data, kJpeg, sizeof kJpeg) == 0) return ImageFormat::jpeg;
  if (bytes.size() >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WEBP", 4) == 0) {
    return ImageFormat::webp;
  }
  return std::nullopt;
}

Result<std::shared_ptr<const Image>> decodePng(std::string_view bytes, const ImageDecodeLimits& limits) {
  PngReading reading(bytes);
  if (reading.png == nullptr || reading.info == nullptr) return imageError("The PNG decoder could not be created.");
  if (!reading.run(readPngHeader, nullptr)) {
    return imageError(std::string("The PNG image could not be read: ") + reading.message + ".");
  }
  const png_uint_32 width = png_get_image_width(reading.png, reading.info);
  const png_uint_32 height = png_get_image_height(reading.png, reading.info);
  if (auto refused = checkDimensions("PNG", width, height, limits)) return *refused;
  if (!reading.run(convertPngToRgba, nullptr)) {
    return imageError(std::string("The PNG image could not be read: ") + reading.message + ".");
  }
  const std::size_t stride = std::size_t{width} * 4u;
  if (png_get_rowbytes(reading.png, reading.info) != stride) return imageError("The PNG image has no RGBA form.");
  auto pixels = allocatePixels(stride * height);
  if (!pixels) return outOfMemory(width, height);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.get() + y * stride;
  if (!reading.run(readPngRows, rows.data())) {
    return imageError(std::string("The PNG image could not be decoded: ") + reading.message + ".");
  }
  return std::shared_ptr<const Image>(std::make_shared<Image>(width, height, stride, std::move(pixels)));
}

Result<std::shared_ptr<const Image>> decodeJpeg(std::string_view bytes, const ImageDecodeLimits& limits) {
  tjhandle handle = threadJpegDecompressor();
  if (handle == nullptr) return imageError("The JPEG decoder could not be created.");
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<unsigned long>::max())) {
    return imageError("The JPEG image is too large to decode.");
  }
  auto* data = const_cast<unsigned char*>(bytesOf(bytes));  // turbojpeg 2.x takes non-const input
  const auto size = static_cast<unsigned long>(bytes.size());
  int width = 0;
  int height = 0;
  int subsampling = 0;
  int colorspace = 0;
  if (tjDecompressHeader3(handle, data, size, &width, &height, &subsampling, &colorspace) != 0) {
    return imageError(std::string("The JPEG image could not be read: ") + tjGetErrorStr2(handle) + ".");
  }
  if (width <= 0 || height <= 0) return imageError("The JPEG image has no pixels.");
  const int orientation = exifOrientation(bytes);
  const bool turned = orientation >= 5;  // a quarter turn swaps width and height
  const auto shownWidth = static_cast<std::uint32_t>(turned ? height : width);
  const auto shownHeight = static_cast<std::uint32_t>(turned ? width : height);
  if (auto refused = checkDimensions("JPEG", shownWidth, shownHeight, limits)) return *refused;
  const std::size_t stride = static_cast<std::size_t>(width) * 4u;
  auto pixels = allocatePixels(stride * static_cast<std::size_t>(height));
  if (!pixels) return outOfMemory(shownWidth, shownHeight);
  // CMYK and YCCK pictures (from print workflows and some cameras) only decompress to CMYK.
  const bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
  // A warning (such as a premature end of the data) also fails: the rest of the picture would be
  // filler, and a partly grey picture is worse than the caller's placeholder. Decoding stops at the
  // warning rather than filling the rest in, and a progressive file gets a bounded number of scans: a
  // few hundred bytes claiming a large picture would otherwise keep a worker busy for seconds.
  constexpr int kFlags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;
  if (tjDecompress2(handle, data, size, pixels.get(), width, static_cast<int>(stride), height,
                    cmyk ? TJPF_CMYK : TJPF_RGBA, kFlags) != 0) {
    return imageError(std::string("The JPEG image could not be decoded: ") + tjGetErrorStr2(handle) + ".");
  }
  if (cmyk) convertInvertedCmykToRgba(pixels.get(), static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  if (orientation != 1) {
    pixels = oriented(pixels.get(), static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), orientation);
    if (!pixels) return outOfMemory(shownWidth, shownHeight);
  }
  return std::shared_ptr<const Image>(
      std::make_shared<Image>(shownWidth, shownHeight, std::size_t{shownWidth} * 4u, std::move(pixels)));
}

Result<std::shared_ptr<const Image>> decodeWebp(std::string_view bytes, const ImageDecodeLimits& limits) {
  WebPBitstreamFeatures features;
  std::memset(&features, 0, sizeof features);
  VP8StatusCode status = WebPGetFeatures(bytesOf(bytes), bytes.size(), &features);
  if (status != VP8_STATUS_OK) {
    return imageError("The WebP image could not be read (status " + std::to_string(static_cast<int>(status)) + ").");
  }
  if (features.has_animation) return imageError("Animated WebP images are not supported.");
  if (features.width <= 0 || features.height <= 0) return imageError("The WebP image has no pixels.");
  const auto width = static_cast<std::uint32_t>(features.width);
  const auto height = static_cast<std::uint32_t>(features.height);
  if (auto refused = checkDimensions("WebP", width, height, limits)) return *refused;
  const std::size_t stride = std::size_t{width} * 4u;
  const std::size_t total = stride * height;
  auto pixels = allocatePixels(total);
  if (!pixels) return outOfMemory(width, height);
  if (WebPDecodeRGBAInto(bytesOf(bytes), bytes.size(), pixels.get(), total, static_cast<int>(stride)) == nullptr) {
    return imageError("The WebP image could not be decoded.");
  }
  return std::shared_ptr<const Image>(std::make_shared<Image>(width, height, stride, std::move(pixels)));
}

Result<std::shared_ptr<const Image>> decodeImage(std::string_view bytes, const ImageDecodeLimits& limits) {
  try {
    const auto format = sniffImageFormat(bytes);
    if (!format) return imageError("The bytes are not an image in a supported format (PNG, JPEG or WebP).");
    switch (*format) {
      case ImageFormat::png: return decodePng(bytes, limits);
      case ImageFormat::jpeg: return decodeJpeg(bytes, limits);
      case ImageFormat::webp: return decodeWebp(bytes, limits);
    }
    return imageError("The image format is not supported.");
  } catch (const std::bad_alloc&) {
    return imageError("Not enough memory to decode the image.");
  }
}

}  // namespace quenmark::platform
