#include "platform/image_decoding.h"

#include "test_images.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace quenmark {
namespace {

using platform::decodeImage;
using platform::ImageDecodeLimits;
using platform::ImageFormat;
using platform::sniffImageFormat;
using testsupport::makeTestPicture;
using testsupport::TestPicture;

void expectSamePixels(const Image& image, const TestPicture& picture, int tolerance) {
  ASSERT_EQ(image.width(), picture.width);
  ASSERT_EQ(image.height(), picture.height);
  ASSERT_GE(image.stride(), std::size_t{picture.width} * 4u);
  int worst = 0;
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      const std::uint32_t got = image.rgbaAt(x, y);
      const std::uint32_t want = picture.rgbaAt(x, y);
      for (int shift = 0; shift < 32; shift += 8) {
        worst = std::max(
            worst, std::abs(static_cast<int>((got >> shift) & 0xFFu) - static_cast<int>((want >> shift) & 0xFFu)));
      }
    }
  }
  EXPECT_LE(worst, tolerance);
}

void expectImageError(const Result<std::shared_ptr<const Image>>& result, const std::string& mentioning = "") {
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error().kind, ErrorKind::image);
  EXPECT_FALSE(result.error().description.empty());
  if (!mentioning.empty()) {
    EXPECT_NE(result.error().description.find(mentioning), std::string::npos) << result.error().description;
  }
}

TEST(ImageDecoding, DecodesEachFormatToRgba) {
  const TestPicture translucent = makeTestPicture(37, 23, /*translucent=*/true);
  const TestPicture opaque = makeTestPicture(64, 48);

  auto png = decodeImage(testsupport::encodePng(translucent));
  ASSERT_TRUE(png.ok()) << png.error().description;
  expectSamePixels(*png.value(), translucent, 0);

  auto webpLossless = decodeImage(testsupport::encodeWebp(translucent, /*lossless=*/true));
  ASSERT_TRUE(webpLossless.ok()) << webpLossless.error().description;
  expectSamePixels(*webpLossless.value(), translucent, 0);

  auto webpLossy = decodeImage(testsupport::encodeWebp(opaque, /*lossless=*/false));
  ASSERT_TRUE(webpLossy.ok()) << webpLossy.error().description;
  expectSamePixels(*webpLossy.value(), opaque, 24);

  auto jpeg = decodeImage(testsupport::encodeJpeg(opaque, 95));
  ASSERT_TRUE(jpeg.ok()) << jpeg.error().description;
  expectSamePixels(*jpeg.value(), opaque, 16);
  EXPECT_EQ(jpeg.value()->rgbaAt(5, 5) & 0xFFu, 0xFFu) << "JPEG pixels are opaque";
}

TEST(ImageDecoding, TellsFormatsApartByContent) {
  const TestPicture picture = makeTestPicture(8, 8);
  EXPECT_EQ(sniffImageFormat(testsupport::encodePng(picture)), ImageFormat::png);
  EXPECT_EQ(sniffImageFormat(testsupport::encodeJpeg(picture)), ImageFormat::jpeg);
  EXPECT_EQ(sniffImageFormat(testsupport::encodeWebp(picture)), ImageFormat::webp);
  EXPECT_EQ(sniffImageFormat("RIFF\x10\0\0\0WAVEfmt "), std::nullopt);
  EXPECT_EQ(sniffImageFormat("\x89PN"), std::nullopt);

  expectImageError(decodeImage(""), "not an image");
  expectImageError(decodeImage("<html><body>Not Found</body></html>"), "not an image");
  expectImageError(decodeImage(R"({"error":"not found"})"), "not an image");
}

