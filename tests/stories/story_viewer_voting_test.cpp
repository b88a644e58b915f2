#include "story_test_support.h"

#include <quenmark/stories/story_viewer_view_model.h>
#include <quenmark/stories/widget_vote_tally.h>

namespace quenmark::storytest {
namespace {

using Field = StoryViewerViewModelField;

class StoryViewerVoting : public StoryTest {
 protected:
  void SetUp() override {
    StoryTest::SetUp();
    content.group("g1")
        .poll("p", {{"o1", 3}, {"o2", 1}})
        .quiz("q", {{"x", 0}, {"y", 2}})
        .plain("a")
        .swipe("s", std::nullopt);
  }

  std::shared_ptr<StoryViewerViewModel> openStarted(std::size_t itemIndex = 0) {
    auto viewer = openViewer();
    viewer->start();
    for (std::size_t i = 0; i < itemIndex; ++i) viewer->next();
    take();
    return viewer;
  }

  /// Runs main-thread tasks until the viewer has handled the answer to its vote.
  bool awaitVoteResult(const StoryViewerViewModel& viewer) {
    return tp.mainThread->runUntil([&] { return !viewer.isVotingInProgress(); });
  }

  testsupport::ScriptedResponse voteAnswer(const std::string& optionName, std::int64_t count) const {
    return testsupport::reply(
        200, nlohmann::json{{"voted", true}, {"optionId", content.id(optionName)}, {"voteCount", count}}.dump());
  }

  std::optional<std::string> storedVote(const std::string& itemName) const {
    return tp.store->get(StorySDK::shared().voteStorageKey(content.id(itemName)));
  }

  /// The voting state as one text: the chosen option's name (or "-"), then "results", "voting" and "open"
  /// (accepts a vote) when they hold.
  std::string state(const StoryViewerViewModel& viewer) const {
    std::string text = viewer.votedOptionId() ? content.name(*viewer.votedOptionId()) : "-";
    if (viewer.showResults()) text += " results";
    if (viewer.isVotingInProgress()) text += " voting";
    if (viewer.acceptsVote()) text += " open";
    return text;
  }

