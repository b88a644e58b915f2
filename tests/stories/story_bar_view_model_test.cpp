#include "story_test_support.h"

#include <quenmark/stories/story_bar_view_model.h>

#include <algorithm>

namespace quenmark::storytest {
namespace {

using Field = StoryBarViewModelField;

using StoryBar = StoryTest;

TEST_F(StoryBar, LoadsTheRowReportsEachGroupOncePrefetchesTheFirstThreeAndSelects) {
  content.group("g1").plain("a").group("g2").plain("b").group("g3").plain("c").group("g4").plain("d");
  serveStories(content.json());
  auto bar = StoryBarViewModel::create(kPlacement);
  std::vector<Field> fields;
  Subscription subscription = bar->subscribe([&](Field field) { fields.push_back(field); });

  bar->setHasLoaded(true);
  bar->load();
  EXPECT_TRUE(bar->isLoading());
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !bar->isLoading(); }));
  EXPECT_EQ(bar->groups(), content.groups());
  EXPECT_FALSE(bar->errorMessage());
  EXPECT_EQ(fields, (std::vector<Field>{Field::hasLoaded, Field::isLoading, Field::errorMessage, Field::isLoading,
                                        Field::groups, Field::errorMessage}));
  EXPECT_EQ(log.take(), (Lines{"fetch:home"}));

  // The whole row is built at once: every bubble appears; one re-appears.
  for (const auto& group : bar->groups()) bar->trackImpression(group);
  bar->trackImpression(bar->groups().front());
  EXPECT_EQ(log.take(),
            (Lines{"host:storyGroupImpression g1", "analytics:PLACEMENT_VIEWED", "sdk:STORY_GROUP_IMPRESSION g1",
                   "host:storyGroupImpression g2", "sdk:STORY_GROUP_IMPRESSION g2", "host:storyGroupImpression g3",
                   "sdk:STORY_GROUP_IMPRESSION g3", "host:storyGroupImpression g4", "sdk:STORY_GROUP_IMPRESSION g4"}));
  EXPECT_EQ(bar->prefetchedGroupIDs(),
            (std::unordered_set<std::string>{content.id("g1"), content.id("g2"), content.id("g3")}));
  // Cover and first item are the same picture here: one transfer each for the first three groups.
  for (const char* path : {"/media/a.png", "/media/b.png", "/media/c.png"})
    ASSERT_TRUE(server.waitForRequestsTo(path, 1));
  auto images = log.imagePaths();
  std::sort(images.begin(), images.end());
  EXPECT_EQ(images, (std::vector<std::string>{"/media/a.png", "/media/b.png", "/media/c.png"}));

  // Taps: out of range changes nothing; a valid one selects and asks for the viewer.
  fields.clear();
  bar->selectGroup(-1);
  bar->selectGroup(4);
  EXPECT_TRUE(fields.empty());
  bar->selectGroup(2);
  EXPECT_EQ(bar->selectedGroupIndex(), 2u);
  EXPECT_TRUE(bar->isViewerPresented());
  EXPECT_EQ(fields, (std::vector<Field>{Field::selectedGroupIndex, Field::isViewerPresented}));
  bar->setViewerPresented(false);
  EXPECT_EQ(bar->selectedGroupIndex(), 2u);

  // A new model for the same row reports again (the facade sends each SDK event once per session).
  auto again = StoryBarViewModel::create(kPlacement);
  again->trackImpression(content.groups().front());
  EXPECT_EQ(log.take(), (Lines{"host:storyGroupImpression g1"}));
}

TEST_F(StoryBar, FailuresEmptyTheRowWithOneConsoleLineAndOverlappingLoadsBothLand) {
  content.group("g1").plain("a");
  serveStories(content.json());
  auto bar = StoryBarViewModel::create(kPlacement);
  bar->load();
  bar->load();  // no guard: two requests
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !bar->isLoading(); }));
  ASSERT_TRUE(waitForTransfers(2));
  EXPECT_EQ(bar->groups().size(), 1u);
  EXPECT_EQ(log.take(), (Lines{"fetch:home", "fetch:home"}));

  serveStories("{}", 500);
  bar->load();
  EXPECT_EQ(bar->groups().size(), 1u);  // kept until the answer
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !bar->isLoading(); }));
  EXPECT_TRUE(bar->groups().empty());
  EXPECT_FALSE(bar->errorMessage());
  EXPECT_EQ(tp.console->lines(),
            (std::vector<std::string>{"[Quenmark] Failed to load stories for placement 'home': Story request failed "
                                      "with status 500."}));

  // Not configured: the same treatment, and nothing is sent.
  resetStorySDKForTesting();
  bar->load();
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !bar->isLoading(); }));
  EXPECT_EQ(tp.console->lines().back(),
            "[Quenmark] Failed to load stories for placement 'home': Story SDK is not configured.");
  EXPECT_EQ(log.take(), (Lines{"fetch:home"}));
}

TEST_F(StoryBar, AReleasedModelDropsItsLateResult) {
  serveStories("{}", 500);
  auto bar = StoryBarViewModel::create(kPlacement);
  std::weak_ptr<StoryBarViewModel> weak = bar;
  bar->load();
  bar.reset();
  EXPECT_TRUE(weak.expired());
  ASSERT_TRUE(waitForTransfers(1));
  EXPECT_TRUE(tp.console->lines().empty());
}

}  // namespace
}  // namespace quenmark::storytest
