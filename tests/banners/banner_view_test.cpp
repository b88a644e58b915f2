#include "sdk_test_fixture.h"
#include "test_images.h"

#include <quenmark/banners/application_activity.h>
#include <quenmark/banners/banner_view.h>
#include <quenmark/net/story_image_pipeline.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace quenmark {
namespace {

inline constexpr const char* kBannersPath = "/sdk/v1/apps/app-key/placements/home_top/banners";

/// One item as the service sends it; its picture is "/media/<picture>" on the test server, where
/// "ok-N.png" (N up to 12) answers with an image and anything else with 404.
struct ItemPlan {
  long long id;
  long long orderIndex;
  std::string picture;
  std::string ctaType = "NONE";
  std::optional<std::string> ctaUrl;
};

/// `count` items with ids and order 1..count and pictures "<prefix>-<id>.png".
inline std::vector<ItemPlan> items(int count, const std::string& prefix = "ok") {
  std::vector<ItemPlan> result;
  for (int i = 1; i <= count; ++i) result.push_back({i, i, prefix + "-" + std::to_string(i) + ".png"});
  return result;
}

/// Banners, pictures, event handler and a fresh facade, image pipeline and content cache per test.
class BannerViewTest : public sdktest::SdkTest {
 protected:
  void SetUp() override {
    SdkTest::SetUp();
    StoryImagePipeline::shared().resetForTesting();
    server.on("GET", kBannersPath, [this](const testsupport::RecordedRequest&) {
      std::lock_guard lock(responseMutex_);
      return bannersResponse_;
    });
    const std::string png = testsupport::encodePng(testsupport::makeTestPicture(4, 2));
    for (int i = 1; i <= 12; ++i)
      server.on("GET", "/media/ok-" + std::to_string(i) + ".png", testsupport::reply(200, png, "image/png"));
    sdk().configure(sdktest::makeConfiguration());
    sdk().setEventHandler([this](const StorySDKEvent& event) { events.push_back(event); });
  }

  void TearDown() override {
    StoryImagePipeline::shared().resetForTesting();
    SdkTest::TearDown();
  }

  nlohmann::json bannerJson(long long id, const std::string& type, const std::vector<ItemPlan>& plans,
                            long long autoplaySeconds = 5) const {
    nlohmann::json itemsJson = nlohmann::json::array();
    for (const auto& plan : plans) {
      nlohmann::json item = {{"id", plan.id},
                             {"mediaUrl", server.baseUrl().string() + "/media/" + plan.picture},
                             {"orderIndex", plan.orderIndex},
                             {"ctaType", plan.ctaType}};
      if (plan.ctaUrl) item["ctaUrl"] = *plan.ctaUrl;
      itemsJson.push_back(item);
    }
    return {{"id", id},
            {"type", type},
            {"placementKey", "home_top"},
            {"viewOrder", id},
            {"autoplaySeconds", autoplaySeconds},
            {"items", itemsJson}};
  }

  void serveBanners(const std::vector<nlohmann::json>& banners) {
    serve(testsupport::reply(200, nlohmann::json{{"banners", banners}}.dump()));
  }
  void serve(testsupport::ScriptedResponse response) {
    std::lock_guard lock(responseMutex_);
    bannersResponse_ = std::move(response);
  }

  /// A view for "home_top" whose observer counts the answers of the content client.
  std::shared_ptr<BannerView> makeView() {
    auto view = BannerView::create("home_top");
    subscriptions_.push_back(view->subscribe([this](BannerViewField field) {
      if (field == BannerViewField::banners) ++loadsApplied;
    }));
    return view;
  }

  /// Waits (on the main thread's queue, never sleeping) until the next load answer has been applied.
  void awaitLoad() {
    const int target = loadsApplied + 1;
    ASSERT_TRUE(tp.mainThread->runUntil([&] { return loadsApplied >= target; }));
  }
  void appearAndLoad(const std::shared_ptr<BannerView>& view) {
    view->appear();
    awaitLoad();
  }
  /// Waits until the card shows a picture.
  void awaitPicture(const std::shared_ptr<BannerView>& view) {
    ASSERT_TRUE(tp.mainThread->runUntil([&] { return view->cardImage() != nullptr; }));
  }
  /// A view off screen with `banners` loaded.
  std::shared_ptr<BannerView> loaded(const std::vector<nlohmann::json>& banners) {
    serveBanners(banners);
    auto view = makeView();
    view->loadBanners();
    awaitLoad();
    return view;
  }
  /// A view on screen with `banners` loaded.
  std::shared_ptr<BannerView> appeared(const std::vector<nlohmann::json>& banners) {
    serveBanners(banners);
    auto view = makeView();
    appearAndLoad(view);
    return view;
  }
  /// The same with its first picture shown.
  std::shared_ptr<BannerView> showing(const std::vector<nlohmann::json>& banners) {
    auto view = appeared(banners);
    awaitPicture(view);
    return view;
  }

