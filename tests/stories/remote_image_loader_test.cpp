#include <quenmark/stories/remote_image_loader.h>

#include <quenmark/net/story_image_pipeline.h>

#include "image_server_fixture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quenmark::testsupport {
namespace {

/// Everything a loader told its view, in order.
struct Observed {
  std::vector<std::shared_ptr<const Image>> loaded;
  int failures = 0;
  std::vector<std::shared_ptr<const Image>> shown;  // image() at every change notification
};

class RemoteImageLoaderTest : public ImageServerTest {
 protected:
  void SetUp() override {
    ImageServerTest::SetUp();
    server.on("GET", "/b.png", imageResponse(encodePng(makeTestPicture(8, 8))));
    serveGated("/gated.png", encodePng(makeTestPicture(16, 16)));
    server.on("GET", "/bad.png", imageResponse("Service Unavailable", 503, "text/plain"));
  }

  std::shared_ptr<RemoteImageLoader> makeLoader(std::optional<Url> target) {
    auto loader = RemoteImageLoader::create(
        std::move(target), [observed = observed](const auto& image) { observed->loaded.push_back(image); },
        [observed = observed] { ++observed->failures; });
    std::weak_ptr<RemoteImageLoader> weak = loader;
    loader->setOnChange([observed = observed, weak] {
      if (auto self = weak.lock()) observed->shown.push_back(self->image());
    });
    return loader;
  }

  /// Waits until the pipeline has delivered the load of `target` (including to every earlier waiter).
  void waitForPipeline(const Url& target) {
    bool done = false;
    StoryImagePipeline::shared().imageFor(target, [&done](std::shared_ptr<const Image>) { done = true; });
    ASSERT_TRUE(tp.mainThread->runUntil([&] { return done; }));
  }

  /// The loader's state, its picture's width (0 without one), and the loads and failures it reported.
  using Seen = std::tuple<RemoteImageState, std::uint32_t, std::size_t, int>;
  Seen seen(const RemoteImageLoader& loader) const {
    return {loader.state(), loader.image() ? loader.image()->width() : 0u, observed->loaded.size(), observed->failures};
  }

  std::shared_ptr<Observed> observed = std::make_shared<Observed>();
};

TEST_F(RemoteImageLoaderTest, UrlChangeWhileLoadingNeverShowsOrReportsTheOldPicture) {
  auto loader = makeLoader(url("/gated.png"));
  loader->appear();
  ASSERT_TRUE(gate.waitForArrivals());
  EXPECT_EQ(loader->state(), RemoteImageState::loading);

  loader->setUrl(url("/b.png"));
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return loader->state() == RemoteImageState::loaded; }));
  EXPECT_EQ(seen(*loader), (Seen{RemoteImageState::loaded, 8, 1, 0}));

  gate.open();  // the old picture arrives last
  waitForPipeline(url("/gated.png"));
  EXPECT_EQ(seen(*loader), (Seen{RemoteImageState::loaded, 8, 1, 0}));
  EXPECT_EQ(observed->loaded[0]->width(), 8u);
  for (const auto& shown : observed->shown) EXPECT_TRUE(!shown || shown->width() == 8u) << "the old picture was shown";
}

TEST_F(RemoteImageLoaderTest, AbsentUrlKeepsThePlaceholderAndReportsNothing) {
  auto loader = makeLoader(std::nullopt);
  loader->appear();
  tp.mainThread->runPending();
  EXPECT_EQ(seen(*loader), (Seen{RemoteImageState::loading, 0, 0, 0}));
  EXPECT_EQ(server.requestCount(), 0u);

  // Binding a URL later loads it; unbinding returns to the placeholder.
  loader->setUrl(url("/b.png"));
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !observed->loaded.empty(); }));
  loader->setUrl(std::nullopt);
  EXPECT_EQ(seen(*loader), (Seen{RemoteImageState::loading, 0, 1, 0}));
}

TEST_F(RemoteImageLoaderTest, HeldPictureShowsAtOnceAfterOnePlaceholderUpdate) {
  waitForPipeline(url("/b.png"));
  auto loader = makeLoader(url("/b.png"));
  loader->appear();  // no main-thread turn in between, so no frame shows the placeholder
  ASSERT_EQ(observed->shown.size(), 2u);
  EXPECT_EQ(observed->shown[0], nullptr) << "one update with the placeholder";
  EXPECT_EQ(loader->state(), RemoteImageState::loaded);
  ASSERT_EQ(observed->loaded.size(), 1u);
  EXPECT_EQ(observed->loaded[0], loader->image());
  EXPECT_EQ(server.requestsTo("/b.png").size(), 1u);

  loader->setUrl(url("/b.png"));  // the same URL changes nothing
  tp.mainThread->runPending();
  EXPECT_EQ(observed->shown.size(), 2u);
  EXPECT_EQ(observed->loaded.size(), 1u);
}

TEST_F(RemoteImageLoaderTest, FailingUrlReportsFailureOnEveryLoad) {
  auto loader = makeLoader(url("/bad.png"));
  loader->appear();
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return observed->failures == 1; }));
  EXPECT_EQ(seen(*loader), (Seen{RemoteImageState::failed, 0, 0, 1}));

  loader->disappear();
  loader->appear();
  EXPECT_EQ(loader->state(), RemoteImageState::loading);
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return observed->failures == 2; }));
  EXPECT_EQ(server.requestsTo("/bad.png").size(), 2u);
  EXPECT_EQ(seen(*loader), (Seen{RemoteImageState::failed, 0, 0, 2}));
}

TEST_F(RemoteImageLoaderTest, LeavingOrReleasingTheViewDropsTheResult) {
  auto hidden = makeLoader(url("/gated.png"));
  auto released = makeLoader(url("/gated.png"));
  hidden->appear();
  released->appear();
  ASSERT_TRUE(gate.waitForArrivals());
  hidden->disappear();
  released.reset();
  gate.open();
  waitForPipeline(url("/gated.png"));

  EXPECT_EQ(seen(*hidden), (Seen{RemoteImageState::loading, 0, 0, 0}));
  EXPECT_EQ(server.requestsTo("/gated.png").size(), 1u);

  hidden->appear();  // coming back on screen loads anew, from memory this time
  tp.mainThread->runPending();
  EXPECT_EQ(seen(*hidden), (Seen{RemoteImageState::loaded, 16, 1, 0}));
}

}  // namespace
}  // namespace quenmark::testsupport
