#include "platform/image_decoding.h"

#include "test_images.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <tuple>

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

// The 8-bit RGBA pixel that sample `index` of `picture` shows; without gamma chunks samples are sRGB values.
std::uint32_t knownPixel(const testsupport::PngPicture& picture, std::size_t index) {
  const int channels = picture.channels();
  const std::uint16_t* sample = picture.samples.data() + index * static_cast<std::size_t>(channels);
  auto scaled = [&](std::uint32_t value) {
    const std::uint32_t top = (1u << picture.bitDepth) - 1u;
    return (value * 255u + top / 2u) / top;
  };
  std::uint32_t r = 0, g = 0, b = 0, a = 255;
  if (picture.colorType == PNG_COLOR_TYPE_PALETTE) {
    r = picture.palette[sample[0] * 3u];
    g = picture.palette[sample[0] * 3u + 1];
    b = picture.palette[sample[0] * 3u + 2];
    if (sample[0] < picture.paletteAlpha.size()) a = picture.paletteAlpha[sample[0]];
  } else {
    const bool color = channels >= 3;
    r = scaled(sample[0]);
    g = scaled(sample[color ? 1 : 0]);
    b = scaled(sample[color ? 2 : 0]);
    if (channels == 2 || channels == 4) a = scaled(sample[channels - 1]);
    if (!picture.transparent.empty() && std::equal(picture.transparent.begin(), picture.transparent.end(), sample))
      a = 0;
  }
  return r << 24 | g << 16 | b << 8 | a;
}

TEST(ImageDecoding, PngsOfEveryColourTypeBitDepthAndInterlacingShowTheirKnownPixels) {
  struct Case {
    int colorType;
    int bitDepth;
    bool transparency;  // a tRNS chunk
  };
  const Case cases[] = {
      {PNG_COLOR_TYPE_GRAY, 1, false},       {PNG_COLOR_TYPE_GRAY, 2, true},
      {PNG_COLOR_TYPE_GRAY, 4, false},       {PNG_COLOR_TYPE_GRAY, 8, true},
      {PNG_COLOR_TYPE_GRAY, 16, false},      {PNG_COLOR_TYPE_GRAY, 16, true},
      {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false}, {PNG_COLOR_TYPE_GRAY_ALPHA, 16, false},
      {PNG_COLOR_TYPE_RGB, 8, true},         {PNG_COLOR_TYPE_RGB, 16, false},
      {PNG_COLOR_TYPE_RGB, 16, true},        {PNG_COLOR_TYPE_RGB_ALPHA, 8, false},
      {PNG_COLOR_TYPE_RGB_ALPHA, 16, false}, {PNG_COLOR_TYPE_PALETTE, 1, true},
      {PNG_COLOR_TYPE_PALETTE, 2, false},    {PNG_COLOR_TYPE_PALETTE, 4, true},
      {PNG_COLOR_TYPE_PALETTE, 8, true},
  };
  std::mt19937 random(20251207);
  for (const auto& [colorType, bitDepth, transparency] : cases) {
    for (bool interlaced : {false, true}) {
      testsupport::PngPicture picture{11, 7, colorType, bitDepth, interlaced, {}, {}, {}, {}};
      const bool palette = colorType == PNG_COLOR_TYPE_PALETTE;
      const std::uint32_t top = palette ? (1u << std::min(bitDepth, 4)) - 1u : (1u << bitDepth) - 1u;
      for (std::size_t i = 0;
           i < std::size_t{picture.width} * picture.height * static_cast<std::size_t>(picture.channels()); ++i) {
        picture.samples.push_back(static_cast<std::uint16_t>(random() % (top + 1)));
      }
      if (palette) {
        for (std::uint32_t i = 0; i < (top + 1) * 3; ++i)
          picture.palette.push_back(static_cast<std::uint8_t>(random()));
        if (transparency) picture.paletteAlpha = {0, 128};  // the other entries are opaque
      } else if (transparency) {
        picture.transparent.assign(picture.samples.begin(),
                                   picture.samples.begin() + picture.channels());  // the first pixel
      }
      SCOPED_TRACE("colour type " + std::to_string(colorType) + ", " + std::to_string(bitDepth) + " bits" +
                   (interlaced ? ", interlaced" : ""));
      auto decoded = decodeImage(testsupport::encodePng(picture));
      ASSERT_TRUE(decoded.ok()) << decoded.error().description;
      TestPicture want{picture.width, picture.height, {}};
      for (std::size_t i = 0; i < std::size_t{picture.width} * picture.height; ++i) {
        const std::uint32_t pixel = knownPixel(picture, i);
        for (int shift = 24; shift >= 0; shift -= 8) want.rgba.push_back(static_cast<std::uint8_t>(pixel >> shift));
      }
      expectSamePixels(*decoded.value(), want, 1);
    }
  }
}

TEST(ImageDecoding, CmykAndYcckJpegsShowTheirColours) {
  const TestPicture picture = makeTestPicture(48, 32);
  for (bool ycck : {false, true}) {
    for (std::uint8_t black : {std::uint8_t{255}, std::uint8_t{128}}) {
      SCOPED_TRACE(std::string(ycck ? "YCCK" : "CMYK") + ", black " + std::to_string(black));
      auto decoded = decodeImage(testsupport::encodeCmykJpeg(picture, ycck, black));
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
  const TestPicture picture = makeTestPicture(8, 8);
  EXPECT_EQ(sniffImageFormat(testsupport::encodePng(picture)), ImageFormat::png);
  EXPECT_EQ(sniffImageFormat(testsupport::encodeJpeg(picture)), ImageFormat::jpeg);
  EXPECT_EQ(sniffImageFormat(testsupport::encodeWebp(picture)), ImageFormat::webp);
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
