#pragma once

#include <quenmark/export.h>

namespace quenmark {

/// An sRGB colour with red, green, blue and alpha components from 0 to 1.
///
/// Equality is exact on all four components: two colours that differ only in alpha are different.
class QUENMARK_EXPORT Color {
 public:
  constexpr Color(double red, double green, double blue, double alpha) noexcept
      : red_(red), green_(green), blue_(blue), alpha_(alpha) {}

  constexpr double red() const noexcept { return red_; }
  constexpr double green() const noexcept { return green_; }
  constexpr double blue() const noexcept { return blue_; }
  constexpr double alpha() const noexcept { return alpha_; }

  friend constexpr bool operator==(const Color&, const Color&) = default;

 private:
  double red_;
  double green_;
  double blue_;
  double alpha_;
};

}  // namespace quenmark
