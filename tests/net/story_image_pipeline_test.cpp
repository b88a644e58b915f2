#include <quenmark/net/story_image_pipeline.h>

#include "image_server_fixture.h"
#include "recording_http_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace quenmark::testsupport {
namespace {

/// What one `imageFor` call delivered; shared so that a late delivery never touches a dead test frame.
struct Delivery {
  bool done = false;
  std::shared_ptr<const Image> image;
  std::thread::id thread;
};

class StoryImagePipelineTest : public ImageServerTest {
 protected:
  static StoryImagePipeline& pipeline() { return StoryImagePipeline::shared(); }

  std::shared_ptr<Delivery> request(const Url& target) {
    auto delivery = std::make_shared<Delivery>();
    pipeline().imageFor(target, [delivery](std::shared_ptr<const Image> image) {
      delivery->done = true;
      delivery->image = std::move(image);
      delivery->thread = std::this_thread::get_id();
    });
    return delivery;
  }

  std::shared_ptr<const Image> load(const Url& target) {
    auto delivery = request(target);
    EXPECT_TRUE(tp.mainThread->runUntil([&] { return delivery->done; })) << target.string();
    return delivery->image;
  }

  const std::string png16 = encodePng(makeTestPicture(16, 16));
};

TEST_F(StoryImagePipelineTest, ConcurrentRequestsForOneUrlShareOneTransferAndOneImage) {
  serveGated("/a.png", png16);
  const Url target = url("/a.png");

  std::vector<std::shared_ptr<Delivery>> deliveries(16);
  std::vector<std::thread> callers;
  for (std::size_t i = 0; i < deliveries.size(); ++i) {
    callers.emplace_back([&, i] { deliveries[i] = request(target); });
  }
  for (auto& caller : callers) caller.join();
  ASSERT_TRUE(gate.waitForArrivals(1));
  EXPECT_TRUE(pipeline().isLoading(target));
  EXPECT_FALSE(pipeline().isCached(target));
  gate.open();

  ASSERT_TRUE(tp.mainThread->runUntil(
      [&] { return std::all_of(deliveries.begin(), deliveries.end(), [](const auto& d) { return d->done; }); }));
  ASSERT_NE(deliveries[0]->image, nullptr);
  EXPECT_EQ(deliveries[0]->image->width(), 16u);
  for (const auto& delivery : deliveries) {
    EXPECT_EQ(delivery->image, deliveries[0]->image) << "every waiter gets the same image object";
    EXPECT_EQ(delivery->thread, std::this_thread::get_id()) << "delivered on the main thread";
  }
  EXPECT_EQ(server.requestsTo("/a.png").size(), 1u);
  EXPECT_TRUE(pipeline().isCached(target));
  EXPECT_FALSE(pipeline().isLoading(target));
}

TEST_F(StoryImagePipelineTest, SendsAPlainGetWithoutKeyOrIdentityHeadersThatTimesOutOnlyWhenStalled) {
  auto recording = std::make_shared<RecordingHttpSession>(tp.http);
  tp.http = recording;
  tp.install(server.baseUrl());
  server.on("GET", "/plain.png", imageResponse(png16));
  ASSERT_NE(load(url("/plain.png")), nullptr);
  EXPECT_TRUE(recording->sent().at(0).timeoutOnlyWhenStalled) << "a large video on a slow link may take long";
  const auto requests = server.requestsTo("/plain.png");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_TRUE(requests[0].body.empty());
  for (const auto& [name, value] : requests[0].headers) {
    EXPECT_NE(name.rfind("x-talewyn-", 0), 0u) << name << ": " << value;
  }
}

TEST_F(StoryImagePipelineTest, FailuresGiveNoImageAndAreNotKept) {
  // A page instead of a picture, a transfer that fails outright, a header claiming too many pixels (that a
  // failed URL is fetched again on the next load, the loader's tests count).
  server.on("GET", "/page", reply(200, "<html><body>Moved</body></html>", "text/html"));
  server.on("GET", "/huge.png", imageResponse(pngClaimingSize(100000, 100000)));
  for (const Url& target : {url("/page"), *Url::parse("http://127.0.0.1:9/gone.png"), url("/huge.png")}) {
    EXPECT_EQ(load(target), nullptr) << target.string();
    EXPECT_FALSE(pipeline().isCached(target) || pipeline().isLoading(target)) << target.string();
  }
}

TEST_F(StoryImagePipelineTest, ImageBytesUnderAnErrorStatusStillGiveAnImage) {
  server.on("GET", "/missing.webp", imageResponse(encodeWebp(makeTestPicture(8, 4)), 404, "image/webp"));
  server.on("GET", "/broken.jpg", imageResponse(encodeJpeg(makeTestPicture(8, 4)), 500, "text/plain"));
  auto webp = load(url("/missing.webp"));
  auto jpeg = load(url("/broken.jpg"));
  ASSERT_NE(webp, nullptr);
  ASSERT_NE(jpeg, nullptr);
  EXPECT_EQ(webp->width(), 8u);
  EXPECT_EQ(jpeg->height(), 4u);
  EXPECT_TRUE(pipeline().isCached(url("/missing.webp")));
}

TEST_F(StoryImagePipelineTest, PrefetchSkipsAbsentCachedAndDuplicateEntriesAndShareItsTransfer) {
  server.on("GET", "/cached.png", imageResponse(png16));
  serveGated("/new.png", png16);
  const Url cached = url("/cached.png");
  const Url fresh = url("/new.png");
  ASSERT_NE(load(cached), nullptr);

  pipeline().prefetch(std::optional<Url>{});
  pipeline().prefetch({std::nullopt, cached, fresh, fresh});
  EXPECT_FALSE(pipeline().isLoading(cached));
  EXPECT_TRUE(pipeline().isLoading(fresh));
  auto delivery = request(fresh);
  ASSERT_TRUE(gate.waitForArrivals(1));
  gate.open();
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return delivery->done; }));
  EXPECT_NE(delivery->image, nullptr);
  EXPECT_EQ(server.requestsTo("/new.png").size(), 1u) << "the request joined the prefetch";
  EXPECT_EQ(server.requestsTo("/cached.png").size(), 1u);
  EXPECT_EQ(server.requestCount(), 2u);
  EXPECT_TRUE(pipeline().isCached(fresh));
  EXPECT_FALSE(pipeline().isLoading(fresh));
}

