#include <quenmark/net/story_image_pipeline.h>

#include "picture_server.h"
#include "pipeline_image_provider.h"
#include "qt_event_loop.h"

#include <gtest/gtest.h>

#include <QQuickTextureFactory>

#include <map>
#include <memory>
#include <vector>

namespace quenmark {
namespace {

using qttest::runEventsUntil;

/// Asks the provider as the engine does, from the GUI thread here.
class PipelineImageProviderTest : public ::testing::Test {
 protected:
  void SetUp() override { StoryImagePipeline::shared().resetForTesting(); }
  void TearDown() override { StoryImagePipeline::shared().resetForTesting(); }

  /// The id the engine passes: the source without "image://quenmark/".
  static QString idOf(const Url& url) { return qt::imageSource(url).toString().mid(17); }

  QQuickImageResponse* request(const QString& id, QSize requestedSize = {}) {
    responses.emplace_back(provider.requestImageResponse(id, requestedSize));
    auto* response = responses.back().get();
    QObject::connect(response, &QQuickImageResponse::finished, [this, response] {
      ++finished;
      ++finishedCount[response];
    });
    return response;
  }

  static QImage imageOf(QQuickImageResponse* response) {
    std::unique_ptr<QQuickTextureFactory> factory(response->textureFactory());
    return factory ? factory->image() : QImage();
  }

  qt::PipelineImageProvider provider;
  qttest::PictureServer server;
  std::vector<std::unique_ptr<QQuickImageResponse>> responses;
  int finished = 0;
  std::map<QQuickImageResponse*, int> finishedCount;
};

TEST_F(PipelineImageProviderTest, TwoRequestsAtOnceShareOneTransferAndTheDecodedPixels) {
  const Url url = server.url("/cover.png");
  server.hold("/cover.png", qttest::makePicture({40, 20}, Qt::red, Qt::blue));
  auto* first = request(idOf(url));
  auto* second = request(idOf(url));
  ASSERT_TRUE(runEventsUntil([&] { return StoryImagePipeline::shared().isLoading(url); }));
  server.release("/cover.png");
  ASSERT_TRUE(runEventsUntil([&] { return finished == 2; }));
  EXPECT_EQ(server.requestCount("/cover.png"), 1u);

  const QImage image = imageOf(first);
  ASSERT_EQ(image.size(), QSize(40, 20));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(5, 15), QColor(Qt::blue));
  // Wrapped, never copied: both responses show the pipeline's own pixels.
  std::shared_ptr<const Image> cached;
  StoryImagePipeline::shared().imageFor(url, [&](std::shared_ptr<const Image> picture) { cached = picture; });
  ASSERT_TRUE(runEventsUntil([&] { return cached != nullptr; }));
  EXPECT_EQ(image.constBits(), cached->pixels());
  EXPECT_EQ(imageOf(second).constBits(), cached->pixels());
}

TEST_F(PipelineImageProviderTest, ASmallerRequestedSizeGivesAPictureThatStillCoversIt) {
  server.serve("/wide.png", qttest::makePicture({40, 20}, Qt::red, Qt::blue));
  const struct {
    QSize requested;
    QSize delivered;
  } cases[] = {
      {QSize(), QSize(40, 20)},
      {QSize(10, 10), QSize(20, 10)},
      {QSize(10, 0), QSize(10, 5)},
      {QSize(80, 80), QSize(40, 20)},  // never larger than the picture
  };
  for (const auto& c : cases) {
    auto* response = request(idOf(server.url("/wide.png")), c.requested);
    const int target = finished + 1;
    ASSERT_TRUE(runEventsUntil([&] { return finished == target; }));
    EXPECT_EQ(imageOf(response).size(), c.delivered) << c.requested.width() << "x" << c.requested.height();
  }
}

TEST_F(PipelineImageProviderTest, NoPictureFinishesOnceWithTheReason) {
  server.serveFailure("/missing.png");
  server.hold("/slow.png", qttest::makePicture({4, 4}, Qt::red, Qt::red));
  auto* notAUrl = request(QStringLiteral("no%20scheme"));
  auto* missing = request(idOf(server.url("/missing.png")));
  auto* cancelled = request(idOf(server.url("/slow.png")));
  cancelled->cancel();
  ASSERT_TRUE(runEventsUntil([&] { return finished == 3; }));
  // The cancelled load still completes, for a later request; the cancelled response hears nothing more.
  server.release("/slow.png");
  auto* later = request(idOf(server.url("/slow.png")));
  ASSERT_TRUE(runEventsUntil([&] { return finishedCount[later] == 1; }));

  EXPECT_TRUE(notAUrl->errorString().startsWith("Not a picture address")) << notAUrl->errorString().toStdString();
  EXPECT_TRUE(missing->errorString().startsWith("No picture at http://127.0.0.1:"));
  EXPECT_FALSE(cancelled->errorString().isEmpty());
  for (auto* response : {notAUrl, missing, cancelled}) {
    EXPECT_TRUE(imageOf(response).isNull());
    EXPECT_EQ(finishedCount[response], 1);
  }
}

}  // namespace
}  // namespace quenmark
