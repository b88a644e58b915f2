#include <quenmark/platform/run_loop.h>

#include <asio/executor_work_guard.hpp>
#include <asio/io_context.hpp>
#include <asio/post.hpp>
#include <asio/steady_timer.hpp>

#include <algorithm>
#include <atomic>
#include <thread>

namespace quenmark::platform {

struct RunLoop::State {
  asio::io_context context;
  asio::executor_work_guard<asio::io_context::executor_type> work{context.get_executor()};
  std::atomic<std::thread::id> owner{std::this_thread::get_id()};
};

namespace {

// A timer lives in a shared record so that a firing already queued in asio sees the cancellation.
class AsioTimer final : public Timer {
 public:
  struct Record {
    asio::steady_timer timer;
    std::chrono::nanoseconds interval;
    bool repeats;
    bool valid = true;
    std::function<void()> fire;
    Record(asio::io_context& context, std::chrono::nanoseconds every, bool repeat, std::function<void()> callback)
        : timer(context), interval(every), repeats(repeat), fire(std::move(callback)) {}
  };

  explicit AsioTimer(std::shared_ptr<Record> record) : record_(std::move(record)) {}
  ~AsioTimer() override { invalidate(); }

  void invalidate() override {
    if (!record_->valid) return;
    record_->valid = false;
    record_->timer.cancel();
    record_->fire = nullptr;
  }
  bool isValid() const override { return record_->valid; }

  static void arm(const std::shared_ptr<Record>& record, std::chrono::steady_clock::time_point due) {
    record->timer.expires_at(due);
    record->timer.async_wait([record, due](const std::error_code& error) {
      if (error || !record->valid) return;
      // Re-arm first: the callback may invalidate the timer or destroy its handle.
      if (record->repeats)
        arm(record, due + record->interval);
      else
        record->valid = false;
      auto fire = record->fire;  // the callee may destroy the handle and with it the stored callback
      if (!record->repeats) record->fire = nullptr;
      if (fire) fire();
    });
  }

 private:
  std::shared_ptr<Record> record_;
};

}  // namespace

RunLoop::RunLoop() : state_(std::make_shared<State>()) {}

RunLoop::~RunLoop() { state_->context.stop(); }

void RunLoop::post(std::function<void()> task) {
  asio::post(state_->context, [task = std::move(task)] {
    if (task) task();
  });
}

std::unique_ptr<Timer> RunLoop::schedule(double seconds, bool repeats, std::function<void()> fire) {
  // Clamp before converting: NaN, negative and absurdly long intervals would otherwise overflow the
  // nanosecond count and fire at once. A century is "never" for a run loop.
  constexpr double kLongestInterval = 100.0 * 365 * 24 * 3600;
  const double clamped = seconds > 0 ? std::min(seconds, kLongestInterval) : 0.0;
  auto interval = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::duration<double>(clamped));
  if (repeats && interval.count() == 0) interval = std::chrono::milliseconds{1};
  auto record = std::make_shared<AsioTimer::Record>(state_->context, interval, repeats, std::move(fire));
  AsioTimer::arm(record, std::chrono::steady_clock::now() + interval);
  return std::make_unique<AsioTimer>(record);
}

bool RunLoop::isMainThread() const { return state_->owner.load() == std::this_thread::get_id(); }

void RunLoop::run() {
  state_->owner = std::this_thread::get_id();
  state_->context.restart();
  state_->context.run();
}

bool RunLoop::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  state_->owner = std::this_thread::get_id();
  auto deadline = std::chrono::steady_clock::now() + timeout;
  state_->context.restart();
  while (!done()) {
    auto now = std::chrono::steady_clock::now();
    if (now >= deadline) break;
    state_->context.run_one_for(deadline - now);
    if (state_->context.stopped()) state_->context.restart();
  }
  return done();
}

void RunLoop::stop() { state_->context.stop(); }

}  // namespace quenmark::platform
