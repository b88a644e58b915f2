#include "platform/image_decoding.h"

#include "test_images.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace quenmark {
namespace {

using platform::decodeImage;
using platform::ImageDecodeLimits;
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
      // The colour of a fully transparent pixel is not seen.
      for (int shift = (want & 0xFFu) == 0 ? 0 : 24; shift >= 0; shift -= 8) {
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
  const std::tuple<std::string, const TestPicture*, int> cases[] = {
      {testsupport::encodePng(translucent), &translucent, 0},
      {testsupport::encodeWebp(translucent, /*lossless=*/true), &translucent, 0},
      {testsupport::encodeWebp(opaque, /*lossless=*/false), &opaque, 24},
      {testsupport::encodeJpeg(opaque, 95), &opaque, 16},  // opaque pixels: alpha is compared too
  };
  for (const auto& [bytes, picture, tolerance] : cases) {
    auto decoded = decodeImage(bytes);
    ASSERT_TRUE(decoded.ok()) << decoded.error().description;
    expectSamePixels(*decoded.value(), *picture, tolerance);
  }
}

TEST(ImageDecoding, PngsOfEveryColourLayoutShowTheirPixels) {
  // Two by two pixels in each layout, and the RGBA they show. 16-bit samples are written linear, so only
  // their ends are used; the palette of two entries is written with one bit per pixel and a tRNS chunk.
  const std::uint8_t gray[] = {0, 85, 170, 255};
  const std::uint8_t grayAlpha[] = {0, 255, 85, 0, 170, 128, 255, 255};
  const std::uint8_t rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
  const std::uint16_t gray16[] = {0, 65535, 65535, 0};
  const std::uint8_t palette[] = {200, 100, 50, 255, 0, 0, 255, 128};
  const std::uint8_t indices[] = {0, 1, 1, 0};
  const std::tuple<std::uint32_t, const void*, const void*, std::vector<std::uint32_t>> cases[] = {
      {PNG_FORMAT_GRAY, gray, nullptr, {0x000000FF, 0x555555FF, 0xAAAAAAFF, 0xFFFFFFFF}},
      {PNG_FORMAT_GA, grayAlpha, nullptr, {0x000000FF, 0x55555500, 0xAAAAAA80, 0xFFFFFFFF}},
      {PNG_FORMAT_RGB, rgb, nullptr, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0x0A141EFF}},
      {PNG_FORMAT_LINEAR_Y, gray16, nullptr, {0x000000FF, 0xFFFFFFFF, 0xFFFFFFFF, 0x000000FF}},
      {PNG_FORMAT_RGBA_COLORMAP, indices, palette, {0xC86432FF, 0x0000FF80, 0x0000FF80, 0xC86432FF}},
  };
  for (const auto& [format, pixels, colormap, shown] : cases) {
    SCOPED_TRACE("format " + std::to_string(format));
    auto decoded = decodeImage(testsupport::encodePng(2, 2, format, pixels, colormap, colormap ? 2 : 0));
    ASSERT_TRUE(decoded.ok()) << decoded.error().description;
    const Image& image = *decoded.value();
    EXPECT_EQ((std::vector{image.rgbaAt(0, 0), image.rgbaAt(1, 0), image.rgbaAt(0, 1), image.rgbaAt(1, 1)}), shown);
  }
  // A tRNS chunk makes one grey value transparent.
  auto keyed = decodeImage(
      testsupport::withPngChunk(testsupport::encodePng(2, 2, PNG_FORMAT_GRAY, gray), "tRNS", std::string("\0\x55", 2)));
  ASSERT_TRUE(keyed.ok()) << keyed.error().description;
  EXPECT_EQ(keyed.value()->rgbaAt(1, 0), 0x55555500u);
}

TEST(ImageDecoding, CmykAndYcckJpegsShowTheirColours) {
  const TestPicture picture = makeTestPicture(48, 32);
  for (bool ycck : {false, true}) {
    for (std::uint8_t black : {std::uint8_t{255}, std::uint8_t{128}}) {
      SCOPED_TRACE(std::string(ycck ? "YCCK" : "CMYK") + ", black " + std::to_string(black));
      auto decoded = decodeImage(testsupport::encodeJpeg(picture, 95, /*cmyk=*/true, ycck, black));
      ASSERT_TRUE(decoded.ok()) << decoded.error().description;
      TestPicture shown = picture;
      for (std::size_t i = 0; i < shown.rgba.size(); ++i) {
        if (i % 4 != 3) shown.rgba[i] = static_cast<std::uint8_t>(shown.rgba[i] * black / 255);
      }
      expectSamePixels(*decoded.value(), shown, 16);
    }
  }
}