  /// The events of one kind that reached the host's handler, in order.
  template <class Case>
  std::vector<Case> reported() const {
    std::vector<Case> result;
    for (const auto& event : events) {
      if (auto* match = std::get_if<Case>(&event)) result.push_back(*match);
    }
    return result;
  }

  std::vector<StorySDKEvent> events;
  int loadsApplied = 0;

 private:
  std::mutex responseMutex_;
  testsupport::ScriptedResponse bannersResponse_ = testsupport::reply(200, R"({"banners":[]})");
  std::vector<Subscription> subscriptions_;
};

using Impression = StorySDKEvent::BannerImpression;
using Click = StorySDKEvent::BannerClick;

std::vector<std::string> idsOf(const std::vector<BannerItem>& list) {
  std::vector<std::string> ids;
  for (const auto& item : list) ids.push_back(item.id());
  return ids;
}

std::pair<int, int> positionOf(const BannerView& view) { return {view.activeBannerIndex(), view.activeItemIndex()}; }

/// What the card shows: "<banner id>/<item id> at <banner index>,<item index>", or "nothing".
std::string onCard(const BannerView& view) {
  auto state = view.currentRenderState();
  if (!state) return "nothing";
  return state->banner.id() + "/" + state->item.id() + " at " + std::to_string(state->bannerIndex) + "," +
         std::to_string(state->activeItemIndex);
}

TEST_F(BannerViewTest, PlayableItemsAreOrderedLimitedToTenAndSkipFailedOnes) {
  std::vector<ItemPlan> twelve;
  for (int i = 1; i <= 12; ++i) twelve.push_back({100 + i, 13 - i, "ok-1.png"});  // orderIndex 12 down to 1
  // Equal orderIndex: ascending id text, so "10" comes before "9".
  std::vector<ItemPlan> ties{{9, 1, "ok-1.png"}, {10, 1, "ok-2.png"}, {3, 0, "ok-3.png"}};
  auto view = loaded({bannerJson(1, "CAROUSEL", twelve), bannerJson(2, "CAROUSEL", ties)});

  const auto& banners = view->banners();
  ASSERT_EQ(banners.size(), 2u);
  EXPECT_EQ(idsOf(view->playableItems(banners[0])),
            (std::vector<std::string>{"112", "111", "110", "109", "108", "107", "106", "105", "104", "103"}));
  EXPECT_EQ(idsOf(view->playableItems(banners[1])), (std::vector<std::string>{"3", "10", "9"}));

  // A failed item leaves the list; the 11th item does not move up into the first ten.
  view->markItemInvalid(banners[0], banners[0].items()[11]);  // id 112, orderIndex 1
  EXPECT_EQ(view->invalidItemKeys(), (std::set<std::string>{"1:112"}));
  EXPECT_EQ(view->playableItems(banners[0]).size(), 9u);
  EXPECT_EQ(view->playableItems(banners[0]).front().id(), "111");
}

TEST_F(BannerViewTest, NothingIsShownOrPlayedWithoutPlayableContent) {
  auto view = makeView();
  serve(testsupport::reply(500, "{}"));  // a failed load, with no earlier good list for this identity
  appearAndLoad(view);
  EXPECT_EQ((std::tuple{view->banners().size(), onCard(*view), view->loadErrorMessage().has_value()}),
            (std::tuple{0u, "nothing", true}));

  serveBanners({});  // a good empty list clears the error
  view->loadBanners();
  awaitLoad();
  EXPECT_EQ((std::tuple{onCard(*view), view->loadErrorMessage()}), (std::tuple{"nothing", std::nullopt}));

  // Every picture fails: the banner is skipped, nothing is shown and nothing plays.
  serveBanners({bannerJson(1, "STORY", items(2, "bad"), 1)});
  view->loadBanners();
  awaitLoad();
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return view->invalidItemKeys().size() == 2; }));
  EXPECT_FALSE(view->currentRenderState());
  EXPECT_EQ(view->cardImage(), nullptr);
  tp.mainThread->advance(5);
  EXPECT_EQ((std::tuple{view->activeItemProgress(), tp.mainThread->activeTimerCount()}), (std::tuple{0.0, 0u}));
}

