#pragma once

#include <quenmark/model/color.h>
#include <quenmark/stories/story_colors.h>
#include <quenmark/stories/story_font.h>

namespace quenmark::widget_layout {

// Sizes are in points, durations in seconds. Colours that depend on the theme or the vote state come
// from `WidgetCard`.

// Poll and quiz card: at the bottom of the viewer, inset from the sides and the bottom edge.
inline constexpr double kCardHorizontalInset = 32;
inline constexpr double kCardBottomInset = 140;
/// Between the header row, the question and each option row.
inline constexpr double kCardSpacing = 12;
inline constexpr double kCardPadding = 20;
inline constexpr double kCardCornerRadius = 20;
/// A dark translucent fill that keeps white text readable over any picture.
inline constexpr Color kCardFill{0.08, 0.08, 0.1, 0.42};
inline constexpr Color kCardOutline = story_colors::withOpacity(story_colors::kWhite, 0.12);
inline constexpr double kCardOutlineWidth = 1;

// Header row: badge, title, flexible space, total line, this far apart.
inline constexpr double kHeaderSpacing = 8;
inline constexpr double kBadgeSpacing = 4;
/// System font; the icon is drawn this size and semibold, the title bold.
inline constexpr double kBadgeFontSize = 10;
inline constexpr double kBadgeHorizontalPadding = 8;
inline constexpr double kBadgeVerticalPadding = 4;
inline constexpr StoryFont kTitleFont{13, FontWeight::medium};
inline constexpr Color kTitleColor = story_colors::withOpacity(story_colors::kWhite, 0.7);
inline constexpr StoryFont kTotalFont{13, FontWeight::regular};
inline constexpr Color kTotalColor = story_colors::withOpacity(story_colors::kWhite, 0.5);

/// The question, white, wrapped to its full height.
inline constexpr StoryFont kQuestionFont{16, FontWeight::semibold};

// Option rows: a rounded button, its content in a centred row.
inline constexpr double kRowSpacing = 12;
inline constexpr double kRowHorizontalPadding = 16;
inline constexpr double kRowVerticalPadding = 13;
inline constexpr double kRowCornerRadius = 12;
/// Emoji in the system font, in a box this wide.
inline constexpr double kEmojiFontSize = 20;
inline constexpr double kEmojiBoxWidth = 28;
/// The option text, at most two lines.
inline constexpr StoryFont kOptionFont{15, FontWeight::medium};
inline constexpr int kOptionMaximumLines = 2;
inline constexpr StoryFont kPercentFont{14, FontWeight::semibold};
inline constexpr StoryFont kCountFont{13, FontWeight::regular};
inline constexpr Color kCountColor = story_colors::withOpacity(story_colors::kWhite, 0.45);
/// The white activity spinner of a vote in flight, scaled about its centre, turning once a second.
inline constexpr double kSpinnerScale = 0.8;
inline constexpr double kSpinnerTurnDuration = 1.0;
/// Marks: the ring (and the disc behind a check), the dot inside a chosen ring, the dot of a poll
/// result not chosen, the check glyph (system font, bold) and a quiz's right / wrong glyph.
inline constexpr double kRingSize = 22;
inline constexpr double kRingDotSize = 12;
inline constexpr double kResultDotSize = 8;
inline constexpr double kCheckGlyphSize = 11;
inline constexpr double kAnswerGlyphSize = 20;

// Swipe-up widget: fills the viewer; a disc with an up chevron over a hint, centred, above the bottom.
inline constexpr double kSwipeBottomPadding = 120;
inline constexpr double kSwipeSpacing = 12;
inline constexpr double kSwipeDiscSize = 64;
inline constexpr Color kSwipeDiscColor = story_colors::withOpacity(story_colors::kWhite, 0.12);
/// The chevron, white, bold, lifted this far above the disc's centre.
inline constexpr double kSwipeChevronSize = 24;
inline constexpr double kSwipeChevronLift = 2;
inline constexpr StoryFont kSwipeHintFont{15, FontWeight::semibold};
inline constexpr Color kSwipeHintColor = story_colors::withOpacity(story_colors::kWhite, 0.8);
/// The disc bounces for as long as it is shown: up by this much and back, its opacity pulsing between
/// the two values, each way taking the half period with an ease-in-out curve.
inline constexpr double kBounceOffset = -8;
inline constexpr double kBounceRestingOpacity = 0.7;
inline constexpr double kBounceRaisedOpacity = 1.0;
inline constexpr double kBounceHalfPeriod = 0.9;

}  // namespace quenmark::widget_layout
