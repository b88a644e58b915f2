// Decoding a full-screen story picture through the pipeline's decode path next to the bare library
// calls, and answering a request from memory.
#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/testing/test_platform.h>

#include "platform/image_decoding.h"

#include <benchmark/benchmark.h>
#include <png.h>
#include <turbojpeg.h>
#include <webp/decode.h>
#include <webp/encode.h>

#include <cstring>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 1080;
constexpr int kHeight = 1920;

/// A photo-like picture: broad gradients with fine noise, so that no encoder gets it for free.
std::vector<unsigned char> makePicture() {
  std::vector<unsigned char> rgba(std::size_t{kWidth} * kHeight * 4u);
  std::mt19937 random(7);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      unsigned char* p = rgba.data() + (std::size_t(y) * kWidth + std::size_t(x)) * 4u;
      const unsigned noise = random() & 15u;
      p[0] = static_cast<unsigned char>((x * 255 / kWidth + noise) & 0xFF);
      p[1] = static_cast<unsigned char>((y * 255 / kHeight + noise) & 0xFF);
      p[2] = static_cast<unsigned char>(((x + y) * 255 / (kWidth + kHeight)) & 0xFF);
      p[3] = 255;
    }
  }
  return rgba;
}

const std::vector<unsigned char>& picture() {
  static const auto pixels = makePicture();
  return pixels;
}

const std::string& jpegBytes() {
  static const std::string bytes = [] {
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (tjCompress2(handle, picture().data(), kWidth, 0, kHeight, TJPF_RGBA, &out, &size, TJSAMP_420, 85, 0) != 0) {
      throw std::runtime_error("JPEG encoding failed");
    }
    std::string result(reinterpret_cast<const char*>(out), size);
    tjFree(out);
    tjDestroy(handle);
    return result;
  }();
  return bytes;
}

const std::string& pngBytes() {
  static const std::string bytes = [] {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, picture().data(), 0, nullptr);
    std::string result(size, '\0');
    if (!png_image_write_to_memory(&image, result.data(), &size, 0, picture().data(), 0, nullptr)) {
      throw std::runtime_error("PNG encoding failed");
    }
    result.resize(size);
    return result;
  }();
  return bytes;
}

const std::string& webpBytes() {
  static const std::string bytes = [] {
    std::uint8_t* out = nullptr;
    std::size_t size = WebPEncodeRGBA(picture().data(), kWidth, kHeight, kWidth * 4, 80.0f, &out);
    if (size == 0) throw std::runtime_error("WebP encoding failed");
    std::string result(reinterpret_cast<const char*>(out), size);
    WebPFree(out);
    return result;
  }();
  return bytes;
}

const unsigned char* bytesOf(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

void decodeThroughPipeline(benchmark::State& state, const std::string& bytes) {
  for (auto _ : state) {
    auto image = quenmark::platform::decodeImage(bytes);
    if (!image.ok()) {
      state.SkipWithError(image.error().description.c_str());
      return;
    }
    benchmark::DoNotOptimize(image.value()->pixels());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight * 4);
}

void BM_PipelineDecodeJpeg(benchmark::State& state) { decodeThroughPipeline(state, jpegBytes()); }
void BM_PipelineDecodePng(benchmark::State& state) { decodeThroughPipeline(state, pngBytes()); }
void BM_PipelineDecodeWebp(benchmark::State& state) { decodeThroughPipeline(state, webpBytes()); }

// A download cut off after its first rows: refused at the point the data ends, not after a full
// picture of filler.
void BM_PipelineRefuseTruncatedJpeg(benchmark::State& state) {
  const std::string truncated = jpegBytes().substr(0, jpegBytes().size() / 20);
  for (auto _ : state) {
    if (quenmark::platform::decodeImage(truncated).ok()) {
      state.SkipWithError("a truncated JPEG decoded");
      return;
    }
  }
}

// The bare library calls: header, a fresh output buffer, decode. Nothing else.
void BM_RawDecodeJpeg(benchmark::State& state) {
  tjhandle handle = tjInitDecompress();
  auto* data = const_cast<unsigned char*>(bytesOf(jpegBytes()));
  const auto size = static_cast<unsigned long>(jpegBytes().size());
  for (auto _ : state) {
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    tjDecompressHeader3(handle, data, size, &width, &height, &subsampling, &colorspace);
    std::unique_ptr<unsigned char[]> out(new unsigned char[std::size_t(width) * std::size_t(height) * 4u]);
    if (tjDecompress2(handle, data, size, out.get(), width, width * 4, height, TJPF_RGBA, 0) != 0) {
      state.SkipWithError("tjDecompress2 failed");
      break;
    }
    benchmark::DoNotOptimize(out.get());
  }
  tjDestroy(handle);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight * 4);
}