TEST_F(BannerViewTest, FailedPicturesMoveToTheNextPlayableBannerAndTheLastOneEmptiesTheSlotUntilTheNextLoad) {
  auto view = showing({bannerJson(1, "CAROUSEL", items(2, "bad"), 1), bannerJson(2, "CAROUSEL", items(2), 1),
                       bannerJson(3, "STATIC", items(1, "bad"))});
  EXPECT_EQ(view->invalidItemKeys(), (std::set<std::string>{"1:1", "1:2"}));
  EXPECT_EQ(onCard(*view), "2/1 at 1,0");
  EXPECT_EQ(view->cardImage()->width(), 4u);

  // Requesting the first banner again still shows the second; the advance writes where it really is.
  view->applyPosition(0, 1, 0);
  EXPECT_EQ(onCard(*view), "2/2 at 1,1");
  tp.mainThread->advance(1.0);
  EXPECT_EQ(positionOf(*view), std::make_pair(1, 0));
  view->applyPosition(1, 7, 0);  // the item index is limited to the banner's last playable item
  EXPECT_EQ(onCard(*view), "2/2 at 1,1");

  // Past the end the last banner is used; its only picture fails: nothing is shown (no wrap), and earlier
  // banners are not searched.
  view->applyPosition(9, 0, 0);
  EXPECT_EQ(onCard(*view), "3/1 at 2,0");
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return view->invalidItemKeys().size() == 3; }));
  EXPECT_EQ((std::tuple{view->activeBannerIndex(), onCard(*view), view->cardImage()}),
            (std::tuple{3, "nothing", nullptr}));
  view->applyPosition(9, 0, 0);
  EXPECT_EQ(onCard(*view), "nothing");
  view->applyPosition(-4, -1, 0);  // stored as 0
  EXPECT_EQ(positionOf(*view), std::make_pair(0, 0));

  view->applicationDidBecomeActive();
  awaitLoad();
  awaitPicture(view);
  EXPECT_EQ(onCard(*view), "2/1 at 1,0");
}

TEST_F(BannerViewTest, AFailedItemLeavesTheCarouselPlayingTheOthers) {
  struct Case {
    std::vector<ItemPlan> plans;
    std::vector<std::string> shown;  // the item on the card at the start and after each second
  };
  const Case cases[] = {
      // The middle item fails: the next one takes its place, and the two left keep taking turns.
      {{{1, 1, "ok-1.png"}, {2, 2, "bad-2.png"}, {3, 3, "ok-3.png"}}, {"1", "3", "1", "3"}},
      // The last item fails: the first one follows.
      {{{1, 1, "ok-1.png"}, {2, 2, "ok-2.png"}, {3, 3, "bad-3.png"}}, {"1", "2", "1", "2"}},
  };
  for (const auto& c : cases) {
    auto view = appeared({bannerJson(1, "CAROUSEL", c.plans, 1)});
    std::vector<std::string> shown;
    for (std::size_t step = 0; step < c.shown.size(); ++step) {
      if (step > 0) tp.mainThread->advance(1.0);
      awaitPicture(view);
      shown.push_back(view->currentRenderState()->item.id());
    }
    EXPECT_EQ(shown, c.shown);
  }
}

TEST_F(BannerViewTest, StoryProgressTicksFortyTimesForTwoSeconds) {
  auto view = appeared({bannerJson(1, "STORY", items(3), 2)});
  std::vector<double> progress;
  auto watch = view->subscribe([&](BannerViewField field) {
    if (field == BannerViewField::activeItemProgress) progress.push_back(view->activeItemProgress());
  });
  tp.mainThread->runPending();
  progress.clear();

  tp.mainThread->advance(1.95);
  EXPECT_EQ(view->activeItemIndex(), 0);
  ASSERT_EQ(progress.size(), 39u);
  EXPECT_NEAR(progress.back(), 0.975, 1e-12);

  tp.mainThread->advance(0.05);
  EXPECT_EQ(view->activeItemIndex(), 1);
  EXPECT_EQ(view->activeItemProgress(), 0.0);
  ASSERT_GE(progress.size(), 41u);
  EXPECT_EQ(progress[39], 1.0);  // the 40th tick fills the segment, then the advance resets it
  EXPECT_EQ(progress[40], 0.0);

  // The last item is followed by the banner's first.
  tp.mainThread->advance(4.0);
  EXPECT_EQ(positionOf(*view), std::make_pair(0, 0));
}

