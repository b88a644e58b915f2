#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quenmark {

/// A small pool of threads that runs decoding jobs in the order they were posted, off the main thread
/// and off the HTTP session's thread. Destroying the pool runs the jobs still queued, then joins.
class ImageDecodeWorker {
 public:
  explicit ImageDecodeWorker(unsigned threadCount);
  ~ImageDecodeWorker();
  ImageDecodeWorker(const ImageDecodeWorker&) = delete;
  ImageDecodeWorker& operator=(const ImageDecodeWorker&) = delete;

  /// Queues `job`; safe from any thread. The job runs on one of the pool's threads.
  void post(std::function<void()> job);

 private:
  void run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace quenmark
