#pragma once

#include <quenmark/export.h>
#include <quenmark/model/color.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/stories/story_colors.h>
#include <quenmark/stories/story_font.h>

#include <cstddef>

// The story bar: a horizontally scrolling row of bubbles, one per group, each a picture framed by a
// gradient ring over the group's title. Sizes are in points.
namespace quenmark::story_bar_layout {

/// The bar's height while it has groups (it takes no space without them: `storyBarHeight`).
inline constexpr double kBarHeight = 110;
/// The row: bubbles this far apart, padded on the left and right and at the top and bottom.
inline constexpr double kBubbleSpacing = 12;
inline constexpr double kRowHorizontalPadding = 16;
inline constexpr double kRowVerticalPadding = 8;
/// A bubble's column: the picture above the title, centred in this width.
inline constexpr double kColumnWidth = 76;
inline constexpr double kTitleSpacing = 8;
/// The picture's side.
inline constexpr double kBubbleSize = 64;
/// The ring's line width; the line runs along the picture's edge, half inside and half outside it.
inline constexpr double kRingWidth = 3;
/// Corner radius of the `rounded` bubble style (`circle` is half the side, `square` none).
inline constexpr double kRoundedCornerRadius = 16;
/// The title, in the group's theme font, one line.
inline constexpr StoryFont kTitleFont{12, FontWeight::regular};
/// Stands in for a missing or loading cover: a faint gray shape with a photo glyph.
inline constexpr Color kPlaceholderFill = story_colors::withOpacity(story_colors::kGray, 0.25);
inline constexpr double kPhotoGlyphSize = 24;
inline constexpr Color kPhotoGlyphColor = story_colors::withOpacity(story_colors::kWhite, 0.85);
/// Around the bubble that has the keyboard focus: a frame in the platform's highlight colour, this far
/// outside the bubble's column (clear of the ring).
inline constexpr double kFocusFrameWidth = 2;
inline constexpr double kFocusFrameOutset = 4;
inline constexpr double kFocusFrameRadius = 8;
/// What covers the window when the viewer is asked for without a selected group.
inline constexpr Color kEmptyCoverColor = story_colors::kBlack;

}  // namespace quenmark::story_bar_layout

namespace quenmark {

/// The bar's height for a row of `groupCount` groups: none while it is empty (loading, failed or a
/// placement without groups), `kBarHeight` otherwise.
QUENMARK_EXPORT double storyBarHeight(std::size_t groupCount) noexcept;

/// The corner radius of a bubble `bubbleSize` wide: half the side for `circle`, 16 for `rounded` (at most
/// half the side), none for `square`.
QUENMARK_EXPORT double storyBubbleCornerRadius(BubbleStyle style, double bubbleSize) noexcept;

/// A square with rounded corners, at (`origin`, `origin`).
struct StoryRoundedSquare {
  double origin;
  double side;
  double radius;

  friend bool operator==(const StoryRoundedSquare&, const StoryRoundedSquare&) = default;
};

/// A bubble's ring, in the coordinates of its frame: the square that holds the whole line, starting
/// `frameOrigin` from the picture's top-left corner (negative: half the line lies outside the picture).
/// The ring is the area between `outer` and `inner`; its gradient runs from `startColor` at the picture's
/// top-left corner (`gradientStart`, `gradientStart`) to `endColor` at its bottom-right corner
/// (`gradientEnd`, `gradientEnd`).
struct StoryBubbleRing {
  double frameOrigin;
  double frameSide;
  StoryRoundedSquare outer;
  StoryRoundedSquare inner;
  double gradientStart;
  double gradientEnd;
  Color startColor;
  Color endColor;

  friend bool operator==(const StoryBubbleRing&, const StoryBubbleRing&) = default;
};

/// The ring of a bubble `bubbleSize` wide in `theme`: the outline of the bubble's rounded square,
/// `kRingWidth` wide, from the theme's primary colour to its secondary colour.
QUENMARK_EXPORT StoryBubbleRing storyBubbleRing(const StoryTheme& theme, double bubbleSize) noexcept;

}  // namespace quenmark