TEST_F(BannerViewTest, AutoplaySecondsAreAtLeastOneAndAtMostAFiniteSleep) {
  auto view = appeared({bannerJson(1, "STORY", items(2), 0), bannerJson(2, "CAROUSEL", items(3), -3),
                        bannerJson(3, "CAROUSEL", items(2), std::numeric_limits<long long>::max())});
  tp.mainThread->advance(0.95);
  EXPECT_EQ(view->activeItemIndex(), 0);
  tp.mainThread->advance(0.05);
  EXPECT_EQ(view->activeItemIndex(), 1);

  // A carousel wraps within its banner and never moves on to the next one; it writes no progress.
  view->applyPosition(1, 0, 0);
  tp.mainThread->advance(0.9);
  EXPECT_EQ(view->activeItemIndex(), 0);
  std::vector<std::pair<int, int>> shown;
  for (double step : {0.1, 1.0, 1.0, 1.0}) {
    tp.mainThread->advance(step);
    shown.push_back(positionOf(*view));
  }
  EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {1, 0}, {1, 1}}));
  EXPECT_EQ(view->activeItemProgress(), 0.0);

  // The longest value the service can send waits (a very long time) instead of overflowing.
  view->applyPosition(2, 0, 0);
  tp.mainThread->advance(86400);
  EXPECT_EQ(view->activeItemIndex(), 0);
  EXPECT_EQ(tp.mainThread->activeTimerCount(), 1u);
}

TEST_F(BannerViewTest, StaticAndSingleItemBannersNeverAdvanceNorResetProgress) {
  auto view = appeared({bannerJson(1, "STATIC", items(3), 1), bannerJson(2, "STORY", items(1), 1)});
  // Each move shows other content, whose autoplay then starts with the progress already set.
  for (int banner : {1, 0}) {
    view->applyPosition(banner, 0, 0.3);
    tp.mainThread->advance(10);
    EXPECT_EQ((std::tuple{positionOf(*view), view->activeItemProgress(), tp.mainThread->activeTimerCount()}),
              (std::tuple{std::make_pair(banner, 0), 0.3, 0u}));
  }
}

TEST(BannerSwipe, DragThresholds) {
  EXPECT_EQ(bannerSwipe(-37, 10), BannerSwipe::next);
  EXPECT_EQ(bannerSwipe(-36, 0), BannerSwipe::none);
  EXPECT_EQ(bannerSwipe(50, -60), BannerSwipe::none);
  EXPECT_EQ(bannerSwipe(40, 40), BannerSwipe::none);
  EXPECT_EQ(bannerSwipe(40, 0), BannerSwipe::previous);
}

TEST_F(BannerViewTest, SwipesCrossBannersSkippingUnplayableOnesAndWrap) {
  auto view = loaded({bannerJson(1, "CAROUSEL", items(2)), bannerJson(2, "CAROUSEL", items(1, "bad")),
                      bannerJson(3, "CAROUSEL", items(3))});
  const auto banners = view->banners();
  view->markItemInvalid(banners[1], banners[1].items()[0]);
  view->applyPosition(0, 0, 0.4);

  // Next and previous of banners 1 and 3, next of an unknown one, then the first and the last.
  EXPECT_EQ((std::vector{view->nextPlayableBannerIndex("1"), view->previousPlayableBannerIndex("1"),
                         view->nextPlayableBannerIndex("3"), view->previousPlayableBannerIndex("3"),
                         view->nextPlayableBannerIndex("404"), view->firstPlayableBannerIndex(),
                         view->lastPlayableBannerIndex()}),
            (std::vector<std::optional<int>>{2, std::nullopt, std::nullopt, 0, std::nullopt, 0, 2}));

  view->showNextItem(*view->currentRenderState());
  EXPECT_EQ(positionOf(*view), std::make_pair(0, 1));
  EXPECT_EQ(view->activeItemProgress(), 0.0);
  view->showNextItem(*view->currentRenderState());
  EXPECT_EQ(positionOf(*view), std::make_pair(2, 0));  // banner 2 has nothing playable
  view->showPreviousItem(*view->currentRenderState());
  EXPECT_EQ(positionOf(*view), std::make_pair(0, 1));  // last playable item of the previous banner

  view->applyPosition(2, 2, 0);
  view->showNextItem(*view->currentRenderState());
  EXPECT_EQ(positionOf(*view), std::make_pair(0, 0));  // wraps to the first playable banner
  view->showPreviousItem(*view->currentRenderState());
  EXPECT_EQ(positionOf(*view), std::make_pair(2, 2));  // and back to the last item of the last one
}

