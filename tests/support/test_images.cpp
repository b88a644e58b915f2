#include "test_images.h"

#include <cstdio>  // before jpeglib.h, which uses FILE

#include <jpeglib.h>
#include <png.h>
#include <webp/encode.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace quenmark::testsupport {
namespace {

void putBigEndian32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (24 - 8 * i)) & 0xFFu);
}

}  // namespace

std::uint32_t TestPicture::rgbaAt(std::uint32_t x, std::uint32_t y) const {
  const std::uint8_t* p = rgba.data() + (std::size_t{y} * width + x) * 4u;
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}

TestPicture makeTestPicture(std::uint32_t width, std::uint32_t height, bool translucent) {
  TestPicture picture{width, height, std::vector<std::uint8_t>(std::size_t{width} * height * 4u)};
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      std::uint8_t* p = picture.rgba.data() + (std::size_t{y} * width + x) * 4u;
      p[0] = static_cast<std::uint8_t>(width > 1 ? x * 255u / (width - 1) : 0);
      p[1] = static_cast<std::uint8_t>(height > 1 ? y * 255u / (height - 1) : 0);
      p[2] = 128;
      p[3] = translucent ? static_cast<std::uint8_t>(255u - (x + y) % 200u) : 255;
    }
  }
  return picture;
}

std::string encodePng(std::uint32_t width, std::uint32_t height, std::uint32_t format, const void* pixels,
                      const void* colormap, std::uint32_t colormapEntries) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  image.colormap_entries = colormapEntries;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, colormap)) {
    throw std::runtime_error(std::string("png size: ") + image.message);
  }
  std::string bytes(size, '\0');
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, colormap)) {
    throw std::runtime_error(std::string("png write: ") + image.message);
  }
  bytes.resize(size);
  return bytes;
}

std::string encodePng(const TestPicture& picture) {
  return encodePng(picture.width, picture.height, PNG_FORMAT_RGBA, picture.rgba.data());
}

std::string encodeJpeg(const TestPicture& picture, int quality, bool cmyk, bool ycck, std::uint8_t black) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);  // a failure ends the test program
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = picture.width;
  info.image_height = picture.height;
  info.input_components = 4;
  info.in_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  jpeg_set_defaults(&info);
  if (cmyk) jpeg_set_colorspace(&info, ycck ? JCS_YCCK : JCS_CMYK);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<std::uint8_t> row(std::size_t{picture.width} * 4u);
  while (info.next_scanline < info.image_height) {
    std::memcpy(row.data(), picture.rgba.data() + std::size_t{info.next_scanline} * row.size(), row.size());
    for (std::size_t i = 3; cmyk && i < row.size(); i += 4) row[i] = black;
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(out), size);
  std::free(out);
  return bytes;
}

std::string withExifOrientation(const std::string& jpeg, std::uint16_t orientation, bool bigEndian) {
  // "Exif\0\0", then a TIFF header and one directory with one entry: tag 0x0112, type SHORT, count 1.
  auto u16 = [&](std::uint16_t v) {
    return bigEndian ? std::string{static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}
                     : std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
  };
  auto u32 = [&](std::uint32_t v) {
    return bigEndian ? u16(static_cast<std::uint16_t>(v >> 16)) + u16(static_cast<std::uint16_t>(v & 0xFFFF))
                     : u16(static_cast<std::uint16_t>(v & 0xFFFF)) + u16(static_cast<std::uint16_t>(v >> 16));
  };
  std::string tiff = std::string(bigEndian ? "MM" : "II") + u16(42) + u32(8);
  tiff += u16(1) + u16(0x0112) + u16(3) + u32(1) + u16(orientation) + u16(0) + u32(0);
  const std::string payload = std::string("Exif\0\0", 6) + tiff;
  const auto length = static_cast<std::uint16_t>(payload.size() + 2);
  std::string segment = "\xFF\xE1";
  segment += static_cast<char>(length >> 8);
  segment += static_cast<char>(length & 0xFF);
  return jpeg.substr(0, 2) + segment + payload + jpeg.substr(2);
}

std::string encodeWebp(const TestPicture& picture, bool lossless) {
  std::uint8_t* out = nullptr;
  const int w = static_cast<int>(picture.width);
  const int h = static_cast<int>(picture.height);
  std::size_t size = lossless ? WebPEncodeLosslessRGBA(picture.rgba.data(), w, h, w * 4, &out)
                              : WebPEncodeRGBA(picture.rgba.data(), w, h, w * 4, 80.0f, &out);
  if (size == 0) throw std::runtime_error("WebP encoding failed");
  std::string bytes(reinterpret_cast<const char*>(out), size);
  WebPFree(out);
  return bytes;
}

std::string pngClaimingSize(std::uint32_t width, std::uint32_t height) {
  // Signature (8), IHDR length (4), "IHDR" at 12, width at 16, height at 20, CRC over type+data at 29.
  std::string bytes = encodePng(makeTestPicture(4, 4));
  putBigEndian32(bytes, 16, width);
  putBigEndian32(bytes, 20, height);
  putBigEndian32(bytes, 29,
                 static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()) + 12, 17)));
  return bytes;
}

std::string withPngChunk(const std::string& png, const std::string& type, const std::string& data) {
  std::string chunk(4, '\0');
  putBigEndian32(chunk, 0, static_cast<std::uint32_t>(data.size()));
  chunk += type + data + std::string(4, '\0');
  const auto* typeAndData = reinterpret_cast<const Bytef*>(chunk.data()) + 4;
  putBigEndian32(chunk, chunk.size() - 4, static_cast<std::uint32_t>(crc32(0, typeAndData, chunk.size() - 8)));
  const std::size_t pixels = png.find("IDAT") - 4;
  return png.substr(0, pixels) + chunk + png.substr(pixels);
}

std::string jpegClaimingSize(std::uint16_t width, std::uint16_t height) {
  std::string bytes = encodeJpeg(makeTestPicture(16, 16));
  // The baseline frame header: FF C0, length (2), precision (1), height (2), width (2).
  auto sof = bytes.find("\xFF\xC0", 2);
  if (sof == std::string::npos) throw std::runtime_error("no SOF0 marker");
  bytes[sof + 5] = static_cast<char>(height >> 8);
  bytes[sof + 6] = static_cast<char>(height & 0xFF);
  bytes[sof + 7] = static_cast<char>(width >> 8);
  bytes[sof + 8] = static_cast<char>(width & 0xFF);
  return bytes;
}

std::string webpClaimingSize(std::uint16_t width, std::uint16_t height) {
  std::string bytes = encodeWebp(makeTestPicture(16, 16), /*lossless=*/false);
  // "RIFF" size "WEBP" "VP8 " size, then the key frame: tag (3), start code (3), width (2), height (2).
  if (bytes.compare(12, 4, "VP8 ") != 0) throw std::runtime_error("not a simple lossy WebP");
  bytes[26] = static_cast<char>(width & 0xFF);
  bytes[27] = static_cast<char>((width >> 8) & 0x3F);
  bytes[28] = static_cast<char>(height & 0xFF);
  bytes[29] = static_cast<char>((height >> 8) & 0x3F);
  return bytes;
}

}  // namespace quenmark::testsupport
