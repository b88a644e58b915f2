#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>

#include "devserver/dev_store.h"
#include "devserver/outcome.h"

namespace quenmark::devserver {

/// One stored event as a JSON line (without the newline):
/// {"id":1,"kind":"sdk_event","appKey":"demo","receivedAt":"...","body":{...}}.
/// A body that is not JSON (it cannot be, the service checks it, but the file may be edited) is printed as
/// a string under "rawBody".
std::string eventJsonLine(const StoredEvent& event);

/// Prints every event with an id above `afterId`, one JSON line each, and returns the last id printed
/// (`afterId` when there was none).
Outcome<std::int64_t> printEventsAfter(DevStore& store, std::int64_t afterId, std::ostream& out);

/// A flag that one thread raises and another waits on with a timeout.
class StopSignal {
 public:
  void raise();
  bool raised();
  /// Waits up to `timeout`; true once the signal has been raised.
  bool waitFor(std::chrono::milliseconds timeout);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool raised_ = false;
};

/// Prints the events after `afterId`, then keeps polling the store every `interval` for new ones until
/// `stop` is raised. Returns the last id printed, or the store's failure.
Outcome<std::int64_t> followEvents(DevStore& store, std::int64_t afterId, std::ostream& out, StopSignal& stop,
                                   std::chrono::milliseconds interval);

}  // namespace quenmark::devserver
