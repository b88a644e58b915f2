#pragma once

#include <quenmark/error.h>
#include <quenmark/net/image.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace quenmark::platform {

/// The encodings the SDK can decode, told apart by their leading bytes.
enum class ImageFormat { png, jpeg, webp };

/// Size limits checked against an image's header before any pixel memory is allocated.
struct ImageDecodeLimits {
  /// Largest width or height accepted.
  std::uint32_t maxDimension = 16384;
  /// Largest width * height accepted (40 megapixels is 160 MB of RGBA).
  std::uint64_t maxPixels = 40'000'000;
};

/// The format of `bytes` judged by their magic numbers (not by a file name or content type).
std::optional<ImageFormat> sniffImageFormat(std::string_view bytes) noexcept;

/// Decodes PNG, JPEG or WebP bytes into an upright RGBA image (a JPEG turned by its EXIF orientation).
/// The header's dimensions, as shown, are checked against `limits` before pixels are allocated. Bytes
/// that are no image, corrupt or truncated data, and images over the limits give an `ErrorKind::image`
/// error. Pure and thread-safe; never throws.
Result<std::shared_ptr<const Image>> decodeImage(std::string_view bytes, const ImageDecodeLimits& limits = {});

/// The single-format decoders behind `decodeImage` (the caller has sniffed the format).
Result<std::shared_ptr<const Image>> decodePng(std::string_view bytes, const ImageDecodeLimits& limits = {});
Result<std::shared_ptr<const Image>> decodeJpeg(std::string_view bytes, const ImageDecodeLimits& limits = {});
Result<std::shared_ptr<const Image>> decodeWebp(std::string_view bytes, const ImageDecodeLimits& limits = {});

}  // namespace quenmark::platform