  WidgetVoteCounts counts(std::initializer_list<std::pair<const char*, std::int64_t>> entries) const {
    WidgetVoteCounts result;
    for (const auto& [name, count] : entries) result[content.id(name)] = count;
    return result;
  }
};

TEST_F(StoryViewerVoting, AResultThatArrivesAfterTheUserMovedOnIsStoredReportedAndShownLater) {
  serveVote("p", voteAnswer("o1", 4));
  serveStories(content.json(), 200, /*held=*/true);
  auto viewer = openStarted();
  EXPECT_EQ(state(*viewer), "- open");

  viewer->vote(content.id("o1"));
  viewer->vote(content.id("o2"));  // a second choice while the first is in flight sends nothing
  EXPECT_EQ(state(*viewer), "o1 voting");
  viewer->next();                 // on to the quiz before the answer arrives
  viewer->vote(content.id("x"));  // blocked: a vote is still in flight
  EXPECT_EQ(take(), (Lines{"vote:p o1", "host:storyItemImpression g1/q", "analytics:STORY_ITEM_VIEWED g1/q",
                           "host:quizViewed g1/q", "analytics:QUIZ_VIEWED g1/q", "sdk:QUIZ_VIEW g1/q"}));

  std::vector<Field> fields;
  Subscription subscription = viewer->subscribe([&](Field field) { fields.push_back(field); });
  ASSERT_TRUE(awaitVoteResult(*viewer));
  // Stored under the vote key, reported, the refresh started; the quiz shown is left alone.
  EXPECT_EQ(storedVote("p"), content.id("o1"));
  EXPECT_EQ(take(), (Lines{"host:pollVoted g1/p", "analytics:POLL_VOTED g1/p", "sdk:POLL_VOTE g1/p", "fetch:home"}));
  EXPECT_EQ(fields, (std::vector<Field>{Field::isVotingInProgress}));
  EXPECT_EQ(state(*viewer), "- open");  // the quiz, open again

  // The refresh lands while the quiz is shown: indices are re-clamped, the quiz's state stays.
  releaseStories();
  ASSERT_TRUE(settle());
  EXPECT_EQ(viewer->currentItemIndex(), 1u);
  EXPECT_EQ(state(*viewer), "- open");

  // Back on the poll: the remembered vote shows the results and blocks another vote.
  viewer->previous();
  EXPECT_EQ(state(*viewer), "o1 results");
  EXPECT_TRUE(viewer->updatedVoteCounts().empty());
  viewer->vote(content.id("o2"));
  EXPECT_EQ(take(), (Lines{"host:storyItemImpression g1/p", "analytics:STORY_ITEM_VIEWED g1/p"}));

  // A new presentation finds the stored vote as well.
  EXPECT_EQ(state(*openStarted()), "o1 results");
}

TEST_F(StoryViewerVoting, AFailedVoteReopensTheItemAndASuccessShowsResultsThenTheRefreshedCounts) {
  // Swipe and plain items take no vote.
  openStarted(3)->vote(content.id("o1"));
  openStarted(2)->vote(content.id("o1"));
  EXPECT_TRUE(take().empty());

  serveVote("p", testsupport::reply(500, "{}"));
  auto viewer = openStarted();
  viewer->vote(content.id("o1"));
  ASSERT_TRUE(settle());
  EXPECT_EQ(state(*viewer), "- open");
  EXPECT_FALSE(storedVote("p"));
  EXPECT_EQ(take(), (Lines{"vote:p o1"}));  // nothing reported, no refresh

  // Second try: the response's count first, then the service's counts and the confirmed choice.
  serveVote("p", voteAnswer("o2", 2));
  StoryContent after(server.baseUrl());
  after.group("g1").poll("p", {{"o1", 3}, {"o2", 2}}).quiz("q", {{"x", 0}, {"y", 2}}).plain("a");
  // The refresh answers with the new counts (the same names give the same ids).
  serveStories(after.json(), 200, /*held=*/true);
  viewer->vote(content.id("o2"));
  ASSERT_TRUE(awaitVoteResult(*viewer));
  EXPECT_EQ(viewer->updatedVoteCounts(), counts({{"o2", 2}}));
  EXPECT_EQ(state(*viewer), "o2 results");
  const auto& options = viewer->currentItem()->widgetOptions();
  const WidgetVoteTally tally{options, viewer->updatedVoteCounts()};
  EXPECT_EQ(tally.voteCount(options[0]), 3);  // no fresh count: its own
  EXPECT_EQ(tally.totalVotes(), 5);
  EXPECT_EQ(tally.votePercent(options[1]), 40);
  EXPECT_EQ(take(), (Lines{"vote:p o2", "host:pollVoted g1/p", "analytics:POLL_VOTED g1/p", "sdk:POLL_VOTE g1/p",
                           "fetch:home"}));
  releaseStories();
  ASSERT_TRUE(settle());
  EXPECT_EQ(viewer->updatedVoteCounts(), counts({{"o1", 3}, {"o2", 2}}));
  EXPECT_EQ(state(*viewer), "o2 results");
  EXPECT_EQ(viewer->groups(), after.groups());
  EXPECT_TRUE(take().empty());  // the refresh reports nothing

  // Percentages are truncated after a double-precision product: 29 of 100 shows 28.
  const std::vector<WidgetOption> split{{"a", "A", std::nullopt, 0, std::nullopt, 29},
                                        {"b", "B", std::nullopt, 1, std::nullopt, 71}};
  EXPECT_EQ((WidgetVoteTally{split, {}}.votePercent(split[0])), 28);
}

TEST_F(StoryViewerVoting, TheResponsesCountCountsForTheOptionItNamesInUpperCase) {
  content.group("g2").poll("p2", {{"o3", 30}, {"o4", 12}});  // ids ending in "c" and "d"
  std::string recorded = content.id("o4");
  recorded.back() = 'D';  // the only letter of the id, upper-cased
  serveVote("p2",
            testsupport::reply(200, nlohmann::json{{"voted", true}, {"optionId", recorded}, {"voteCount", 13}}.dump()));
  auto viewer = openViewer(1);
  viewer->vote(content.id("o4"));
  ASSERT_TRUE(awaitVoteResult(*viewer));
  EXPECT_EQ(viewer->updatedVoteCounts(), counts({{"o4", 13}}));
}

TEST_F(StoryViewerVoting, PreviewModeAnswersLocallyWithACountOfOne) {
  auto configuration = StorySDK::shared().configuration().value();
  configuration.setIsPreviewMode(true);
  StorySDK::shared().configure(configuration);
  serveStories(content.json());
  auto viewer = openStarted(1);  // the quiz

  viewer->vote(content.id("x"));
  ASSERT_TRUE(awaitVoteResult(*viewer));
  EXPECT_EQ(viewer->updatedVoteCounts(), counts({{"x", 1}}));
  EXPECT_EQ(state(*viewer), "x results");
  EXPECT_EQ(storedVote("q"), content.id("x"));
  EXPECT_EQ(take(),
            (Lines{"host:quizAnswered g1/q", "analytics:QUIZ_ANSWERED g1/q", "sdk:QUIZ_ANSWER g1/q", "fetch:home"}));
}

TEST_F(StoryViewerVoting, ARefreshThatReturnsNoGroupsLeavesOnlyTheCloseWithoutAReport) {
  serveVote("q", testsupport::reply(200, R"({"voted":true})"));  // no count: results shown with the old counts
  serveStories(R"({"groups":[]})", 200, /*held=*/true);
  auto viewer = openStarted(1);
  viewer->vote(content.id("y"));
  ASSERT_TRUE(awaitVoteResult(*viewer));
  EXPECT_EQ(state(*viewer), "y results");
  EXPECT_TRUE(viewer->updatedVoteCounts().empty());
  releaseStories();
  ASSERT_TRUE(settle());
  EXPECT_EQ(viewer->currentGroup(), nullptr);
  take();

  // Ticks and forward taps change nothing; a backward tap only rewinds.
  tp.mainThread->advance(1.0);
  viewer->next();
  viewer->previous();
  EXPECT_EQ(at(*viewer), (At{0, 1, 0.0}));
  viewer->close();
  EXPECT_TRUE(viewer->shouldDismiss());
  EXPECT_TRUE(take().empty());
}

TEST_F(StoryViewerVoting, AReleasedModelDropsLateVoteAndRefreshResults) {
  serveVote("p", voteAnswer("o1", 4));
  serveStories(content.json());
  auto viewer = openStarted();
  viewer->vote(content.id("o1"));
  viewer.reset();
  ASSERT_TRUE(settle());
  EXPECT_FALSE(storedVote("p"));
  EXPECT_EQ(take(), (Lines{"vote:p o1"}));

  // Released while the refresh is outstanding.
  auto second = openStarted();
  std::weak_ptr<StoryViewerViewModel> weak = second;
  serveStories(content.json(), 200, /*held=*/true);
  second->vote(content.id("o2"));
  ASSERT_TRUE(awaitVoteResult(*second));
  EXPECT_EQ(take(), (Lines{"vote:p o2", "host:pollVoted g1/p", "analytics:POLL_VOTED g1/p", "sdk:POLL_VOTE g1/p",
                           "fetch:home"}));
  second.reset();
  EXPECT_TRUE(weak.expired());
  releaseStories();
  ASSERT_TRUE(settle());
  EXPECT_TRUE(take().empty());
}

TEST_F(StoryViewerVoting, TheServicesRecordOfTheUsersVoteWinsOverTheDeviceAndOverTheChoice) {
  tp.store->set(StorySDK::shared().voteStorageKey(content.id("p")), content.id("o2"));
  content = StoryContent(server.baseUrl());
  content.group("g1").item({"p", 5.0, WidgetType::poll, {{"o1", 3}, {"o2", 1}}, std::nullopt, "o1"});
  content.quiz("q", {{"x"}, {"y"}});
  auto viewer = openStarted();
  EXPECT_EQ(state(*viewer), "o1 results");
  viewer->vote(content.id("o2"));  // a remembered vote blocks another one
  EXPECT_TRUE(take().empty());

  // The refresh after a vote shows the choice the service recorded.
  StoryContent refreshed(server.baseUrl());  // the same names give the same ids
  refreshed.group("g1")
      .item({"p", 5.0, WidgetType::poll, {{"o1", 3}, {"o2", 1}}, std::nullopt, "o1"})
      .item({"q", 5.0, WidgetType::quiz, {{"x"}, {"y"}}, std::nullopt, "y"});
  serveStories(refreshed.json());
  serveVote("q", testsupport::reply(200, R"({"voted":true})"));
  viewer->next();
  viewer->vote(content.id("x"));
  ASSERT_TRUE(settle());
  EXPECT_EQ(state(*viewer), "y results");
}

TEST_F(StoryViewerVoting, AVoteConfirmedAfterLeavingAndComingBackShowsTheUsersChoice) {
  serveVote("p", voteAnswer("o2", 4));  // the service answers with another option's count
  serveStories("{}", 500);              // the refresh fails: the response's count stays
  auto viewer = openStarted();
  viewer->vote(content.id("o1"));
  viewer->next();
  viewer->previous();  // nothing stored yet: the poll shows open, but a vote is still in flight
  EXPECT_EQ(state(*viewer), "- voting");
  ASSERT_TRUE(settle());
  EXPECT_EQ(state(*viewer), "o1 results");
  EXPECT_EQ(viewer->updatedVoteCounts(), counts({{"o2", 4}}));
  EXPECT_EQ(storedVote("p"), content.id("o1"));
}

}  // namespace
}  // namespace quenmark::storytest