TEST(ImageDecoding, RefusesOversizedHeadersBeforeAllocating) {
  // Each file claims billions of bytes of pixels but carries a few hundred bytes: a decoder that
  // allocated for the header's size first would ask for tens of gigabytes.
  expectImageError(decodeImage(testsupport::pngClaimingSize(100000, 100000)), "100000x100000");
  expectImageError(decodeImage(testsupport::jpegClaimingSize(60000, 60000)), "60000x60000");
  expectImageError(decodeImage(testsupport::webpClaimingSize(16383, 16383)), "16383x16383");
  // One side over the limit is enough, even when the total is small.
  expectImageError(decodeImage(testsupport::pngClaimingSize(20000, 1)), "too large");
}

TEST(ImageDecoding, AppliesTheCallersLimits) {
  const TestPicture picture = makeTestPicture(40, 10);
  const ImageDecodeLimits narrow{32, 1'000'000};
  const ImageDecodeLimits few{1000, 399};
  const ImageDecodeLimits exact{40, 400};
  for (const std::string& bytes :
       {testsupport::encodePng(picture), testsupport::encodeJpeg(picture), testsupport::encodeWebp(picture)}) {
    expectImageError(decodeImage(bytes, narrow), "too large");
    expectImageError(decodeImage(bytes, few), "too large");
    EXPECT_TRUE(decodeImage(bytes, exact).ok());
  }
}

TEST(ImageDecoding, CorruptDataIsAnError) {
  const TestPicture picture = makeTestPicture(64, 64);
  // PNG: a flipped byte inside the pixel data breaks the chunk's checksum.
  std::string png = testsupport::encodePng(picture);
  png[png.size() - 20] = static_cast<char>(png[png.size() - 20] ^ 0x5A);
  expectImageError(decodeImage(png));
  // JPEG: the scan data replaced by a marker the decoder does not expect.
  std::string jpeg = testsupport::encodeJpeg(picture);
  const auto scan = jpeg.find("\xFF\xDA");
  ASSERT_NE(scan, std::string::npos);
  jpeg.replace(scan + 20, 2, "\xFF\xD9");
  expectImageError(decodeImage(jpeg));
  // WebP: a RIFF header promising a chunk far larger than the data.
  std::string webp = testsupport::encodeWebp(picture, false);
  webp[16] = '\xFF';
  webp[17] = '\xFF';
  webp[18] = '\xFF';
  webp[19] = '\x0F';
  expectImageError(decodeImage(webp));
}

TEST(ImageDecoding, TruncatedOrDamagedInputIsAnErrorAndNeverACrash) {
  // Every prefix length and many random single-byte changes: each decode ends with an image or an
  // error, never a crash (run under the sanitizers this also checks for stray reads and writes).
  const TestPicture picture = makeTestPicture(24, 24, true);
  std::mt19937 random(20261206);
  for (const std::string& bytes : {testsupport::encodePng(picture), testsupport::encodeJpeg(picture),
                                   testsupport::encodeWebp(picture, true), testsupport::encodeWebp(picture, false)}) {
    SCOPED_TRACE(static_cast<int>(*sniffImageFormat(bytes)));
    // Half a file, or only its first bytes, is always an error.
    expectImageError(decodeImage(bytes.substr(0, bytes.size() / 2)));
    expectImageError(decodeImage(bytes.substr(0, 16)));
    for (std::size_t length = 0; length < bytes.size(); length += std::max<std::size_t>(1, bytes.size() / 150)) {
      auto result = decodeImage(std::string_view(bytes).substr(0, length));
      if (!result.ok()) {
        EXPECT_EQ(result.error().kind, ErrorKind::image);
      }
    }
    for (int round = 0; round < 300; ++round) {
      std::string damaged = bytes;
      std::uniform_int_distribution<std::size_t> where(0, damaged.size() - 1);
      for (int flips = 0; flips < 3; ++flips) damaged[where(random)] = static_cast<char>(random() & 0xFF);
      auto result = decodeImage(damaged);
      if (result.ok()) {
        EXPECT_EQ(result.value()->width(), picture.width);
      } else {
        EXPECT_EQ(result.error().kind, ErrorKind::image);
      }
    }
  }
}

}  // namespace
}  // namespace quenmark
