#pragma once

#include <quenmark/export.h>

#include <chrono>
#include <string>
#include <utility>

namespace quenmark {

/// The option that the current user already chose in a poll or quiz. An immutable value.
class QUENMARK_EXPORT WidgetUserVote {
 public:
  /// Stores every field unchanged.
  WidgetUserVote(std::string optionId, std::chrono::system_clock::time_point votedAt)
      : optionId_(std::move(optionId)), votedAt_(votedAt) {}

  /// Id of the chosen option.
  const std::string& optionId() const noexcept { return optionId_; }
  /// When the vote was cast.
  std::chrono::system_clock::time_point votedAt() const noexcept { return votedAt_; }

  friend bool operator==(const WidgetUserVote&, const WidgetUserVote&) = default;

 private:
  std::string optionId_;
  std::chrono::system_clock::time_point votedAt_;
};

}  // namespace quenmark
