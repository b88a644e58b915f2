#pragma once

#include <quenmark/platform/clock.h>
#include <quenmark/platform/main_thread.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace quenmark::testing {

/// A clock whose time moves only when told to.
class ManualClock final : public platform::Clock {
 public:
  double monotonicNow() const override;
  std::chrono::system_clock::time_point wallNow() const override;
  void advance(double seconds);
  void setWallNow(std::chrono::system_clock::time_point now);

 private:
  mutable std::mutex mutex_;
  double monotonic_ = 1000.0;
  std::chrono::system_clock::time_point wall_ =
      std::chrono::system_clock::time_point{std::chrono::seconds{1798761600}};  // 2027-01-01T00:00:00Z
};

/// A main thread on virtual time: nothing runs until the test says so.
///
/// Posted tasks run in posting order; timers run when virtual time reaches them, ordered by due time and
/// then by scheduling order. Posting is safe from any thread (network completions); everything else is
/// called from the test's thread, which is the main thread.
class VirtualMainThread final : public platform::MainThread {
 public:
  explicit VirtualMainThread(std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>());
  ~VirtualMainThread() override;

  void post(std::function<void()> task) override;
  std::unique_ptr<platform::Timer> schedule(double seconds, bool repeats, std::function<void()> fire) override;
  bool isMainThread() const override;

  /// Runs the posted tasks that are ready (including those they post), without moving time.
  /// Returns how many ran.
  int runPending();
  /// Moves virtual time forward by `seconds`, running every timer that falls due on the way at its
  /// due time, and the posted tasks after each firing.
  void advance(double seconds);
  /// Waits in real time for posts from other threads (network completions) and runs them, until `done()`
  /// holds or `timeout` passes. Never sleeps: it blocks on the arrival of a task. Returns `done()`.
  bool runUntil(const std::function<bool()>& done,
                std::chrono::milliseconds timeout = std::chrono::milliseconds{10000});
  /// Number of live timers.
  std::size_t activeTimerCount() const;
  double now() const;

  const std::shared_ptr<ManualClock>& clock() const { return clock_; }

 private:
  struct TimerEntry;
  class VirtualTimer;
  friend class VirtualTimer;

  std::shared_ptr<ManualClock> clock_;
  std::shared_ptr<int> alive_;  // timers that outlive this object check it before touching it
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
  std::multimap<std::pair<double, std::uint64_t>, std::shared_ptr<TimerEntry>> timers_;
  std::uint64_t nextSequence_ = 0;
  std::size_t liveTimers_ = 0;
};

}  // namespace quenmark::testing
