#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quenmark::testsupport {

/// Straight RGBA pixels made by a test, to encode and compare against.
struct TestPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgba;  // width * 4 bytes per row, no padding

  std::uint32_t rgbaAt(std::uint32_t x, std::uint32_t y) const;
};

/// A smooth picture (gradients compress well in every format). With `translucent`, alpha varies too.
TestPicture makeTestPicture(std::uint32_t width, std::uint32_t height, bool translucent = false);

/// Encoders of the libraries the SDK decodes with. Each returns the file's bytes.
std::string encodePng(const TestPicture& picture);
/// A PNG written by libpng's simplified writer from `pixels` in `format` (a PNG_FORMAT_... value), rows
/// without padding; in a colour-mapped format the pixels are indices into `colormap`.
std::string encodePng(std::uint32_t width, std::uint32_t height, std::uint32_t format, const void* pixels,
                      const void* colormap = nullptr, std::uint32_t colormapEntries = 0);
/// `png` with a chunk of `type` and `data` added before its pixel data.
std::string withPngChunk(const std::string& png, const std::string& type, const std::string& data);
std::string encodeWebp(const TestPicture& picture, bool lossless = true);
/// A JPEG of the picture's colours. With `cmyk` set, a CMYK JPEG (YCCK with `ycck`) stored inverted as print
/// software does: each channel is the picture's red, green and blue, and black is `black` (255 means none).
std::string encodeJpeg(const TestPicture& picture, int quality = 90, bool cmyk = false, bool ycck = false,
                       std::uint8_t black = 255);
/// `jpeg` with an EXIF segment holding `orientation`, in big- or little-endian byte order.
std::string withExifOrientation(const std::string& jpeg, std::uint16_t orientation, bool bigEndian);

/// Small valid files whose headers were rewritten to claim `width` x `height`, followed by far too
/// little data for that size: a decoder must refuse them from the header alone.
std::string pngClaimingSize(std::uint32_t width, std::uint32_t height);
/// JPEG sizes are 16-bit; `width` and `height` must be at most 65535.
std::string jpegClaimingSize(std::uint16_t width, std::uint16_t height);
/// Lossy WebP sizes are 14-bit; `width` and `height` must be at most 16383.
std::string webpClaimingSize(std::uint16_t width, std::uint16_t height);

}  // namespace quenmark::testsupport
