#pragma once

namespace quenmark {

/// The named font weights, from thinnest to heaviest.
enum class FontWeight {
  ultraLight,
  thin,
  light,
  regular,
  medium,
  semibold,
  bold,
  heavy,
  black,
};

}  // namespace quenmark
