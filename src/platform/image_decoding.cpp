#include "platform/image_decoding.h"

#include <png.h>
#include <turbojpeg.h>
#include <webp/decode.h>

#include <cstring>
#include <limits>
#include <new>
#include <string>

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
  // libpng's simplified reader keeps its error handling (setjmp/longjmp) inside the library and reports
  // failures through the return value and `message`.
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
    Error error = imageError(std::string("The PNG image could not be read: ") + png.message + ".");
    png_image_free(&png);
    return error;
  }
  if (auto refused = checkDimensions("PNG", png.width, png.height, limits)) {
    png_image_free(&png);
    return *refused;
  }
  png.format = PNG_FORMAT_RGBA;
  const std::size_t stride = std::size_t{png.width} * 4u;
  auto pixels = allocatePixels(stride * png.height);
  if (!pixels) {
    png_image_free(&png);
    return outOfMemory(png.width, png.height);
  }
  // png_image_finish_read releases the reader whether it succeeds or not.
  if (!png_image_finish_read(&png, nullptr, pixels.get(), static_cast<png_int_32>(stride), nullptr)) {
    return imageError(std::string("The PNG image could not be decoded: ") + png.message + ".");
  }
  return std::shared_ptr<const Image>(std::make_shared<Image>(png.width, png.height, stride, std::move(pixels)));
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
  if (auto refused =
          checkDimensions("JPEG", static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), limits)) {
    return *refused;
  }
  const std::size_t stride = static_cast<std::size_t>(width) * 4u;
  auto pixels = allocatePixels(stride * static_cast<std::size_t>(height));
  if (!pixels) return outOfMemory(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
  // A warning (such as a premature end of the data) also fails: the rest of the picture would be
  // filler, and a partly grey picture is worse than the caller's placeholder.
  if (tjDecompress2(handle, data, size, pixels.get(), width, static_cast<int>(stride), height, TJPF_RGBA, 0) != 0) {
    return imageError(std::string("The JPEG image could not be decoded: ") + tjGetErrorStr2(handle) + ".");
  }
  return std::shared_ptr<const Image>(std::make_shared<Image>(
      static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), stride, std::move(pixels)));
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