void BM_RawDecodePng(benchmark::State& state) {
  for (auto _ : state) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, pngBytes().data(), pngBytes().size());
    image.format = PNG_FORMAT_RGBA;
    std::unique_ptr<unsigned char[]> out(new unsigned char[PNG_IMAGE_SIZE(image)]);
    if (!png_image_finish_read(&image, nullptr, out.get(), 0, nullptr)) {
      state.SkipWithError("png_image_finish_read failed");
      break;
    }
    benchmark::DoNotOptimize(out.get());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight * 4);
}

void BM_RawDecodeWebp(benchmark::State& state) {
  for (auto _ : state) {
    int width = 0, height = 0;
    WebPGetInfo(bytesOf(webpBytes()), webpBytes().size(), &width, &height);
    const std::size_t total = std::size_t(width) * std::size_t(height) * 4u;
    std::unique_ptr<unsigned char[]> out(new unsigned char[total]);
    if (WebPDecodeRGBAInto(bytesOf(webpBytes()), webpBytes().size(), out.get(), total, width * 4) == nullptr) {
      state.SkipWithError("WebPDecodeRGBAInto failed");
      break;
    }
    benchmark::DoNotOptimize(out.get());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight * 4);
}

BENCHMARK(BM_RawDecodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipelineDecodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawDecodePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipelineDecodePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawDecodeWebp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipelineDecodeWebp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipelineRefuseTruncatedJpeg)->Unit(benchmark::kMillisecond);

/// Serves the JPEG from memory, completing on a thread of its own like a real session.
class MemoryHttpSession final : public quenmark::platform::HttpSession {
 public:
  ~MemoryHttpSession() override {
    for (auto& thread : threads_) thread.join();
  }
  void send(quenmark::platform::HttpRequest, quenmark::platform::HttpCompletion completion) override {
    threads_.emplace_back([completion = std::move(completion)] {
      quenmark::platform::HttpResponse response;
      response.status = 200;
      response.body = jpegBytes();
      completion(std::move(response));
    });
  }

 private:
  std::vector<std::thread> threads_;
};

void BM_PipelineCacheHit(benchmark::State& state) {
  quenmark::testing::TestPlatform tp;
  auto session = std::make_shared<MemoryHttpSession>();
  auto platform = tp.platform(*quenmark::Url::parse("http://127.0.0.1:9"));
  platform.http = session;
  quenmark::platform::installPlatform(platform);
  auto& pipeline = quenmark::StoryImagePipeline::shared();
  pipeline.resetForTesting();
  const auto url = *quenmark::Url::parse("https://cdn.example.com/stories/cover.jpg");

  bool loaded = false;
  pipeline.imageFor(url, [&](std::shared_ptr<const quenmark::Image> image) { loaded = image != nullptr; });
  if (!tp.mainThread->runUntil([&] { return loaded; })) {
    state.SkipWithError("the first load failed");
    return;
  }
  for (auto _ : state) {
    std::shared_ptr<const quenmark::Image> got;
    pipeline.imageFor(url, [&got](std::shared_ptr<const quenmark::Image> image) { got = std::move(image); });
    tp.mainThread->runPending();
    benchmark::DoNotOptimize(got.get());
  }
  pipeline.resetForTesting();
}
BENCHMARK(BM_PipelineCacheHit);

}  // namespace

BENCHMARK_MAIN();
