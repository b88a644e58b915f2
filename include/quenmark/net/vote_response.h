#pragma once

#include <quenmark/export.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace quenmark {

/// The outcome of a vote on a poll or quiz option, as the service reports it.
class QUENMARK_EXPORT VoteResponse {
 public:
  VoteResponse(bool voted, std::optional<std::string> optionId, std::optional<std::int64_t> voteCount)
      : voted_(voted), optionId_(std::move(optionId)), voteCount_(voteCount) {}

  /// Whether the vote was counted.
  bool voted() const noexcept { return voted_; }
  /// The option as the service recorded it.
  const std::optional<std::string>& optionId() const noexcept { return optionId_; }
  /// The option's vote count after the vote.
  std::optional<std::int64_t> voteCount() const noexcept { return voteCount_; }

  friend bool operator==(const VoteResponse&, const VoteResponse&) = default;

 private:
  bool voted_;
  std::optional<std::string> optionId_;
  std::optional<std::int64_t> voteCount_;
};

}  // namespace quenmark
