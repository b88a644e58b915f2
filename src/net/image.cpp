#include <quenmark/net/image.h>

#include <cassert>
#include <utility>

namespace quenmark {

Image::Image(std::uint32_t width, std::uint32_t height, std::size_t stride, std::unique_ptr<std::uint8_t[]> pixels)
    : width_(width), height_(height), stride_(stride), pixels_(std::move(pixels)) {
  assert(stride_ >= std::size_t{width_} * 4u);
  assert(pixels_ != nullptr || byteCount() == 0);
}

std::uint32_t Image::rgbaAt(std::uint32_t x, std::uint32_t y) const noexcept {
  assert(x < width_ && y < height_);
  const std::uint8_t* p = pixels_.get() + y * stride_ + std::size_t{x} * 4u;
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}

}  // namespace quenmark
