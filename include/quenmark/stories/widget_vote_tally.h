#pragma once

#include <quenmark/model/widget_option.h>
#include <quenmark/stories/story_viewer_view_model.h>

#include <cstdint>
#include <vector>

namespace quenmark {

/// The counts a poll or quiz shows, from its options and the viewer's `updatedVoteCounts()`.
///
/// The fresh counts win where they have an entry for an option; every other option keeps the count the
/// service sent with the content.
struct WidgetVoteTally {
  const std::vector<WidgetOption>& options;
  const WidgetVoteCounts& updatedVoteCounts;

  /// The option's count: the fresh one when there is one, else its own.
  std::int64_t voteCount(const WidgetOption& option) const {
    if (!updatedVoteCounts.empty()) {
      if (auto found = updatedVoteCounts.find(option.id()); found != updatedVoteCounts.end()) return found->second;
    }
    return option.voteCount();
  }

  /// The sum of every option's count.
  std::int64_t totalVotes() const {
    std::int64_t total = 0;
    for (const auto& option : options) total += voteCount(option);
    return total;
  }

  /// The option's share of the total, 0 to 1; 0 when nobody voted.
  double voteFraction(const WidgetOption& option) const {
    const std::int64_t total = totalVotes();
    return total > 0 ? static_cast<double>(voteCount(option)) / static_cast<double>(total) : 0.0;
  }

  /// The share in whole percent, truncated toward zero (1 of 3 shows 33, 29 of 100 shows 28: the product
  /// is taken in double precision).
  int votePercent(const WidgetOption& option) const { return static_cast<int>(voteFraction(option) * 100.0); }
};

}  // namespace quenmark
