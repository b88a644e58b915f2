#pragma once

#include <quenmark/platform/http_session.h>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace quenmark::testsupport {

/// An HTTP session that notes every request handed to it (at the moment it is handed over, in order)
/// and passes it on to a real session. Lets a test see what was sent, and in which order, without
/// depending on the order in which transfers reach a server.
class RecordingHttpSession final : public platform::HttpSession {
 public:
  explicit RecordingHttpSession(std::shared_ptr<platform::HttpSession> inner) : inner_(std::move(inner)) {}

  void send(platform::HttpRequest request, platform::HttpCompletion completion) override {
    std::function<void(const platform::HttpRequest&)> observer;
    {
      std::lock_guard lock(mutex_);
      sent_.push_back(request);
      observer = observer_;
    }
    if (observer) observer(request);
    inner_->send(std::move(request), std::move(completion));
  }

  bool waitUntilIdle(std::chrono::milliseconds timeout) override { return inner_->waitUntilIdle(timeout); }

  std::vector<platform::HttpRequest> sent() const {
    std::lock_guard lock(mutex_);
    return sent_;
  }

  /// Called on the sending thread for each request, before it is passed on.
  void setObserver(std::function<void(const platform::HttpRequest&)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
  }

 private:
  std::shared_ptr<platform::HttpSession> inner_;
  mutable std::mutex mutex_;
  std::vector<platform::HttpRequest> sent_;
  std::function<void(const platform::HttpRequest&)> observer_;
};

}  // namespace quenmark::testsupport
