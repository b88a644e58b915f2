#include <quenmark/platform/run_loop.h>
#include <quenmark/testing/virtual_main_thread.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <numeric>
#include <thread>
#include <vector>

namespace quenmark {
namespace {

using testing::VirtualMainThread;

TEST(VirtualMainThread, RunsTasksInPostingOrderAndTimersAtTheirDueTime) {
  VirtualMainThread main;
  std::vector<std::string> log;
  main.post([&] { log.push_back("a"); });
  auto late = main.schedule(0.5, false, [&] { log.push_back("t0.5"); });
  auto early = main.schedule(0.1, false, [&] {
    log.push_back("t0.1");
    main.post([&] { log.push_back("posted-by-timer"); });
  });
  auto tie = main.schedule(0.5, false, [&] { log.push_back("t0.5-second"); });
  main.post([&] { log.push_back("b"); });
  EXPECT_TRUE(log.empty()) << "nothing runs before the test says so";

  main.advance(0.3);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "t0.1", "posted-by-timer"}));
  EXPECT_NEAR(main.now() - 1000.0, 0.3, 1e-9);
  main.advance(0.2);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "t0.1", "posted-by-timer", "t0.5", "t0.5-second"}));
  EXPECT_EQ(main.activeTimerCount(), 0u);
}

TEST(VirtualMainThread, RepeatingTimersFireOncePerIntervalUntilCancelledEvenFromInsideTheirCallback) {
  VirtualMainThread main;
  int ticks = 0;
  std::unique_ptr<platform::Timer> repeating;
  repeating = main.schedule(0.05, true, [&] {
    if (++ticks == 40) repeating.reset();  // destroying its own handle from inside the callback
  });
  auto dropped = main.schedule(0.1, false, [&] { ticks += 100; });
  dropped.reset();
  for (int i = 0; i < 20; ++i) main.advance(0.05);
  EXPECT_EQ(ticks, 20);
  main.advance(5.0);
  EXPECT_EQ(ticks, 40);
  EXPECT_EQ(main.activeTimerCount(), 0u);
}

TEST(VirtualMainThread, RunUntilGivesUpAtItsTimeout) {
  // Waiting for tasks posted from other threads is what every content client test does.
  VirtualMainThread main;
  EXPECT_FALSE(main.runUntil([] { return false; }, std::chrono::milliseconds{20}));
}

TEST(RunLoop, RunsPostedTasksInOrderFromAnyThreadAndOnlyItsOwnThreadIsMain) {
  platform::RunLoop loop;
  std::vector<int> order;
  std::atomic<bool> workerSawMain{true};
  std::thread worker([&] {
    workerSawMain = loop.isMainThread();
    for (int i = 0; i < 100; ++i) loop.post([&order, i] { order.push_back(i); });
    loop.post([&] { loop.stop(); });
  });
  loop.run();
  worker.join();
  std::vector<int> expected(100);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(order, expected);
  EXPECT_TRUE(loop.isMainThread());
  EXPECT_FALSE(workerSawMain);
}

TEST(RunLoop, TimersFireInDueOrderAndStopWhenCancelledAndNonsenseIntervalsNeitherOverflowNorSpin) {
  platform::RunLoop loop;
  std::vector<std::string> log;
  int repeats = 0;
  std::unique_ptr<platform::Timer> repeating;
  repeating = loop.schedule(0.005, true, [&] {
    if (++repeats == 3) repeating->invalidate();
  });
  auto cancelled = loop.schedule(0.001, false, [&] { log.push_back("cancelled"); });
  cancelled->invalidate();
  auto second = loop.schedule(0.02, false, [&] { log.push_back("second"); });
  auto first = loop.schedule(0.01, false, [&] { log.push_back("first"); });
  auto never = loop.schedule(1e300, false, [&] { log.push_back("huge"); });
  auto nan = loop.schedule(std::numeric_limits<double>::quiet_NaN(), false, [&] { log.push_back("nan"); });
  auto negative = loop.schedule(-5, false, [&] { log.push_back("negative"); });
  EXPECT_TRUE(loop.runUntil([&] { return log.size() == 4 && repeats >= 3; }, std::chrono::seconds{5}));
  // NaN and negative intervals are due at once, in either order.
  std::sort(log.begin(), log.begin() + 2);
  EXPECT_EQ(log, (std::vector<std::string>{"nan", "negative", "first", "second"}));
  EXPECT_EQ(repeats, 3);
  EXPECT_FALSE(repeating->isValid());
  EXPECT_TRUE(never->isValid());
}

}  // namespace
}  // namespace quenmark
