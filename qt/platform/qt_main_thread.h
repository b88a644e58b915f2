#pragma once

#include <quenmark/platform/main_thread.h>

#include <memory>

class QThread;

namespace quenmark::qt {

/// The SDK's main thread on a Qt application: the GUI thread, its event loop and its timers.
///
/// `post` is safe from any thread: tasks wait in a queue of their own and one queued event per batch wakes
/// the GUI thread, which runs the batch in posting order. Timers are Qt timers of a dispatcher object that
/// lives on the GUI thread; create, invalidate and destroy them there. The dispatcher is a child of the
/// application, so tasks and timers stop when the application is destroyed; later posts are dropped.
class QtMainThread final : public platform::MainThread {
 public:
  /// Binds to the application's thread; without an application yet, to the calling thread.
  QtMainThread();
  ~QtMainThread() override;
  QtMainThread(const QtMainThread&) = delete;
  QtMainThread& operator=(const QtMainThread&) = delete;

  void post(std::function<void()> task) override;
  std::unique_ptr<platform::Timer> schedule(double seconds, bool repeats, std::function<void()> fire) override;
  bool isMainThread() const override;

 private:
  class Dispatcher;
  class QtTimer;
  struct Queue;

  QThread* thread_;
  std::shared_ptr<Queue> queue_;
};

}  // namespace quenmark::qt
