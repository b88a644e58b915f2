#include <quenmark/model/story_item.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/sdk/story_ui_strings.h>
#include <quenmark/stories/story_colors.h>
#include <quenmark/stories/widget_card.h>

#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

namespace quenmark {
namespace {

using story_colors::kGreen;
using story_colors::kRed;
using story_colors::kWhite;
using story_colors::withOpacity;

const StoryUIStrings kStrings = StoryUIStrings::defaultStrings();

WidgetOption option(const std::string& id, std::int64_t order, std::int64_t votes,
                    std::optional<bool> isCorrect = std::nullopt) {
  return WidgetOption(id, "Option " + id, std::nullopt, order, isCorrect, votes);
}

StoryItem widgetItem(WidgetType type, std::vector<WidgetOption> options,
                     std::optional<std::string> question = "Which one?", std::optional<std::string> title = {}) {
  return StoryItem("i", std::move(title), std::nullopt, StoryMediaType::image, std::nullopt, 5, std::nullopt,
                   std::nullopt, type, std::move(question), std::nullopt, std::move(options), std::nullopt);
}

WidgetCard cardOf(const StoryItem& item, const WidgetVoteState& state = {},
                  const StoryTheme& theme = StoryTheme::defaultTheme()) {
  return widgetCard(item, state, theme, kStrings).value();  // throws, failing the test, without a card
}

std::vector<std::string> column(const WidgetCard& card, std::string WidgetOptionRow::*field) {
  std::vector<std::string> values;
  for (const auto& row : card.rows) values.push_back(row.*field);
  return values;
}

TEST(WidgetCard, RowsFollowTheOrderIndexStably) {
  const StoryItem poll =
      widgetItem(WidgetType::poll, {option("c", 3, 0), option("a", 1, 0), option("b", 2, 0), option("a2", 1, 0)});
  EXPECT_EQ(column(cardOf(poll), &WidgetOptionRow::optionId), (std::vector<std::string>{"a", "a2", "b", "c"}));
}

TEST(WidgetCard, PollRowsThroughTheVoteStates) {
  const Color primary = StoryTheme::defaultTheme().primaryColor();
  const StoryItem poll = widgetItem(WidgetType::poll, {option("a", 0, 2), option("b", 1, 1)});

  for (const auto& row : cardOf(poll).rows) {
    EXPECT_EQ((std::tuple{row.isEnabled, row.mark, row.background.alpha(), row.percentText}),
              (std::tuple{true, WidgetRowMark::ring, 0.0, ""}));
  }
  const WidgetCard voting = cardOf(poll, {"a", false, true, {}});
  const auto& [chosen, other] = std::tie(voting.rows[0], voting.rows[1]);
  EXPECT_EQ((std::tuple{chosen.isEnabled, chosen.showsSpinner, chosen.mark, chosen.background, chosen.outlineWidth,
                        chosen.markLineWidth}),
            (std::tuple{false, true, WidgetRowMark::chosenRing, withOpacity(primary, 0.85), 2.0, 2.0}));
  EXPECT_EQ((std::tuple{other.isEnabled, other.showsSpinner, other.markLineWidth}), (std::tuple{false, false, 1.5}));

  const WidgetCard results = cardOf(poll, {"a", true, false, {}});
  EXPECT_EQ(column(results, &WidgetOptionRow::percentText), (std::vector<std::string>{"66%", "33%"}));
  EXPECT_EQ(column(results, &WidgetOptionRow::countText), (std::vector<std::string>{"2", "1"}));
  EXPECT_EQ((std::tuple{results.rows[0].mark, results.rows[1].mark, results.rows[1].background,
                        results.rows[1].showsSpinner}),
            (std::tuple{WidgetRowMark::check, WidgetRowMark::dot, withOpacity(kWhite, 0.06), false}));

  // A chosen option that matches no row selects nothing but still disables every row.
  for (const auto& row : cardOf(poll, {"gone", false, false, {}}).rows) {
    EXPECT_FALSE(row.isSelected || row.isEnabled);
  }
}

TEST(WidgetCard, TotalsAndPercentages) {
  const WidgetVoteCounts none;
  const std::int64_t max = std::numeric_limits<std::int64_t>::max();
  const std::string most = std::to_string(max);
  const struct {
    WidgetType type;
    std::vector<WidgetOption> options;
    WidgetVoteCounts updated;
    std::string shown;  // the total line, then each row's "percent:count"
  } cases[] = {
      {WidgetType::poll, {option("a", 0, 1), option("b", 1, 1), option("c", 2, 1)}, none, "3 votes 33%:1 33%:1 33%:1"},
      {WidgetType::poll, {option("a", 0, 1), option("b", 1, 2)}, {{"a", 5}}, "7 votes 71%:5 28%:2"},
      {WidgetType::poll, {option("a", 0, 1), option("b", 1, 0)}, none, "1 vote 100%:1 0%:0"},
      {WidgetType::poll, {option("a", 0, 0)}, none, "0 votes 0%:0"},
      {WidgetType::quiz, {option("a", 0, 1)}, none, "1 answer 100%:"},
      {WidgetType::quiz, {option("a", 0, 0), option("b", 1, 0)}, none, "0 answers 0%: 0%:"},
      // Counts the service should never send: no negative shares, no overflow.
      {WidgetType::poll, {option("a", 0, -3), option("b", 1, 1)}, none, "1 vote 0%:0 100%:1"},
      {WidgetType::poll, {option("a", 0, max), option("b", 1, 5)}, none, most + " votes 100%:" + most + " 0%:5"}};
  for (const auto& c : cases) {
    const WidgetCard card = cardOf(widgetItem(c.type, c.options), {"a", true, false, c.updated});
    std::string shown = card.totalLine;
    for (const auto& row : card.rows) shown += " " + row.percentText + ":" + row.countText;
    EXPECT_EQ(shown, c.shown);
  }
}

TEST(WidgetCard, QuizResultsMarkTheRightAnswerAndAWrongPick) {
  const Color primary = StoryTheme::defaultTheme().primaryColor();
  const StoryItem quiz =
      widgetItem(WidgetType::quiz, {option("right", 0, 3, true), option("picked", 1, 1, false), option("other", 2, 0)});
  const WidgetCard card = cardOf(quiz, {"picked", true, false, {}});
  using Row = std::tuple<Color, Color, WidgetAnswerMark, WidgetRowMark>;
  const Row rows[] = {
      {withOpacity(kGreen, 0.7), withOpacity(kGreen, 0.2), WidgetAnswerMark::right, WidgetRowMark::none},
      {withOpacity(kRed, 0.9), withOpacity(kRed, 0.28), WidgetAnswerMark::wrong, WidgetRowMark::check},
      {withOpacity(kWhite, 0.15), withOpacity(kWhite, 0.05), WidgetAnswerMark::none, WidgetRowMark::none}};
  for (std::size_t i = 0; i < 3; ++i) {
    const WidgetOptionRow& row = card.rows[i];
    EXPECT_EQ((Row{row.outlineColor, row.background, row.answerMark, row.mark}), rows[i]) << row.optionId;
  }
  EXPECT_EQ((std::tuple{card.rows[1].markColor, card.rows[1].textColor}), (std::tuple{kRed, kWhite}));

  // Before results every accent is the theme's.
  const WidgetCard voting = cardOf(quiz, {"right", false, true, {}});
  EXPECT_EQ((std::tuple{voting.rows[0].markColor, voting.rows[0].background, voting.rows[0].answerMark}),
            (std::tuple{primary, withOpacity(kWhite, 0.05), WidgetAnswerMark::none}));
}

TEST(WidgetCard, HeaderWordsAndContrast) {
  const StoryTheme& base = StoryTheme::defaultTheme();
  auto themed = [&](double gray) {
    return StoryTheme(base.progressStyle(), base.bubbleStyle(), std::nullopt, Color(gray, gray, gray, 1),
                      base.secondaryColor(), base.ctaStyle());
  };
  const StoryUIStrings words("Vote?", "Quiz?", "Poll!", "Quiz!", "Swipe!", "Up", "v", "vs", "a", "as");
  // Grays of relative luminance 0.585 and 0.575 around the threshold.
  const auto light =
      widgetCard(widgetItem(WidgetType::poll, {option("a", 0, 0)}), {"a", true, false, {}}, themed(0.7888), words);
  const auto dark = widgetCard(widgetItem(WidgetType::quiz, {option("a", 0, 0)}), {}, themed(0.7827), words);
  ASSERT_TRUE(light && dark);
  EXPECT_EQ((std::tuple{light->badge.icon, light->badge.title, light->badge.textColor, light->title}),
            (std::tuple{WidgetBadgeIcon::chart, std::string("Poll!"), story_colors::kBlack, std::string("Vote?")}));
  EXPECT_EQ((std::tuple{light->rows[0].textColor, light->rows[0].checkColor, light->badge.background}),
            (std::tuple{story_colors::kBlack, story_colors::kBlack, Color(0.7888, 0.7888, 0.7888, 0.9)}));
  EXPECT_EQ((std::tuple{dark->badge.icon, dark->badge.title, dark->badge.textColor, dark->title}),
            (std::tuple{WidgetBadgeIcon::checkmark, std::string("Quiz!"), kWhite, std::string("Quiz?")}));

  // The question falls back to the item's title, then to the widget's word; other items have no card.
  EXPECT_EQ(cardOf(widgetItem(WidgetType::poll, {}, std::nullopt, "Title")).question, "Title");
  EXPECT_EQ(cardOf(widgetItem(WidgetType::poll, {}, std::nullopt)).question, "Vote");
  EXPECT_EQ(cardOf(widgetItem(WidgetType::quiz, {}, std::nullopt)).question, "Quiz");
  EXPECT_FALSE(widgetCard(widgetItem(WidgetType::swipe, {}), {}, base, kStrings));
}

}  // namespace
}  // namespace quenmark
