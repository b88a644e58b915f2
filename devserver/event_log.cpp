#include "devserver/event_log.h"

#include <nlohmann/json.hpp>

#include "devserver/record_check.h"

namespace quenmark::devserver {

std::string eventJsonLine(const StoredEvent& event) {
  nlohmann::json line = {
      {"id", event.id}, {"kind", event.kind}, {"appKey", event.appKey}, {"receivedAt", event.receivedAt}};
  try {
    line["body"] = nlohmann::json::parse(event.body);
  } catch (const std::exception&) {
    line["rawBody"] = event.body;
  }
  return dumpJson(line);
}

Outcome<std::int64_t> printEventsAfter(DevStore& store, std::int64_t afterId, std::ostream& out) {
  std::int64_t last = afterId;
  for (;;) {
    auto page = store.eventsAfter(last);
    if (!page) return Outcome<std::int64_t>::failure(page.error());
    if (page.value().empty()) break;
    for (const auto& event : page.value()) {
      out << eventJsonLine(event) << '\n';
      last = event.id;
    }
  }
  out.flush();
  return last;
}

void StopSignal::raise() {
  std::lock_guard lock(mutex_);
  raised_ = true;
  changed_.notify_all();
}

bool StopSignal::raised() {
  std::lock_guard lock(mutex_);
  return raised_;
}

bool StopSignal::waitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return raised_; });
}

Outcome<std::int64_t> followEvents(DevStore& store, std::int64_t afterId, std::ostream& out, StopSignal& stop,
                                   std::chrono::milliseconds interval) {
  std::int64_t last = afterId;
  do {
    auto printed = printEventsAfter(store, last, out);
    if (!printed) return printed;
    last = printed.value();
  } while (!stop.waitFor(interval));
  return last;
}

}  // namespace quenmark::devserver
