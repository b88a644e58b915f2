#include "story_test_support.h"

#include <quenmark/stories/story_bar_view_model.h>

#include <algorithm>

namespace quenmark::storytest {
namespace {

using Field = StoryBarViewModelField;
using StoryBar = StoryTest;

std::vector<std::string> idsOf(const std::vector<StoryGroup>& groups) {
  std::vector<std::string> ids;
  for (const auto& group : groups) ids.push_back(group.id());
  return ids;
}

TEST_F(StoryBar, LoadsTheRowReportsEachGroupOncePrefetchesTheFirstThreeAndSelects) {
  content.group("g1", "c1").plain("a").group("g2", "c2").plain("b").group("g3", "c3").plain("c").group("g4").plain("d");
  serveStories(content.json());
  auto bar = StoryBarViewModel::create(kPlacement);
  std::vector<Field> fields;
  Subscription subscription = bar->subscribe([&](Field field) { fields.push_back(field); });

  bar->setHasLoaded(true);
  bar->load();
  EXPECT_TRUE(bar->isLoading());
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !bar->isLoading(); }));
  EXPECT_EQ(idsOf(bar->groups()), idsOf(content.groups()));
  EXPECT_EQ(fields, (std::vector<Field>{Field::hasLoaded, Field::isLoading, Field::errorMessage, Field::isLoading,
                                        Field::groups, Field::errorMessage}));
  EXPECT_EQ(take(), (Lines{"fetch:home"}));

  // The whole row is built at once: every bubble appears; one re-appears.
  for (const auto& group : content.groups()) bar->trackImpression(group);
  bar->trackImpression(content.groups().front());
  EXPECT_EQ(take(),
            (Lines{"host:storyGroupImpression g1", "analytics:PLACEMENT_VIEWED", "sdk:STORY_GROUP_IMPRESSION g1",
                   "host:storyGroupImpression g2", "sdk:STORY_GROUP_IMPRESSION g2", "host:storyGroupImpression g3",
                   "sdk:STORY_GROUP_IMPRESSION g3", "host:storyGroupImpression g4", "sdk:STORY_GROUP_IMPRESSION g4"}));
  // The first three groups' covers and first pictures are fetched ahead, the fourth group's are not.
  EXPECT_EQ(bar->prefetchedGroupIDs(),
            (std::unordered_set<std::string>{content.id("g1"), content.id("g2"), content.id("g3")}));
  const std::vector<std::string> prefetched{"/media/a.png",  "/media/b.png",  "/media/c.png",
                                            "/media/c1.png", "/media/c2.png", "/media/c3.png"};
  for (const auto& path : prefetched) ASSERT_TRUE(server.waitForRequestsTo(path, 1)) << path;
  auto images = imagePaths();
  std::sort(images.begin(), images.end());
  EXPECT_EQ(images, prefetched);

  // Taps: out of range changes nothing; a valid one selects and asks for the viewer.
  fields.clear();
  bar->selectGroup(-1);
  bar->selectGroup(4);
  EXPECT_TRUE(fields.empty());
  bar->selectGroup(2);
  EXPECT_EQ(bar->selectedGroupIndex(), 2u);
  EXPECT_TRUE(bar->isViewerPresented());
  EXPECT_EQ(fields, (std::vector<Field>{Field::selectedGroupIndex, Field::isViewerPresented}));

  // A new model for the same row reports again (the facade sends each SDK event once per session).
  StoryBarViewModel::create(kPlacement)->trackImpression(content.groups().front());
  EXPECT_EQ(take(), (Lines{"host:storyGroupImpression g1"}));
}

TEST_F(StoryBar, FailuresEmptyTheRowWithOneConsoleLineAndOverlappingLoadsBothLand) {
  content.group("g1").plain("a");
  serveStories(content.json());
  auto bar = StoryBarViewModel::create(kPlacement);
  bar->load();
  bar->load();  // no guard: two requests
  ASSERT_TRUE(settle());
  EXPECT_FALSE(bar->isLoading());
  EXPECT_EQ(bar->groups().size(), 1u);
  EXPECT_EQ(take(), (Lines{"fetch:home", "fetch:home"}));

  serveStories("{}", 500);
  std::vector<std::string> failures;
  bar->setLoadFailureHandler([&](const Error& error) { failures.push_back(error.description); });
  bar->load();
  EXPECT_EQ(bar->groups().size(), 1u);  // kept until the answer
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !bar->isLoading(); }));
  EXPECT_TRUE(bar->groups().empty());
  EXPECT_FALSE(bar->errorMessage());
  EXPECT_EQ(tp.console->lines(),
            (std::vector<std::string>{"[Quenmark] Failed to load stories for placement 'home': Story request failed "
                                      "with status 500."}));
  EXPECT_EQ(failures, (std::vector<std::string>{"Story request failed with status 500."}));

  // Not configured: the same treatment, and nothing is sent.
  resetStorySDKForTesting();
  bar->load();
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !bar->isLoading(); }));
  EXPECT_EQ(tp.console->lines().back(),
            "[Quenmark] Failed to load stories for placement 'home': Story SDK is not configured.");
  EXPECT_EQ(take(), (Lines{"fetch:home"}));
}

TEST_F(StoryBar, AReleasedModelDropsItsLateResult) {
  serveStories("{}", 500);
  auto bar = StoryBarViewModel::create(kPlacement);
  std::weak_ptr<StoryBarViewModel> weak = bar;
  bar->load();
  bar.reset();
  EXPECT_TRUE(weak.expired());
  ASSERT_TRUE(settle());
  EXPECT_TRUE(tp.console->lines().empty());
}

}  // namespace
}  // namespace quenmark::storytest
