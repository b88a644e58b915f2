#include "devserver/signal_watcher.h"

#include <pthread.h>

namespace quenmark::devserver {

SignalWatcher::SignalWatcher(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  sigemptyset(&watched_);
  sigaddset(&watched_, SIGINT);
  sigaddset(&watched_, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &watched_, &previous_);
  thread_ = std::thread([this] {
    int signal = 0;
    sigwait(&watched_, &signal);
    if (!closing_) {
      auto callback = onSignal_;
      if (callback) callback();
    }
  });
}

SignalWatcher::~SignalWatcher() {
  closing_ = true;
  // A signal aimed at the watching thread wakes its sigwait; harmless when it has returned already.
  pthread_kill(thread_.native_handle(), SIGTERM);
  thread_.join();
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace quenmark::devserver
