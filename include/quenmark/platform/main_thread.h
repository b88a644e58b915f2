#pragma once

#include <quenmark/export.h>

#include <functional>
#include <memory>

namespace quenmark::platform {

/// A scheduled timer. Destroying the handle invalidates the timer.
///
/// Create, invalidate and destroy timers on the main thread only.
class QUENMARK_EXPORT Timer {
 public:
  virtual ~Timer();
  /// Stops the timer: its callback will not run again, even if a firing was already due.
  virtual void invalidate() = 0;
  virtual bool isValid() const = 0;
};

/// The thread that owns all SDK state (the host's user-interface thread), its task queue and its timers.
///
/// Tasks and timer callbacks run on the main thread, one at a time, in the order they became due;
/// tasks posted from one thread run in the order they were posted.
class QUENMARK_EXPORT MainThread {
 public:
  virtual ~MainThread();

  /// Queues `task` to run on the main thread. Safe to call from any thread; never runs `task` inline.
  virtual void post(std::function<void()> task) = 0;

  /// Schedules `fire` on the main thread after `seconds` (clamped to 0), and then every `seconds` when
  /// `repeats`. Call on the main thread. The callback runs on the main thread and may invalidate or
  /// destroy its own timer.
  virtual std::unique_ptr<Timer> schedule(double seconds, bool repeats, std::function<void()> fire) = 0;

  /// True when called on the main thread.
  virtual bool isMainThread() const = 0;
};

}  // namespace quenmark::platform
