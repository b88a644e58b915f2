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

/// A PNG of any colour type, bit depth and interlacing, as raw samples: `channels` values per pixel, row
/// by row (palette indices for a palette image). Written without gamma or colour chunks.
struct PngPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int colorType = 0;  // PNG_COLOR_TYPE_...
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<std::uint16_t> samples;
  std::vector<std::uint8_t> palette;       // red, green, blue per entry
  std::vector<std::uint8_t> paletteAlpha;  // tRNS of a palette image
  std::vector<std::uint16_t> transparent;  // tRNS of a grey (one value) or RGB (three) image

  int channels() const;
};

/// Encoders of the libraries the SDK decodes with. Each returns the file's bytes.
std::string encodePng(const PngPicture& picture);
std::string encodePng(const TestPicture& picture);
std::string encodeJpeg(const TestPicture& picture, int quality = 90);
std::string encodeWebp(const TestPicture& picture, bool lossless = true);
/// A CMYK JPEG (plain CMYK, or YCCK with `ycck`) stored inverted as print software does: each channel is
/// the picture's red, green and blue, and black is `black` (255 means none).
std::string encodeCmykJpeg(const TestPicture& picture, bool ycck, std::uint8_t black);
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
