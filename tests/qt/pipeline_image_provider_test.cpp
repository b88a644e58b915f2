#include <quenmark/net/story_image_pipeline.h>

#include "picture_server.h"
#include "pipeline_image_provider.h"
#include "qt_event_loop.h"

#include <gtest/gtest.h>

#include <QQuickTextureFactory>

#include <memory>
#include <set>
#include <vector>

namespace quenmark {
namespace {

using qttest::runEventsUntil;

/// Asks the provider as the engine does (from the GUI thread here).
class PipelineImageProviderTest : public ::testing::Test {
 protected:
  void SetUp() override { StoryImagePipeline::shared().resetForTesting(); }
  void TearDown() override { StoryImagePipeline::shared().resetForTesting(); }

  QQuickImageResponse* request(const std::string& path) {
    return requestId(qt::imageSource(pictures.url(path)).toString().mid(17));  // after "image://quenmark/"
  }
  QQuickImageResponse* requestId(const QString& id) {
    auto* response = responses.emplace_back(provider.requestImageResponse(id, QSize())).get();
    QObject::connect(response, &QQuickImageResponse::finished, [this, response] { finished.insert(response); });
    return response;
  }
  bool awaitFinished(QQuickImageResponse* response) {
    return runEventsUntil([&] { return finished.count(response) != 0; });
  }
  static QImage imageOf(QQuickImageResponse* response) {
    std::unique_ptr<QQuickTextureFactory> factory(response->textureFactory());
    return factory ? factory->image() : QImage();
  }

  qt::PipelineImageProvider provider;
  qttest::PictureServer pictures;
  std::vector<std::unique_ptr<QQuickImageResponse>> responses;
  std::set<QQuickImageResponse*> finished;
};

TEST_F(PipelineImageProviderTest, TwoRequestsAtOnceShareOneTransferAndTheDecodedPixels) {
  pictures.serve("/cover.png", qttest::makePng({40, 20}, Qt::red, Qt::blue), "image/png", true);
  auto* first = request("/cover.png");
  auto* second = request("/cover.png");
  ASSERT_TRUE(runEventsUntil([&] { return StoryImagePipeline::shared().isLoading(pictures.url("/cover.png")); }));
  pictures.release("/cover.png");
  ASSERT_TRUE(awaitFinished(first) && awaitFinished(second));
  EXPECT_EQ(pictures.requestCount("/cover.png"), 1u);

  const QImage image = imageOf(first);
  ASSERT_EQ(image.size(), QSize(40, 20));
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(5, 15), QColor(Qt::blue));
  // Wrapped, never copied: both responses show the pipeline's own pixels.
  std::shared_ptr<const Image> cached;
  StoryImagePipeline::shared().imageFor(pictures.url("/cover.png"), [&](auto picture) { cached = picture; });
  ASSERT_TRUE(runEventsUntil([&] { return cached != nullptr; }));
  EXPECT_EQ(image.constBits(), cached->pixels());
  EXPECT_EQ(imageOf(second).constBits(), cached->pixels());
}

TEST_F(PipelineImageProviderTest, NoPictureGivesTheReason) {
  auto* notAUrl = requestId(QStringLiteral("no%20scheme"));
  auto* missing = request("/missing.png");
  ASSERT_TRUE(awaitFinished(notAUrl) && awaitFinished(missing));
  EXPECT_TRUE(notAUrl->errorString().startsWith("Not a picture address"));
  EXPECT_TRUE(missing->errorString().startsWith("No picture at http://127.0.0.1:"));
  EXPECT_TRUE(imageOf(missing).isNull());
}

}  // namespace
}  // namespace quenmark
