#include "net/image_decode_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace quenmark {
namespace {

TEST(ImageDecodeWorker, RunsJobsInOrderOffTheCallersThread) {
  std::mutex mutex;
  std::condition_variable finished;
  std::vector<int> order;
  bool offCaller = true;
  bool onWorker = true;
  const auto caller = std::this_thread::get_id();
  {
    ImageDecodeWorker worker(1);
    EXPECT_FALSE(worker.isWorkerThread());
    for (int i = 0; i < 50; ++i) {
      worker.post([&, i] {
        std::lock_guard lock(mutex);
        order.push_back(i);
        offCaller = offCaller && std::this_thread::get_id() != caller;
        onWorker = onWorker && worker.isWorkerThread();
        finished.notify_all();
      });
    }
    std::unique_lock lock(mutex);
    ASSERT_TRUE(finished.wait_for(lock, std::chrono::seconds{5}, [&] { return order.size() == 50; }));
  }
  for (int i = 0; i < 50; ++i) EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
  EXPECT_TRUE(offCaller);
  EXPECT_TRUE(onWorker);
}

TEST(ImageDecodeWorker, DestructionRunsQueuedJobsFirst) {
  std::atomic<int> ran{0};
  {
    ImageDecodeWorker worker(2);
    for (int i = 0; i < 200; ++i) worker.post([&ran] { ++ran; });
  }
  EXPECT_EQ(ran.load(), 200);
}

}  // namespace
}  // namespace quenmark
