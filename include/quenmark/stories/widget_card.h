#pragma once

#include <quenmark/export.h>
#include <quenmark/model/color.h>
#include <quenmark/stories/story_viewer_view_model.h>
#include <quenmark/stories/widget_badge.h>

#include <optional>
#include <string>
#include <vector>

namespace quenmark {

class StoryItem;
class StoryTheme;
class StoryUIStrings;

/// The vote state a poll or quiz shows, as the viewer's model holds it for the current item.
struct WidgetVoteState {
  std::optional<std::string> votedOptionId;
  bool showResults = false;
  bool isVotingInProgress = false;
  WidgetVoteCounts updatedVoteCounts;
};

/// The mark at the end of an option row.
enum class WidgetRowMark {
  /// Results hidden, not chosen: an empty ring.
  ring,
  /// Results hidden, chosen: a ring with a dot inside.
  chosenRing,
  /// Results shown, chosen: a check glyph on a disc.
  check,
  /// Poll results, not chosen: a small dot.
  dot,
  /// Quiz results, not chosen: nothing.
  none,
};

/// A quiz's verdict on an option once results show.
enum class WidgetAnswerMark {
  none,
  /// The right answer: a green check in a circle.
  right,
  /// The user's wrong pick: a red cross in a circle.
  wrong,
};

/// One option of a poll or quiz as drawn: its content, whether it takes a tap, and its colours.
struct WidgetOptionRow {
  std::string optionId;
  std::string text;
  std::optional<std::string> emojiPrefix;
  /// The user's choice (remembered, in flight or confirmed).
  bool isSelected = false;
  /// Takes a tap: no vote in flight, none chosen and no results shown. A disabled row gives no feedback.
  bool isEnabled = false;
  Color background{0, 0, 0, 0};
  Color outlineColor{0, 0, 0, 0};
  double outlineWidth = 0;
  Color textColor{0, 0, 0, 0};
  /// A white spinner after the text: the vote for this row is in flight.
  bool showsSpinner = false;
  /// The option's share ("33%"), truncated; empty while results are hidden.
  std::string percentText;
  Color percentColor{0, 0, 0, 0};
  /// The option's count, after the percentage; only in a poll's results.
  std::string countText;
  WidgetAnswerMark answerMark = WidgetAnswerMark::none;
  WidgetRowMark mark = WidgetRowMark::ring;
  /// The ring's stroke and its dot, the disc behind the check, or the small dot.
  Color markColor{0, 0, 0, 0};
  /// The ring's stroke width.
  double markLineWidth = 0;
  /// The check glyph on the disc.
  Color checkColor{0, 0, 0, 0};

  friend bool operator==(const WidgetOptionRow&, const WidgetOptionRow&) = default;
};

/// A poll or quiz card as drawn: the header row (badge, title, total line), the question and one row per
/// option in display order.
struct WidgetCard {
  WidgetBadge badge;
  /// The widget's title word ("Vote", "Quiz").
  std::string title;
  /// The total count with its word: "1 vote", "0 votes", "2 answers". Shown before and after voting.
  std::string totalLine;
  std::string question;
  /// The options sorted by their order index; options with equal indices keep the service's order.
  std::vector<WidgetOptionRow> rows;

  friend bool operator==(const WidgetCard&, const WidgetCard&) = default;
};

/// The question a poll or quiz asks: the item's widget question, else its title, else the widget's
/// title word.
QUENMARK_EXPORT std::string widgetQuestion(const StoryItem& item, const StoryUIStrings& strings);

/// The card of `item`'s poll or quiz in `state`, drawn with `theme` and worded with `strings`; absent
/// for other items. Counts are those of `WidgetVoteTally`; rows are disabled, also when the chosen
/// option matches none of them, as long as a vote is chosen, in flight or its results show.
QUENMARK_EXPORT std::optional<WidgetCard> widgetCard(const StoryItem& item, const WidgetVoteState& state,
                                                     const StoryTheme& theme, const StoryUIStrings& strings);

}  // namespace quenmark
