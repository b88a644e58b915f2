#pragma once

#include <quenmark/model/color.h>
#include <quenmark/stories/story_colors.h>
#include <quenmark/stories/story_font.h>

namespace quenmark::story_viewer_layout {

// Sizes are in points, durations in seconds. Layers from back to front: black background, media, tap
// zones, the content column (header, flexible space, text block, call-to-action), the widget, the pause
// glyph.

inline constexpr Color kBackground = story_colors::kBlack;

/// The content column's padding.
inline constexpr double kContentHorizontalPadding = 12;
inline constexpr double kContentTopPadding = 16;
inline constexpr double kContentBottomPadding = 32;

/// Header: the progress row above the title row.
inline constexpr double kHeaderSpacing = 12;
/// The group title, white, one line.
inline constexpr StoryFont kGroupTitleFont{17, FontWeight::semibold};

/// Progress segments (and the single track): capsules this high, this far apart.
inline constexpr double kProgressHeight = 3;
inline constexpr double kProgressSpacing = 4;

/// Close button: an "x" glyph of this size in white, padded on all sides, on a translucent circle.
inline constexpr double kCloseGlyphSize = 14;
inline constexpr double kCloseButtonPadding = 10;
inline constexpr Color kCloseButtonBackground = story_colors::withOpacity(story_colors::kWhite, 0.12);

/// Text block: leading-aligned lines.
inline constexpr double kTextBlockSpacing = 8;
inline constexpr double kTextBlockHorizontalPadding = 4;
inline constexpr double kTextBlockBottomPadding = 18;
/// The item's title, white.
inline constexpr StoryFont kItemTitleFont{22, FontWeight::semibold};
inline constexpr StoryFont kBodyFont{15, FontWeight::regular};
inline constexpr Color kBodyColor = story_colors::withOpacity(story_colors::kWhite, 0.86);
inline constexpr double kBodyLineSpacing = 2;

/// Call-to-action: a full-width capsule button.
inline constexpr StoryFont kCallToActionFont{17, FontWeight::semibold};
inline constexpr double kCallToActionVerticalPadding = 14;

/// Placeholder of a missing or loading picture: a photo glyph centred on the theme's secondary colour.
inline constexpr double kPlaceholderOpacity = 0.18;
inline constexpr double kPhotoGlyphSize = 36;
inline constexpr Color kPhotoGlyphColor = story_colors::withOpacity(story_colors::kWhite, 0.8);

/// Shown centred while a long press holds playback; fades in and out.
inline constexpr double kPauseGlyphSize = 44;
inline constexpr Color kPauseGlyphColor = story_colors::withOpacity(story_colors::kWhite, 0.85);
inline constexpr double kPauseFadeDuration = 0.2;

}  // namespace quenmark::story_viewer_layout
