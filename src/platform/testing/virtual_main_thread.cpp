#include <quenmark/testing/virtual_main_thread.h>

#include <algorithm>

namespace quenmark::testing {

double ManualClock::monotonicNow() const {
  std::lock_guard lock(mutex_);
  return monotonic_;
}

std::chrono::system_clock::time_point ManualClock::wallNow() const {
  std::lock_guard lock(mutex_);
  return wall_;
}

void ManualClock::advance(double seconds) {
  std::lock_guard lock(mutex_);
  monotonic_ += seconds;
  wall_ += std::chrono::duration_cast<std::chrono::system_clock::duration>(std::chrono::duration<double>(seconds));
}

void ManualClock::setWallNow(std::chrono::system_clock::time_point now) {
  std::lock_guard lock(mutex_);
  wall_ = now;
}

struct VirtualMainThread::TimerEntry {
  double interval = 0;
  bool repeats = false;
  bool valid = true;
  std::function<void()> fire;
};

class VirtualMainThread::VirtualTimer final : public platform::Timer {
 public:
  VirtualTimer(VirtualMainThread* owner, std::shared_ptr<TimerEntry> entry, std::weak_ptr<int> alive)
      : owner_(owner), entry_(std::move(entry)), alive_(std::move(alive)) {}
  ~VirtualTimer() override { invalidate(); }

  void invalidate() override {
    if (!entry_->valid) return;
    entry_->valid = false;
    entry_->fire = nullptr;
    if (alive_.lock()) {
      std::lock_guard lock(owner_->mutex_);
      --owner_->liveTimers_;
    }
  }
  bool isValid() const override { return entry_->valid; }

 private:
  VirtualMainThread* owner_;
  std::shared_ptr<TimerEntry> entry_;
  std::weak_ptr<int> alive_;
};

VirtualMainThread::VirtualMainThread(std::shared_ptr<ManualClock> clock)
    : clock_(std::move(clock)), alive_(std::make_shared<int>(0)) {}

VirtualMainThread::~VirtualMainThread() = default;

void VirtualMainThread::post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  posted_.notify_all();
}

std::unique_ptr<platform::Timer> VirtualMainThread::schedule(double seconds, bool repeats, std::function<void()> fire) {
  auto entry = std::make_shared<TimerEntry>();
  entry->interval = std::max(0.0, seconds);
  entry->repeats = repeats;
  entry->fire = std::move(fire);
  {
    std::lock_guard lock(mutex_);
    timers_.emplace(std::make_pair(clock_->monotonicNow() + entry->interval, nextSequence_++), entry);
    ++liveTimers_;
  }
  return std::make_unique<VirtualTimer>(this, entry, alive_);
}

bool VirtualMainThread::isMainThread() const { return true; }

int VirtualMainThread::runPending() {
  int ran = 0;
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard lock(mutex_);
      if (tasks_.empty()) return ran;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    if (task) task();
    ++ran;
  }
}

void VirtualMainThread::advance(double seconds) {
  runPending();
  const double target = clock_->monotonicNow() + std::max(0.0, seconds);
  for (;;) {
    std::shared_ptr<TimerEntry> entry;
    double due = 0;
    {
      std::lock_guard lock(mutex_);
      // Drop invalidated timers at the front.
      while (!timers_.empty() && !timers_.begin()->second->valid) timers_.erase(timers_.begin());
      // Compare with a small tolerance so that 20 steps of 0.05 reach a timer due at 1.0.
      if (timers_.empty() || timers_.begin()->first.first > target + 1e-9) break;
      due = timers_.begin()->first.first;
      entry = timers_.begin()->second;
      timers_.erase(timers_.begin());
      if (entry->repeats) {
        double interval = entry->interval > 0 ? entry->interval : 1e-3;
        timers_.emplace(std::make_pair(due + interval, nextSequence_++), entry);
      }
    }
    double now = clock_->monotonicNow();
    if (due > now) clock_->advance(due - now);
    if (!entry->repeats && entry->valid) {
      entry->valid = false;
      std::lock_guard lock(mutex_);
      --liveTimers_;
    }
    auto fire = entry->fire;  // the callback may invalidate its own timer
    if (!entry->repeats) entry->fire = nullptr;
    if (fire) fire();
    runPending();
  }
  double now = clock_->monotonicNow();
  if (target > now) clock_->advance(target - now);
  runPending();
}

bool VirtualMainThread::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    runPending();
    if (done()) return true;
    std::unique_lock lock(mutex_);
    if (!posted_.wait_until(lock, deadline, [&] { return !tasks_.empty(); })) {
      lock.unlock();
      runPending();
      return done();
    }
  }
}

std::size_t VirtualMainThread::activeTimerCount() const {
  std::lock_guard lock(mutex_);
  return liveTimers_;
}

double VirtualMainThread::now() const { return clock_->monotonicNow(); }

}  // namespace quenmark::testing
