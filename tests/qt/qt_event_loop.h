#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <functional>

namespace quenmark::qttest {

/// Runs the GUI thread's event loop until `done()` holds or `timeout` passes; returns `done()`. Blocks on
/// the arrival of events (a timer ends the last wait), never sleeps, so `done()` must come true through
/// something the GUI thread handles: a task, a timer, a queued signal.
inline bool runEventsUntil(const std::function<bool()>& done,
                           std::chrono::milliseconds timeout = std::chrono::milliseconds{10000}) {
  QDeadlineTimer deadline(timeout);
  QTimer wake;
  wake.setSingleShot(true);
  wake.start(timeout);
  while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return done();
}

}  // namespace quenmark::qttest
