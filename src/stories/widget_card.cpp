#include <quenmark/model/story_item.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/sdk/story_ui_strings.h>
#include <quenmark/stories/story_colors.h>
#include <quenmark/stories/widget_card.h>
#include <quenmark/stories/widget_vote_tally.h>

#include <algorithm>

namespace quenmark {
namespace {

using story_colors::kWhite;
using story_colors::withOpacity;

const Color kNeutralOutline = withOpacity(kWhite, 0.15);
const Color kNeutralText = withOpacity(kWhite, 0.85);
const Color kEmptyRing = withOpacity(kWhite, 0.4);

/// What poll and quiz rows share: content, selection, the enabled state, the percentage and the ring
/// drawn in `accent` while results are hidden.
WidgetOptionRow baseRow(const WidgetOption& option, const WidgetVoteState& state, const WidgetVoteTally& tally,
                        const Color& accent) {
  WidgetOptionRow row;
  row.optionId = option.id();
  row.text = option.text();
  row.emojiPrefix = option.emojiPrefix();
  row.isSelected = state.votedOptionId == option.id();
  row.isEnabled = !state.showResults && !state.isVotingInProgress && !state.votedOptionId;
  row.outlineColor = kNeutralOutline;
  row.outlineWidth = 1;
  if (state.showResults) {
    row.percentText = std::to_string(tally.votePercent(option)) + "%";
  } else {
    row.showsSpinner = state.isVotingInProgress && row.isSelected;
    row.mark = row.isSelected ? WidgetRowMark::chosenRing : WidgetRowMark::ring;
    row.markColor = row.isSelected ? accent : kEmptyRing;
    row.markLineWidth = row.isSelected ? 2 : 1.5;
  }
  return row;
}

WidgetOptionRow pollRow(const WidgetOption& option, const WidgetVoteState& state, const WidgetVoteTally& tally,
                        const Color& primary) {
  WidgetOptionRow row = baseRow(option, state, tally, primary);
  const Color contrast = story_colors::contrastColor(primary);
  if (row.isSelected) {
    row.background = withOpacity(primary, 0.85);
    row.outlineColor = primary;
    row.outlineWidth = 2;
  } else {
    row.background = withOpacity(kWhite, state.showResults ? 0.06 : 0);
  }
  row.textColor = row.isSelected ? contrast : kNeutralText;
  if (state.showResults) {
    row.percentColor = row.isSelected ? contrast : withOpacity(kWhite, 0.6);
    row.countText = std::to_string(tally.voteCount(option));
    row.mark = row.isSelected ? WidgetRowMark::check : WidgetRowMark::dot;
    row.markColor = row.isSelected ? primary : withOpacity(kWhite, 0.2);
    row.checkColor = contrast;
  }
  return row;
}

WidgetOptionRow quizRow(const WidgetOption& option, const WidgetVoteState& state, const WidgetVoteTally& tally,
                        const Color& primary) {
  const bool selected = state.votedOptionId == option.id();
  const bool correct = option.isCorrect().value_or(false);
  Color accent = primary;
  if (state.showResults && correct) {
    accent = story_colors::kGreen;
  } else if (state.showResults && selected) {
    accent = story_colors::kRed;
  }
  WidgetOptionRow row = baseRow(option, state, tally, accent);
  if (state.showResults && (selected || correct)) {
    row.background = withOpacity(accent, selected ? 0.28 : 0.2);
    row.outlineColor = withOpacity(accent, selected ? 0.9 : 0.7);
    row.outlineWidth = 2;
  } else {
    row.background = withOpacity(kWhite, 0.05);
  }
  row.textColor = selected ? kWhite : kNeutralText;
  if (state.showResults) {
    row.percentColor = withOpacity(kWhite, 0.7);
    row.answerMark = correct ? WidgetAnswerMark::right : selected ? WidgetAnswerMark::wrong : WidgetAnswerMark::none;
    row.mark = selected ? WidgetRowMark::check : WidgetRowMark::none;
    row.markColor = accent;
    row.checkColor = kWhite;
  }
  return row;
}

}  // namespace

std::string widgetQuestion(const StoryItem& item, const StoryUIStrings& strings) {
  if (item.widgetQuestion()) return *item.widgetQuestion();
  if (item.title()) return *item.title();
  return item.widgetType() == WidgetType::quiz ? strings.quizTitle() : strings.pollTitle();
}

std::optional<WidgetCard> widgetCard(const StoryItem& item, const WidgetVoteState& state, const StoryTheme& theme,
                                     const StoryUIStrings& strings) {
  const WidgetType type = item.widgetType();
  if (type != WidgetType::poll && type != WidgetType::quiz) return std::nullopt;
  const bool isQuiz = type == WidgetType::quiz;

  const WidgetVoteTally tally{item.widgetOptions(), state.updatedVoteCounts};
  const std::int64_t total = tally.totalVotes();
  const std::string& word = isQuiz ? (total == 1 ? strings.answerSingular() : strings.answerPlural())
                                   : (total == 1 ? strings.voteSingular() : strings.votePlural());

  WidgetCard card{widgetBadge(type, theme, strings),
                  isQuiz ? strings.quizTitle() : strings.pollTitle(),
                  std::to_string(total) + " " + word,
                  widgetQuestion(item, strings),
                  {}};
  std::vector<const WidgetOption*> ordered;
  for (const auto& option : item.widgetOptions()) ordered.push_back(&option);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const WidgetOption* a, const WidgetOption* b) { return a->orderIndex() < b->orderIndex(); });
  for (const WidgetOption* option : ordered) {
    card.rows.push_back(isQuiz ? quizRow(*option, state, tally, theme.primaryColor())
                               : pollRow(*option, state, tally, theme.primaryColor()));
  }
  return card;
}

}  // namespace quenmark
