#pragma once

#include <quenmark/export.h>
#include <quenmark/model/color.h>

namespace quenmark {

class StoryItem;
class StoryTheme;

/// What the viewer's media layer shows for an item.
enum class StoryMediaLayer {
  /// No item or no media: the theme's placeholder with a photo glyph.
  placeholder,
  /// The picture, whole and letter-boxed on black; the placeholder while it loads or when it fails.
  image,
  /// The video, full size on black.
  video,
};

/// The layer for `item` (nullptr when there is no current item). Media of no known type is drawn as a
/// picture.
QUENMARK_EXPORT StoryMediaLayer storyMediaLayer(const StoryItem* item) noexcept;

/// The placeholder's fill: the theme's secondary colour at opacity 0.18 over the viewer's black background,
/// as one opaque colour (the same pixels, drawn without blending).
QUENMARK_EXPORT Color storyPlaceholderFill(const StoryTheme& theme) noexcept;

}  // namespace quenmark
