#include "story_test_support.h"

#include <quenmark/stories/story_viewer_view_model.h>

#include <limits>

namespace quenmark::storytest {
namespace {

using Field = StoryViewerViewModelField;

using StoryViewerPlayback = StoryTest;

TEST_F(StoryViewerPlayback, WholePresentationPlaysEachItemForItsDurationAndReportsInOrder) {
  content.group("g1").plain("a", 5.0).plain("b", 0.0).group("g2").plain("c", 7.0);
  auto viewer = openViewer();
  std::vector<Field> fields;
  Subscription subscription = viewer->subscribe([&](Field field) { fields.push_back(field); });

  viewer->start();
  EXPECT_EQ(take(), (Lines{"host:storyOpen g1", "analytics:STORY_GROUP_OPENED g1", "sdk:STORY_OPEN g1",
                           "host:storyItemImpression g1/a", "analytics:STORY_ITEM_VIEWED g1/a"}));
  EXPECT_EQ(fields,
            (std::vector<Field>{Field::progress, Field::votedOptionId, Field::showResults, Field::updatedVoteCounts}));
  EXPECT_TRUE(viewer->isPlaying());

  // 5 s at 0.05 s per tick: 100 ticks, the item view after 1 s on the item.
  EXPECT_EQ(ticksUntil([&] { return viewer->currentItemIndex() == 1; }), 100);
  EXPECT_EQ(take(),
            (Lines{"sdk:STORY_ITEM_VIEW g1/a", "host:storyItemImpression g1/b", "analytics:STORY_ITEM_VIEWED g1/b"}));
  EXPECT_EQ((std::tuple{viewer->segmentCount(), viewer->segmentFill(0), viewer->segmentFill(1), viewer->trackFill()}),
            (std::tuple{2u, 1.0, 0.0, 0.5}));

  // 0 s counts as 0.1 s: 2 ticks; an item left within a second is never sent as viewed.
  EXPECT_EQ(ticksUntil([&] { return viewer->currentGroupIndex() == 1; }), 2);
  EXPECT_EQ(take(), (Lines{"host:storyCompleted g1", "analytics:STORY_GROUP_COMPLETED g1", "sdk:STORY_COMPLETE g1",
                           "host:storyOpen g2", "analytics:STORY_GROUP_OPENED g2", "sdk:STORY_OPEN g2",
                           "host:storyItemImpression g2/c", "analytics:STORY_ITEM_VIEWED g2/c"}));
  EXPECT_EQ(viewer->currentItemIndex(), 0u);

  // 7 s: exactly 140 ticks (the sum of 140 steps of 1/140 stays a hair below 1), then the end of the
  // last group closes the viewer: completion once, then the close.
  const int firstHalf = ticksUntil([&] { return viewer->progress() > 0.5; });
  EXPECT_DOUBLE_EQ(viewer->segmentFill(0), viewer->progress());
  EXPECT_EQ(firstHalf + ticksUntil([&] { return viewer->shouldDismiss(); }), 140);
  EXPECT_EQ(take(), (Lines{"sdk:STORY_ITEM_VIEW g2/c", "host:storyCompleted g2", "analytics:STORY_GROUP_COMPLETED g2",
                           "sdk:STORY_COMPLETE g2", "host:storyClose g2", "analytics:STORY_DISMISSED g2"}));
  EXPECT_EQ((std::tuple{viewer->progress(), viewer->trackFill(), viewer->isClosed(), viewer->isPlaying(),
                        tp.mainThread->activeTimerCount()}),
            (std::tuple{1.0, 1.0, true, false, 0u}));

  // Closed stays closed: no second close report, and neither resume nor start plays again.
  viewer->close();
  viewer->resume();
  viewer->start();
  tp.mainThread->advance(2.0);
  EXPECT_TRUE(take().empty());
  EXPECT_EQ(tp.mainThread->activeTimerCount(), 0u);
}

TEST_F(StoryViewerPlayback, PrefetchesTheShownAndTheNextPictureAlsoAcrossGroups) {
  content.group("g1").plain("a").plain("b").group("g2").plain("c");
  auto viewer = openViewer();
  viewer->start();
  ASSERT_TRUE(server.waitForRequestsTo("/media/a.png", 1));
  ASSERT_TRUE(server.waitForRequestsTo("/media/b.png", 1));  // before it is shown
  viewer->next();
  ASSERT_TRUE(server.waitForRequestsTo("/media/c.png", 1));  // the next group's first picture
}

TEST_F(StoryViewerPlayback, StartIndexIsClampedAndNoGroupsDismissAtOnce) {
  content.group("g1").plain("a").group("g2").plain("b");
  EXPECT_EQ(openViewer(-5)->currentGroupIndex(), 0u);
  auto last = openViewer(99);
  EXPECT_EQ(last->currentGroupIndex(), 1u);
  last->start();
  EXPECT_EQ(take(), (Lines{"host:storyOpen g2", "analytics:STORY_GROUP_OPENED g2", "sdk:STORY_OPEN g2",
                           "host:storyItemImpression g2/b", "analytics:STORY_ITEM_VIEWED g2/b"}));

  auto empty = StoryViewerViewModel::create({}, 3, kPlacement);
  EXPECT_EQ(empty->currentGroupIndex(), 0u);
  EXPECT_EQ(empty->currentGroup(), nullptr);
  empty->start();
  EXPECT_EQ((std::tuple{empty->shouldDismiss(), empty->isClosed(), empty->isPlaying()}),
            (std::tuple{true, false, false}));
  EXPECT_TRUE(take().empty());
}

TEST_F(StoryViewerPlayback, ItemViewNeedsOneSecondOnTheItemAndCountsWhilePaused) {
  content.group("g1").plain("a").plain("b").plain("c").plain("d", std::numeric_limits<double>::quiet_NaN());
  auto viewer = openViewer();
  viewer->start();
  take();

  tp.mainThread->advance(0.95);
  viewer->next();  // a was current for 0.95 s
  tp.mainThread->advance(0.5);
  viewer->pause();
  const double progressAtPause = viewer->progress();
  EXPECT_NEAR(progressAtPause, 0.1, 1e-9);
  tp.mainThread->advance(0.5);  // b reaches one second while paused
  EXPECT_EQ(take(),
            (Lines{"host:storyItemImpression g1/b", "analytics:STORY_ITEM_VIEWED g1/b", "sdk:STORY_ITEM_VIEW g1/b"}));
  EXPECT_EQ(viewer->progress(), progressAtPause);

  // Taps work while paused and do not restart playback.
  viewer->next();
  tp.mainThread->advance(1.0);
  EXPECT_EQ(take(),
            (Lines{"host:storyItemImpression g1/c", "analytics:STORY_ITEM_VIEWED g1/c", "sdk:STORY_ITEM_VIEW g1/c"}));
  EXPECT_EQ((std::tuple{viewer->progress(), viewer->isPlaying()}), (std::tuple{0.0, false}));

  // A duration that is not a number plays like the shortest item. A second start (the viewer appears
  // again) only brings the timer back.
  viewer->next();
  take();
  viewer->start();
  EXPECT_TRUE(viewer->isPlaying());
  EXPECT_TRUE(take().empty());
  EXPECT_EQ(ticksUntil([&] { return viewer->shouldDismiss(); }), 2);

  // Releasing the model invalidates its timers.
  auto other = openViewer();
  other->start();
  EXPECT_EQ(tp.mainThread->activeTimerCount(), 2u);
  other.reset();
  EXPECT_EQ(tp.mainThread->activeTimerCount(), 0u);
}

TEST_F(StoryViewerPlayback, PreviousRestartsAfterMoreThanAFifthAndOtherwiseGoesBack) {
  content.group("g1").plain("a").poll("p", {{"o1"}, {"o2"}}).group("g2").plain("c", 2.0);
  auto viewer = openViewer();
  viewer->start();
  viewer->next();
  viewer->next();
  EXPECT_EQ(viewer->currentGroupIndex(), 1u);
  take();

  // A quarter played (10 ticks of 2 s): the same item restarts, nothing is reported, and its item view
  // stays cancelled.
  EXPECT_EQ(ticksUntil([&] { return viewer->progress() > 0.245; }), 10);
  viewer->previous();
  EXPECT_EQ(at(*viewer), (At{1, 0, 0.0}));
  tp.mainThread->advance(1.0);
  EXPECT_TRUE(take().empty());

  // A fifth played (8 ticks of 2 s, a hair below 0.2 in floating point; exactly a fifth counts the same):
  // back to the last item of the previous group.
  viewer->pause();
  viewer->previous();
  viewer->resume();
  EXPECT_EQ(ticksUntil([&] { return viewer->progress() > 0.195; }), 8);
  viewer->previous();
  EXPECT_EQ(at(*viewer), (At{0, 1, 0.0}));
  EXPECT_EQ(take(), (Lines{"host:storyOpen g1", "analytics:STORY_GROUP_OPENED g1",  // SDK event sent before
                           "host:storyItemImpression g1/p", "analytics:STORY_ITEM_VIEWED g1/p"}));

  // Back to the first item of the first group, then only a rewind.
  viewer->previous();
  EXPECT_EQ(viewer->currentItemIndex(), 0u);
  tp.mainThread->advance(0.5);
  viewer->previous();
  EXPECT_EQ(at(*viewer), (At{0, 0, 0.0}));
  EXPECT_EQ(take(), (Lines{"host:storyItemImpression g1/a", "analytics:STORY_ITEM_VIEWED g1/a"}));
}

TEST_F(StoryViewerPlayback, CompletionOncePerGroupOpenOnEveryEntryWidgetViewOnceAndCloseOnce) {
  content.group("g1").plain("a").group("g2").poll("p", {{"o1"}, {"o2"}}).group("g3").quiz("q", {{"x"}, {"y"}});
  auto viewer = openViewer();
  viewer->start();
  viewer->next();
  EXPECT_EQ(take(), (Lines{"host:storyOpen g1", "analytics:STORY_GROUP_OPENED g1", "sdk:STORY_OPEN g1",
                           "host:storyItemImpression g1/a", "analytics:STORY_ITEM_VIEWED g1/a",
                           "host:storyCompleted g1", "analytics:STORY_GROUP_COMPLETED g1", "sdk:STORY_COMPLETE g1",
                           "host:storyOpen g2", "analytics:STORY_GROUP_OPENED g2", "sdk:STORY_OPEN g2",
                           "host:storyItemImpression g2/p", "analytics:STORY_ITEM_VIEWED g2/p", "host:pollViewed g2/p",
                           "analytics:POLL_VIEWED g2/p", "sdk:POLL_VIEW g2/p"}));
  EXPECT_TRUE(viewer->acceptsVote());

  // Back and forward again: opens are reported on each entry (the facade sends their SDK events once per
  // session), the completion of g1 and the poll view are not reported again.
  viewer->previous();
  viewer->next();
  EXPECT_EQ(take(), (Lines{"host:storyOpen g1", "analytics:STORY_GROUP_OPENED g1", "host:storyItemImpression g1/a",
                           "analytics:STORY_ITEM_VIEWED g1/a", "host:storyOpen g2", "analytics:STORY_GROUP_OPENED g2",
                           "host:storyItemImpression g2/p", "analytics:STORY_ITEM_VIEWED g2/p"}));

  viewer->next();
  EXPECT_EQ(take(), (Lines{"host:storyCompleted g2", "analytics:STORY_GROUP_COMPLETED g2", "sdk:STORY_COMPLETE g2",
                           "host:storyOpen g3", "analytics:STORY_GROUP_OPENED g3", "sdk:STORY_OPEN g3",
                           "host:storyItemImpression g3/q", "analytics:STORY_ITEM_VIEWED g3/q", "host:quizViewed g3/q",
                           "analytics:QUIZ_VIEWED g3/q", "sdk:QUIZ_VIEW g3/q"}));

  // The call to action is an SDK event only, sent on every tap.
  viewer->trackCTATap();
  viewer->trackCTATap();
  EXPECT_EQ(take(), (Lines{"sdk:CTA_CLICK g3/q", "sdk:CTA_CLICK g3/q"}));

  viewer->close();
  viewer->close();
  EXPECT_EQ(take(), (Lines{"host:storyClose g3", "analytics:STORY_DISMISSED g3"}));
  EXPECT_TRUE(viewer->shouldDismiss());

  // Closed, the viewer stays still: taps, a vote and the call to action neither move nor report.
  viewer->previous();
  viewer->next();
  viewer->vote(content.id("x"));
  viewer->trackCTATap();
  EXPECT_TRUE(take().empty());
  EXPECT_EQ(viewer->currentGroupIndex(), 2u);
  EXPECT_FALSE(viewer->isVotingInProgress());
}

TEST_F(StoryViewerPlayback, SwipeUpIsDebouncedPerItemOnTheWallClock) {
  content.group("g1").swipe("s1", "https://example.com/offer").swipe("s2", std::nullopt).plain("a");
  content.swipe("s3", "file:///home/user/.ssh/id_rsa");
  auto viewer = openViewer();
  std::vector<std::string> opened;
  viewer->setOpenURLAction([&](const Url& url) { opened.push_back(url.string()); });
  viewer->start();
  take();

  const auto firstSwipe = tp.clock->wallNow();
  viewer->handleSwipeUp();
  EXPECT_EQ(take(), (Lines{"host:swipeUp g1/s1", "analytics:SWIPE_UP g1/s1", "sdk:SWIPE_UP g1/s1"}));
  EXPECT_EQ(opened, (std::vector<std::string>{"https://example.com/offer"}));
  EXPECT_EQ(viewer->currentItemIndex(), 0u);  // the viewer stays on the item

  tp.clock->setWallNow(firstSwipe + std::chrono::milliseconds(500));
  viewer->handleSwipeUp();  // 0.5 s after the first: ignored
  EXPECT_TRUE(take().empty());
  tp.clock->setWallNow(firstSwipe + std::chrono::milliseconds(800));
  viewer->handleSwipeUp();  // 0.8 s after the first: accepted (the facade sends its SDK event once)
  EXPECT_EQ(take(), (Lines{"host:swipeUp g1/s1", "analytics:SWIPE_UP g1/s1"}));
  EXPECT_EQ(opened.size(), 2u);

  // A wall clock set back does not hold the next swipe off.
  tp.clock->setWallNow(tp.clock->wallNow() - std::chrono::hours(1));
  viewer->handleSwipeUp();
  EXPECT_EQ(take(), (Lines{"host:swipeUp g1/s1", "analytics:SWIPE_UP g1/s1"}));

  // Without a callback URL the swipe moves on like a forward tap; a plain item ignores swipes.
  viewer->next();
  take();
  viewer->handleSwipeUp();
  EXPECT_EQ(take(), (Lines{"host:swipeUp g1/s2", "analytics:SWIPE_UP g1/s2", "sdk:SWIPE_UP g1/s2",
                           "host:storyItemImpression g1/a", "analytics:STORY_ITEM_VIEWED g1/a"}));
  viewer->handleSwipeUp();
  EXPECT_TRUE(take().empty());

  // A link that reaches local files is reported but not opened.
  viewer->next();
  take();
  viewer->handleSwipeUp();
  EXPECT_EQ(take(), (Lines{"host:swipeUp g1/s3", "analytics:SWIPE_UP g1/s3", "sdk:SWIPE_UP g1/s3"}));
  EXPECT_EQ(opened.size(), 3u);

  // Without an open-URL action the swipe is reported and nothing opens.
  auto bare = openViewer();
  bare->start();
  take();
  bare->handleSwipeUp();
  EXPECT_EQ(take(), (Lines{"host:swipeUp g1/s1", "analytics:SWIPE_UP g1/s1"}));
  EXPECT_EQ(bare->currentItemIndex(), 0u);
  EXPECT_EQ(opened.size(), 3u);

  // Nor after the viewer closed.
  bare->close();
  take();
  tp.clock->setWallNow(tp.clock->wallNow() + std::chrono::seconds(1));
  bare->handleSwipeUp();
  EXPECT_TRUE(take().empty());
}

/// The main thread with a handle on every timer callback, so that a test can fire a timer at a moment of
/// its choosing (the firing queues its task; the test decides what happens before the task runs).
class FiringMainThread final : public platform::MainThread {
 public:
  explicit FiringMainThread(std::shared_ptr<testing::VirtualMainThread> inner) : inner_(std::move(inner)) {}
  void post(std::function<void()> task) override { inner_->post(std::move(task)); }
  std::unique_ptr<platform::Timer> schedule(double seconds, bool repeats, std::function<void()> fire) override {
    fires.push_back({seconds, fire});
    return inner_->schedule(seconds, repeats, std::move(fire));
  }
  bool isMainThread() const override { return true; }
  /// The callback of the last timer scheduled with `seconds`.
  std::function<void()> last(double seconds) const {
    for (auto it = fires.rbegin(); it != fires.rend(); ++it) {
      if (it->first == seconds) return it->second;
    }
    return {};
  }
  std::vector<std::pair<double, std::function<void()>>> fires;

