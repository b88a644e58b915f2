#pragma once

#include <quenmark/export.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quenmark {

/// A decoded picture: 8-bit RGBA pixels (red, green, blue, alpha in that byte order, alpha not
/// premultiplied), rows top to bottom, `stride` bytes apart.
///
/// Images are immutable once made and are shared between views as `std::shared_ptr<const Image>`;
/// they may be read from any thread.
class QUENMARK_EXPORT Image {
 public:
  /// Takes ownership of `pixels`, which must hold `stride * height` bytes with `stride >= width * 4`.
  Image(std::uint32_t width, std::uint32_t height, std::size_t stride, std::unique_ptr<std::uint8_t[]> pixels);

  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  std::uint32_t width() const noexcept { return width_; }
  std::uint32_t height() const noexcept { return height_; }
  /// Bytes from the start of one row to the start of the next.
  std::size_t stride() const noexcept { return stride_; }
  /// The first byte of the top row.
  const std::uint8_t* pixels() const noexcept { return pixels_.get(); }
  /// Bytes of pixel memory the image holds (`stride * height`).
  std::size_t byteCount() const noexcept { return stride_ * height_; }
  /// The pixel at column `x`, row `y` as 0xRRGGBBAA. Both must be in range.
  std::uint32_t rgbaAt(std::uint32_t x, std::uint32_t y) const noexcept;

 private:
  std::uint32_t width_;
  std::uint32_t height_;
  std::size_t stride_;
  std::unique_ptr<std::uint8_t[]> pixels_;
};

}  // namespace quenmark