TEST_F(BannerViewTest, OneImpressionPerBannerAndViewInstance) {
  auto view = showing({bannerJson(1, "CAROUSEL", items(2)), bannerJson(2, "CAROUSEL", items(2))});
  ASSERT_EQ(reported<Impression>().size(), 1u);
  const Impression first = reported<Impression>()[0];
  EXPECT_EQ((std::tuple{first.bannerId, first.bannerItemId, first.placementKey}), (std::tuple{"1", "1", "home_top"}));
  EXPECT_EQ(view->trackedImpressions(), (std::set<std::string>{"home_top:1"}));

  // Reload from the foreground: the same banner's picture shows again, no second impression.
  view->applicationDidBecomeActive();
  awaitLoad();
  awaitPicture(view);
  for (double dx : {-50.0, -50.0, 50.0}) {  // item 2 of banner 1, banner 2, back to banner 1
    view->handleDragEnded(dx, 0);
    awaitPicture(view);
  }
  ASSERT_EQ(reported<Impression>().size(), 2u);
  EXPECT_EQ(reported<Impression>()[1].bannerId, "2");

  // A second slot for the same placement reports its own; the facade sends the SDK event once per session.
  auto other = makeView();
  appearAndLoad(other);
  awaitPicture(other);
  EXPECT_EQ(reported<Impression>().size(), 3u);
  const auto sent = sentBodies("/sdk/v1/events");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0]["eventType"], "BANNER_IMPRESSION");
}

TEST_F(BannerViewTest, ItemsSharingAPictureEachReportTheirLoadOrFailure) {
  auto view = showing({bannerJson(1, "CAROUSEL", {{1, 1, "ok-1.png"}}), bannerJson(2, "CAROUSEL", {{2, 1, "ok-1.png"}}),
                       bannerJson(3, "CAROUSEL", {{3, 1, "bad-3.png"}, {4, 2, "bad-3.png"}})});
  view->handleDragEnded(-50, 0);  // banner 2 shows the very same picture
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return reported<Impression>().size() == 2; }));
  EXPECT_EQ(reported<Impression>()[1].bannerId, "2");

  // Both items of banner 3 share a failing picture: both are skipped, and nothing is left to show.
  view->handleDragEnded(-50, 0);
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return view->invalidItemKeys().size() == 2; }));
  EXPECT_FALSE(view->currentRenderState());
}

TEST_F(BannerViewTest, PictureLoadPrefetchesTheFollowingItemWrapping) {
  auto view = showing({bannerJson(1, "CAROUSEL", items(3))});
  ASSERT_TRUE(server.waitForRequestsTo("/media/ok-2.png", 1));
  EXPECT_TRUE(server.requestsTo("/media/ok-3.png").empty());

  // Once in memory, the next picture shows in the swipe's own turn: the card never blinks gray.
  const Url next = view->currentRenderState()->items[1].mediaURL();
  bool cached = false;  // joins the prefetch, which caches the picture before anyone is told
  StoryImagePipeline::shared().imageFor(next, [&](std::shared_ptr<const Image>) { cached = true; });
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return cached; }));
  view->handleDragEnded(-50, 0);
  EXPECT_NE(view->cardImage(), nullptr);

  // From the last item the first one is fetched ahead (again, once memory was cleared).
  StoryImagePipeline::shared().resetForTesting();
  view->applyPosition(0, 2, 0);
  awaitPicture(view);
  ASSERT_TRUE(server.waitForRequestsTo("/media/ok-1.png", 2));
}

