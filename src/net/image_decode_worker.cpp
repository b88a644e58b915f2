#include "net/image_decode_worker.h"

#include <algorithm>

namespace quenmark {

ImageDecodeWorker::ImageDecodeWorker(unsigned threadCount) {
  threadCount = std::max(1u, threadCount);
  threads_.reserve(threadCount);
  for (unsigned i = 0; i < threadCount; ++i) threads_.emplace_back([this] { run(); });
}

ImageDecodeWorker::~ImageDecodeWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (auto& thread : threads_) thread.join();
}

void ImageDecodeWorker::post(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
}

void ImageDecodeWorker::run() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;  // stopping, and nothing left to run
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    if (job) job();
  }
}

}  // namespace quenmark
