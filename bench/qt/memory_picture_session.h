// A full-screen story picture (1080 x 1920) and an HTTP session serving it from memory, for the Qt
// benchmarks.
#pragma once

#include <quenmark/platform/http_session.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <thread>
#include <vector>

namespace quenmark::bench {

inline const QImage& storyPicture() {
  static const QImage image = [] {
    QImage made(1080, 1920, QImage::Format_RGBA8888);
    for (int y = 0; y < made.height(); ++y) {
      auto* row = made.scanLine(y);
      for (int x = 0; x < made.width(); ++x) {
        row[4 * x] = static_cast<uchar>(x);
        row[4 * x + 1] = static_cast<uchar>(y);
        row[4 * x + 2] = static_cast<uchar>(x + y);
        row[4 * x + 3] = 255;
      }
    }
    return made;
  }();
  return image;
}

/// Answers every request with the picture as a PNG, completing on a thread of its own like a real session.
class MemoryPictureSession final : public platform::HttpSession {
 public:
  MemoryPictureSession() {
    QBuffer buffer(&png_);
    buffer.open(QIODevice::WriteOnly);
    storyPicture().save(&buffer, "PNG");
  }
  ~MemoryPictureSession() override {
    for (auto& thread : threads_) thread.join();
  }
  void send(platform::HttpRequest, platform::HttpCompletion completion) override {
    threads_.emplace_back([this, completion = std::move(completion)] {
      platform::HttpResponse response;
      response.status = 200;
      response.body = png_.toStdString();
      completion(std::move(response));
    });
  }

 private:
  QByteArray png_;
  std::vector<std::thread> threads_;
};

}  // namespace quenmark::bench