TEST_F(BannerViewTest, EveryTapIsAClickAndOnlyLinkTypesOpen) {
  std::vector<ItemPlan> plans{{1, 1, "ok-1.png", "CUSTOM_EVENT", "https://example.com/promo"},
                              {2, 2, "ok-2.png", "EXTERNAL_URL", "https://example.com/shop"},
                              {3, 3, "ok-3.png", "DEEP_LINK", "myapp://offers/7"},
                              {4, 4, "ok-4.png", "NONE", "https://example.com/none"},
                              {5, 5, "ok-5.png", "INTERNAL_ROUTE", std::nullopt},
                              {6, 6, "ok-6.png", "EXTERNAL_URL", "file:///etc/passwd"}};
  auto view = loaded({bannerJson(9, "STATIC", plans)});

  view->handleTap();
  view->handleTap();
  ASSERT_EQ(reported<Click>().size(), 2u);
  const Click second = reported<Click>()[1];
  EXPECT_EQ((std::tuple{second.bannerId, second.bannerItemId, second.url}),
            (std::tuple{"9", "1", Url::parse("https://example.com/promo")}));
  EXPECT_TRUE(tp.urlOpener->opened().empty());

  for (int item = 1; item < 6; ++item) {
    view->applyPosition(0, item, 0);
    view->handleTap();
  }
  EXPECT_EQ(reported<Click>().size(), 7u);
  EXPECT_FALSE(reported<Click>()[5].url);
  std::vector<std::string> opened;
  for (const auto& url : tp.urlOpener->opened()) opened.push_back(url.string());
  EXPECT_EQ(opened, (std::vector<std::string>{"https://example.com/shop", "myapp://offers/7"}));  // no file:

  // Clicks are never de-duplicated: one SDK event per tap.
  EXPECT_EQ(sentBodies("/sdk/v1/events").size(), 7u);
}

TEST_F(BannerViewTest, ForegroundReloadRestartsAtTheFirstItemAndKeepsImpressions) {
  auto view = showing(
      {bannerJson(1, "CAROUSEL", items(2)), bannerJson(2, "CAROUSEL", {{7, 1, "bad-7.png"}, {8, 2, "ok-8.png"}})});
  view->applyPosition(1, 0, 0);
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !view->invalidItemKeys().empty(); }));
  awaitPicture(view);
  EXPECT_EQ(view->currentRenderState()->item.id(), "8");
  EXPECT_EQ(view->trackedImpressions().size(), 2u);

  // Leaving the foreground reloads nothing (the request count below); coming back does.
  ApplicationActivity::shared().postWillResignActive();
  ApplicationActivity::shared().postDidEnterBackground();
  ApplicationActivity::shared().postDidBecomeActive();
  awaitLoad();
  EXPECT_EQ((std::tuple{positionOf(*view), view->invalidItemKeys().size(), view->trackedImpressions().size()}),
            (std::tuple{std::make_pair(0, 0), 0u, 2u}));

  // Out of the hierarchy the view no longer listens.
  view->disappear();
  ApplicationActivity::shared().postDidBecomeActive();
  view->applicationDidBecomeActive();
  tp.mainThread->runPending();
  EXPECT_EQ(server.requestsTo(kBannersPath).size(), 2u);
}

TEST_F(BannerViewTest, CancelledAutoplayMakesNoFurtherChange) {
  auto view = appeared({bannerJson(1, "STORY", items(3), 1)});
  tp.mainThread->advance(0.5);
  EXPECT_NEAR(view->activeItemProgress(), 0.5, 1e-9);

  // A swipe changes the identity: the old task stops, the new one starts from 0.
  view->handleDragEnded(-60, 0);
  EXPECT_EQ(view->activeItemProgress(), 0.0);
  tp.mainThread->advance(0.95);
  EXPECT_EQ(view->activeItemIndex(), 1);
  tp.mainThread->advance(0.05);
  EXPECT_EQ(view->activeItemIndex(), 2);

  // Leaving the hierarchy cancels the task; the state stays as it was.
  tp.mainThread->advance(0.3);
  const double progress = view->activeItemProgress();
  view->disappear();
  tp.mainThread->advance(10);
  EXPECT_EQ((std::tuple{view->activeItemIndex(), view->activeItemProgress(), tp.mainThread->activeTimerCount()}),
            (std::tuple{2, progress, 0u}));

  // A released view leaves its pending sleep harmless.
  view->appear();
  tp.mainThread->advance(0.2);
  std::weak_ptr<BannerView> weak = view;
  view.reset();
  EXPECT_TRUE(weak.expired());
  tp.mainThread->advance(5);
  ASSERT_TRUE(http->waitUntilIdle(std::chrono::seconds{10}));  // the reload's answer finds no view
  tp.mainThread->runPending();
}

}  // namespace
}  // namespace quenmark
