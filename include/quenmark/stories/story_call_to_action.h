#pragma once

#include <quenmark/export.h>
#include <quenmark/model/color.h>
#include <quenmark/url.h>

#include <optional>
#include <string>

namespace quenmark {

class StoryItem;
class StoryTheme;

/// The call-to-action button of an item: a full-width capsule with its title, opening `url` when
/// tapped. Its colours follow the theme's `ctaStyle` and how light the primary colour is.
struct StoryCallToAction {
  std::string title;
  Url url;
  Color textColor;
  Color background;
  /// A capsule outline drawn over the background; no outline when the width is 0.
  Color borderColor;
  double borderWidth;

  friend bool operator==(const StoryCallToAction&, const StoryCallToAction&) = default;
};

/// The button of `item` drawn with `theme`: present only when the item has both a title and a link for
/// it. With L the relative luminance of the primary colour:
/// - filled: black text when L > 0.58, else white, on the primary colour, no outline;
/// - outlined: text and an outline of width 1 in the primary colour when L > 0.28, else white; no fill;
/// - text: text in the primary colour when L > 0.28, else white; no fill, no outline.
QUENMARK_EXPORT std::optional<StoryCallToAction> storyCallToAction(const StoryItem* item, const StoryTheme& theme);

}  // namespace quenmark
