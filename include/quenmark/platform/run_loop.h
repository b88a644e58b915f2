#pragma once

#include <quenmark/export.h>
#include <quenmark/platform/main_thread.h>

#include <chrono>
#include <functional>
#include <memory>

namespace quenmark::platform {

/// The default main thread: a run loop for console hosts and tests.
///
/// The thread that calls `run` (or, before that, the thread that made the loop) is the main thread.
class QUENMARK_EXPORT RunLoop final : public MainThread {
 public:
  RunLoop();
  ~RunLoop() override;
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  void post(std::function<void()> task) override;
  std::unique_ptr<Timer> schedule(double seconds, bool repeats, std::function<void()> fire) override;
  bool isMainThread() const override;

  /// Runs tasks and timers until `stop` is called.
  void run();
  /// Runs until `done()` holds (checked after each task or timer) or `timeout` passes; returns `done()`.
  bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  /// Makes `run` return. Safe to call from any thread.
  void stop();

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace quenmark::platform
