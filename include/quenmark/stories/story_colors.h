#pragma once

#include <quenmark/export.h>
#include <quenmark/model/color.h>

namespace quenmark::story_colors {

inline constexpr Color kWhite{1, 1, 1, 1};
inline constexpr Color kBlack{0, 0, 0, 1};
inline constexpr Color kClear{0, 0, 0, 0};
inline constexpr Color kGray{0.56, 0.56, 0.58, 1};
/// Marks a right answer of a quiz.
inline constexpr Color kGreen{0.2, 0.78, 0.35, 1};
/// Marks a wrong answer of a quiz.
inline constexpr Color kRed{1, 0.23, 0.19, 1};

/// `color` drawn at `opacity` (0 to 1): its alpha multiplied by `opacity`.
constexpr Color withOpacity(const Color& color, double opacity) noexcept {
  return {color.red(), color.green(), color.blue(), color.alpha() * opacity};
}

/// `top` painted over `bottom` (source-over), in one colour: over an opaque `bottom` the result is opaque,
/// so a translucent fill over a known background can be drawn without blending.
constexpr Color over(const Color& top, const Color& bottom) noexcept {
  const double below = bottom.alpha() * (1 - top.alpha());
  const double alpha = top.alpha() + below;
  if (alpha == 0) return {0, 0, 0, 0};
  return {(top.red() * top.alpha() + bottom.red() * below) / alpha,
          (top.green() * top.alpha() + bottom.green() * below) / alpha,
          (top.blue() * top.alpha() + bottom.blue() * below) / alpha, alpha};
}

/// Text drawn on a fill of `fill`: black when the fill's relative luminance is above 0.58, else white.
QUENMARK_EXPORT Color contrastColor(const Color& fill) noexcept;

}  // namespace quenmark::story_colors
