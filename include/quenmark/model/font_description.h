#pragma once

#include <quenmark/export.h>
#include <quenmark/model/font_weight.h>

#include <optional>
#include <string>
#include <utility>

namespace quenmark {

/// A font that a view should draw with: either an installed family by name, or the system font.
///
/// A custom family is used at its own face, so its weight is always `FontWeight::regular`; the system
/// font carries the weight that was asked for.
class QUENMARK_EXPORT FontDescription {
 public:
  /// `family` absent means the system font in its default design.
  FontDescription(std::optional<std::string> family, double size, FontWeight weight)
      : family_(std::move(family)), size_(size), weight_(weight) {}

  /// The system font of `size` at `weight`.
  static FontDescription system(double size, FontWeight weight) { return {std::nullopt, size, weight}; }
  /// The installed family `family` at `size`.
  static FontDescription custom(std::string family, double size) {
    return {std::move(family), size, FontWeight::regular};
  }

  /// The family name of a custom font; absent for the system font.
  const std::optional<std::string>& family() const noexcept { return family_; }
  bool isSystemFont() const noexcept { return !family_.has_value(); }
  /// Point size.
  double size() const noexcept { return size_; }
  FontWeight weight() const noexcept { return weight_; }

  friend bool operator==(const FontDescription&, const FontDescription&) = default;

 private:
  std::optional<std::string> family_;
  double size_;
  FontWeight weight_;
};

}  // namespace quenmark