 private:
  std::shared_ptr<testing::VirtualMainThread> inner_;
};

TEST_F(StoryViewerPlayback, ATaskQueuedByATimerThatWasStoppedSinceDoesNothing) {
  content.group("g1").plain("a", 1.0).plain("b");
  auto thread = std::make_shared<FiringMainThread>(tp.mainThread);
  auto installed = tp.platform(server.baseUrl());
  installed.mainThread = thread;
  platform::installPlatform(installed);

  auto viewer = openViewer();
  viewer->start();
  take();
  auto tick = thread->last(StoryViewerViewModel::tickInterval);
  auto itemView = thread->last(StoryViewerViewModel::itemViewDelay);

  // A firing whose tick is queued, then pause: the queued tick does not move the item.
  tick();
  viewer->pause();
  tp.mainThread->runPending();
  EXPECT_EQ(viewer->progress(), 0.0);

  // The item-view timer fired, then the user moved on before its task ran: nothing is sent.
  itemView();
  viewer->next();
  tp.mainThread->runPending();
  EXPECT_EQ(take(), (Lines{"host:storyItemImpression g1/b", "analytics:STORY_ITEM_VIEWED g1/b"}));

  // Ticks queued before the close do not play on behind the closing viewer.
  viewer->resume();
  tick = thread->last(StoryViewerViewModel::tickInterval);
  for (int i = 0; i < 200; ++i) tick();
  viewer->close();
  tp.mainThread->runPending();
  EXPECT_EQ(take(), (Lines{"host:storyClose g1", "analytics:STORY_DISMISSED g1"}));
  EXPECT_EQ(at(*viewer), (At{0, 1, 0.0}));

  // Tasks of a released model find nothing to do.
  auto released = openViewer();
  released->start();
  auto releasedTick = thread->last(StoryViewerViewModel::tickInterval);
  auto releasedView = thread->last(StoryViewerViewModel::itemViewDelay);
  releasedTick();
  releasedView();
  take();
  released.reset();
  tp.mainThread->runPending();
  EXPECT_TRUE(take().empty());
}

}  // namespace
}  // namespace quenmark::storytest
