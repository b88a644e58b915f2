#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include <signal.h>

namespace quenmark::devserver {

/// Turns SIGINT and SIGTERM into a call on a thread of its own, so that shutdown code may lock and wait.
/// Construct it before any other thread starts: it blocks the two signals in the constructing thread, and
/// threads started later inherit the mask. The destructor ends the watching thread and restores the mask.
class SignalWatcher {
 public:
  /// `onSignal` runs once, on the watcher's thread, when the first of the two signals arrives.
  explicit SignalWatcher(std::function<void()> onSignal);
  ~SignalWatcher();
  SignalWatcher(const SignalWatcher&) = delete;
  SignalWatcher& operator=(const SignalWatcher&) = delete;

 private:
  sigset_t watched_{};
  sigset_t previous_{};
  std::function<void()> onSignal_;
  std::atomic<bool> closing_{false};
  std::thread thread_;
};

}  // namespace quenmark::devserver
