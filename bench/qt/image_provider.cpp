// Delivering a cached full-screen story picture (1080 x 1920) through the image provider, next to a
// QImage::copy() of it. The provider wraps the pipeline's decoded pixels, so delivery must cost at most a
// tenth of the copy; the program fails when it does not. Measure with the release preset.
#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/platform/platform.h>

#include "memory_picture_session.h"
#include "pipeline_image_provider.h"
#include "recording_reporter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QQuickTextureFactory>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using quenmark::bench::MemoryPictureSession;

const QImage& picture() { return quenmark::bench::storyPicture(); }

void BM_QImageCopy(benchmark::State& state) {
  for (auto _ : state) {
    QImage copy = picture().copy();
    benchmark::DoNotOptimize(copy.constBits());
  }
}
BENCHMARK(BM_QImageCopy);

void BM_ProviderDeliversCachedPicture(benchmark::State& state) {
  auto session = std::make_shared<MemoryPictureSession>();
  auto platform = *quenmark::platform::currentPlatform();  // the Qt platform
  platform.http = session;
  quenmark::platform::installPlatform(platform);
  const auto url = *quenmark::Url::parse("https://cdn.example.com/stories/cover.png");
  bool cached = false;
  quenmark::StoryImagePipeline::shared().imageFor(url, [&](auto image) { cached = image != nullptr; });
  while (!cached) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

  quenmark::qt::PipelineImageProvider provider;
  const QString id = quenmark::qt::imageSource(url).toString().mid(17);  // after "image://quenmark/"
  for (auto _ : state) {
    std::unique_ptr<QQuickImageResponse> response(provider.requestImageResponse(id, QSize()));
    bool finished = false;
    QObject::connect(response.get(), &QQuickImageResponse::finished, [&] { finished = true; });
    while (!finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::unique_ptr<QQuickTextureFactory> factory(response->textureFactory());
    if (factory == nullptr || factory->image().size() != picture().size()) {
      state.SkipWithError("no picture delivered");
      break;
    }
    benchmark::DoNotOptimize(factory->image().constBits());
  }
}
BENCHMARK(BM_ProviderDeliversCachedPicture);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("XDG_DATA_HOME", QDir::temp().filePath(QStringLiteral("quenmark-bench")).toUtf8());
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  quenmark::bench::RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  if (!reporter.printFailures()) return 1;
  const auto copy = reporter.seconds.find("BM_QImageCopy");
  const auto provider = reporter.seconds.find("BM_ProviderDeliversCachedPicture");
  if (copy == reporter.seconds.end() || provider == reporter.seconds.end()) return 0;  // filtered out
  const double ratio = provider->second / copy->second;
  std::printf("provider delivery / QImage::copy() = %.4f (at most 0.1)\n", ratio);
  return ratio <= 0.1 ? 0 : 1;
}
