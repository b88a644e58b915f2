#include <quenmark/banners/banner_layout_constants.h>
#include <quenmark/banners/banner_ratio.h>

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>
#include <vector>

namespace quenmark {
namespace {

// A whole piece as a decimal number: an optional "+" or "-", digits with an optional point and
// exponent. Nothing may surround it.
std::optional<double> parseDecimal(std::string_view piece) {
  if (!piece.empty() && piece.front() == '+') {
    piece.remove_prefix(1);
    if (!piece.empty() && (piece.front() == '+' || piece.front() == '-')) return std::nullopt;
  }
  if (piece.empty()) return std::nullopt;
  double value = 0;
  const char* end = piece.data() + piece.size();
  auto [ptr, ec] = std::from_chars(piece.data(), end, value, std::chars_format::general);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> parseBannerAspectRatio(std::string_view text) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t colon = text.find(':', start);
    if (colon == std::string_view::npos) colon = text.size();
    if (colon > start) pieces.push_back(text.substr(start, colon - start));
    start = colon + 1;
  }
  if (pieces.size() != 2) return std::nullopt;
  auto width = parseDecimal(pieces[0]);
  auto height = parseDecimal(pieces[1]);
  if (!width || !height || !(*width > 0) || !(*height > 0)) return std::nullopt;
  const double ratio = *width / *height;
  // "inf:1", "1:inf" or extreme exponents would give a card of infinite or zero height.
  if (!std::isfinite(ratio) || !(ratio > 0)) return std::nullopt;
  return ratio;
}

double aspectRatio(const Banner& banner) {
  if (const auto& text = banner.bannerAspectRatio()) {
    if (auto ratio = parseBannerAspectRatio(*text)) return *ratio;
  }
  return banner.bannerLayoutMode() == BannerLayoutMode::fixedHeight ? banner_layout::kFixedHeightFallbackAspectRatio
                                                                    : banner_layout::kDefaultAspectRatio;
}

}  // namespace quenmark