TEST_F(StoryImagePipelineTest, KeepsRecentlyUsedImagesUnderTheByteBudget) {
  const std::size_t imageBytes = 16u * 16u * 4u;
  for (const char* path : {"/a.png", "/b.png", "/c.png"}) server.on("GET", path, imageResponse(png16));
  server.on("GET", "/big.png", imageResponse(encodePng(makeTestPicture(40, 40))));
  pipeline().setCacheByteLimit(2 * imageBytes + imageBytes / 2);

  ASSERT_NE(load(url("/a.png")), nullptr);
  ASSERT_NE(load(url("/b.png")), nullptr);
  ASSERT_NE(load(url("/a.png")), nullptr);  // a is now more recent than b
  ASSERT_NE(load(url("/c.png")), nullptr);  // over budget: b goes
  EXPECT_TRUE(pipeline().isCached(url("/a.png")));
  EXPECT_FALSE(pipeline().isCached(url("/b.png")));
  EXPECT_TRUE(pipeline().isCached(url("/c.png")));
  EXPECT_EQ(pipeline().cachedByteCount(), 2 * imageBytes);
  EXPECT_EQ(server.requestsTo("/a.png").size(), 1u);

  // An image larger than the whole budget is delivered but kept out, evicting nothing.
  auto big = load(url("/big.png"));
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big->width(), 40u);
  EXPECT_FALSE(pipeline().isCached(url("/big.png")));
  EXPECT_EQ(pipeline().cachedByteCount(), 2 * imageBytes);

  pipeline().setCacheByteLimit(imageBytes);  // lowering the limit evicts at once, oldest first
  EXPECT_FALSE(pipeline().isCached(url("/a.png")));
  EXPECT_TRUE(pipeline().isCached(url("/c.png")));

  pipeline().purge();
  EXPECT_EQ(pipeline().cachedByteCount(), 0u);
  EXPECT_FALSE(pipeline().isCached(url("/c.png")));
  ASSERT_NE(load(url("/c.png")), nullptr);
  EXPECT_EQ(server.requestsTo("/c.png").size(), 2u) << "a purged image is loaded again";
}

}  // namespace
}  // namespace quenmark::testsupport
