#pragma once

#include <quenmark/model/font_weight.h>

namespace quenmark {

/// The size (points) and weight of a text in the story viewer. Texts of a story use the group's theme
/// font at this size (`StoryTheme::font`); badges, emoji and glyphs use the system font.
struct StoryFont {
  double size;
  FontWeight weight;

  friend constexpr bool operator==(const StoryFont&, const StoryFont&) = default;
};

}  // namespace quenmark