TEST(ImageDecoding, JpegsAreTurnedUprightByTheirExifOrientation) {
  constexpr std::uint32_t kRed = 0xFF0000FF, kGreen = 0x00FF00FF, kBlue = 0x0000FFFF, kWhite = 0xFFFFFFFF;
  // Stored 64 x 32: red, green above blue, white.
  TestPicture stored{64, 32, std::vector<std::uint8_t>(64u * 32u * 4u)};
  for (std::uint32_t y = 0; y < 32; ++y) {
    for (std::uint32_t x = 0; x < 64; ++x) {
      const std::uint32_t color = y < 16 ? (x < 32 ? kRed : kGreen) : (x < 32 ? kBlue : kWhite);
      for (int i = 0; i < 4; ++i)
        stored.rgba[(y * 64u + x) * 4u + i] = static_cast<std::uint8_t>(color >> (24 - 8 * i));
    }
  }
  const std::string jpeg = testsupport::encodeJpeg(stored, 95);
  struct Case {
    std::uint16_t orientation;
    bool tall;
    std::uint32_t topLeft, topRight, bottomLeft, bottomRight;
  };
  const Case cases[] = {
      {1, false, kRed, kGreen, kBlue, kWhite}, {2, false, kGreen, kRed, kWhite, kBlue},
      {3, false, kWhite, kBlue, kGreen, kRed}, {4, false, kBlue, kWhite, kRed, kGreen},
      {5, true, kRed, kBlue, kGreen, kWhite},  {6, true, kBlue, kRed, kWhite, kGreen},
      {7, true, kWhite, kGreen, kBlue, kRed},  {8, true, kGreen, kWhite, kRed, kBlue},
      {9, false, kRed, kGreen, kBlue, kWhite},  // not an orientation: left as stored
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("orientation " + std::to_string(c.orientation));
    auto decoded = decodeImage(testsupport::withExifOrientation(jpeg, c.orientation, c.orientation % 2 == 0));
    ASSERT_TRUE(decoded.ok()) << decoded.error().description;
    const Image& image = *decoded.value();
    ASSERT_EQ(image.width(), c.tall ? 32u : 64u);
    ASSERT_EQ(image.height(), c.tall ? 64u : 32u);
    const std::uint32_t w = image.width(), h = image.height();
    const std::pair<std::uint32_t, std::uint32_t> centres[] = {
        {w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}};
    const std::uint32_t wanted[] = {c.topLeft, c.topRight, c.bottomLeft, c.bottomRight};
    for (int i = 0; i < 4; ++i) {
      const std::uint32_t got = image.rgbaAt(centres[i].first, centres[i].second);
      for (int shift = 8; shift < 32; shift += 8) {
        EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFFu), static_cast<int>((wanted[i] >> shift) & 0xFFu), 40)
            << "quarter " << i;
      }
    }
  }
}

TEST(ImageDecoding, TellsFormatsApartByContent) {
  // Each format is recognised by its signature (DecodesEachFormatToRgba); these are not images.
  EXPECT_EQ(sniffImageFormat(std::string("RIFF\x10\0\0\0WAVEfmt ", 16)), std::nullopt);
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

TEST(ImageDecoding, FilesCutShortOrDamagedAreErrors) {
  const TestPicture picture = makeTestPicture(64, 64);
  std::string png = testsupport::encodePng(picture);
  png[png.size() - 20] = static_cast<char>(png[png.size() - 20] ^ 0x5A);  // breaks the pixel data's checksum
  std::string longChunk = testsupport::encodePng(picture);
  longChunk.replace(longChunk.find("IDAT") - 4, 4, "\x40\0\0\0", 4);  // claims a gigabyte the file lacks
  std::string jpeg = testsupport::encodeJpeg(picture);
  jpeg.replace(jpeg.find("\xFF\xDA") + 20, 2, "\xFF\xD9");  // the scan ends early: a warning fails too
  expectImageError(decodeImage(png));
  expectImageError(decodeImage(longChunk));
  expectImageError(decodeImage(jpeg));
  for (const std::string& bytes : {testsupport::encodePng(picture), testsupport::encodeJpeg(picture),
                                   testsupport::encodeWebp(picture, true), testsupport::encodeWebp(picture, false)}) {
    expectImageError(decodeImage(bytes.substr(0, bytes.size() / 2)));
    expectImageError(decodeImage(bytes.substr(0, 16)));
  }
}

}  // namespace
}  // namespace quenmark
