#pragma once

#include <quenmark/model/widget_option.h>
#include <quenmark/stories/story_viewer_view_model.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace quenmark {

/// The counts a poll or quiz shows, from its options and the viewer's `updatedVoteCounts()`.
///
/// The fresh counts win where they have an entry for an option; every other option keeps the count the
/// service sent with the content. A negative count from the service counts as 0, and a total too large
/// to hold stops at the largest count, so every share stays between 0 and 1.
struct WidgetVoteTally {
  const std::vector<WidgetOption>& options;
  const WidgetVoteCounts& updatedVoteCounts;

  /// The option's count: the fresh one when there is one, else its own.
  std::int64_t voteCount(const WidgetOption& option) const {
    std::int64_t count = option.voteCount();
    if (!updatedVoteCounts.empty()) {
      if (auto found = updatedVoteCounts.find(option.id()); found != updatedVoteCounts.end()) count = found->second;
    }
    return std::max<std::int64_t>(count, 0);
  }

  /// The sum of every option's count.
  std::int64_t totalVotes() const {
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
    std::int64_t total = 0;
    for (const auto& option : options) {
      const std::int64_t count = voteCount(option);  // never negative
      if (count > kLargest - total) return kLargest;
      total += count;
    }
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
