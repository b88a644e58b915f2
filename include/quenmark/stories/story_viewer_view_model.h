#pragma once

#include <quenmark/export.h>
#include <quenmark/model/story_group.h>
#include <quenmark/platform/main_thread.h>
#include <quenmark/stories/observable.h>
#include <quenmark/url.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace quenmark {

class StoryAPI;

/// The published fields of `StoryViewerViewModel`, named in its change notifications.
enum class StoryViewerViewModelField {
  currentGroupIndex,
  currentItemIndex,
  progress,
  shouldDismiss,
  votedOptionId,
  isVotingInProgress,
  showResults,
  updatedVoteCounts,
};

/// Fresh vote counts per option id, received after voting.
using WidgetVoteCounts = std::map<std::string, std::int64_t>;

/// The playback engine of the full-screen story viewer: plays the items of each group on a 0.05 s timer,
/// moves between items and groups on taps and at the end of each item, reports what the user saw and
/// did, runs the poll and quiz voting cycle and the swipe-up action.
///
/// A shared object: make it with `create`. Everything runs on the main thread (the platform's
/// `mainThread`): the operations, the change notifications, the timers' tasks and the network
/// completions. Timers and completions hold the model weakly and do nothing once it is gone; destroying
/// the model invalidates both of its timers.
///
/// A tick of the playback timer that was already queued when `pause()` or `close()` stopped the timer
/// does nothing: once stopped, the timer moves nothing. After `close()` the model stays where it is:
/// playback, taps, swipes, calls to action and votes neither move, report nor send anything, since the
/// user no longer sees what they would concern.
class QUENMARK_EXPORT StoryViewerViewModel final : public ObservableObject<StoryViewerViewModelField>,
                                                   public std::enable_shared_from_this<StoryViewerViewModel> {
 public:
  using Field = StoryViewerViewModelField;
  /// Opens a URL; set by the view. Called on the main thread, through `openContentLink`, so only with
  /// links that may be opened.
  using OpenURLAction = std::function<void(const Url&)>;

  /// Playback timer period and the time credited per tick, in seconds.
  static constexpr double tickInterval = 0.05;
  /// How long an item must stay current before it counts as viewed, in seconds.
  static constexpr double itemViewDelay = 1.0;
  /// Swipe-ups on the same item closer together than this are ignored, in seconds.
  static constexpr double swipeDebounceInterval = 0.8;

  /// A model that plays `groups` from `startIndex` (clamped to the list; 0 for an empty list), with its
  /// own content client for the refresh after a vote. Starts no timer, reports and fetches nothing.
  static std::shared_ptr<StoryViewerViewModel> create(std::vector<StoryGroup> groups, std::ptrdiff_t startIndex,
                                                      std::string placementKey);
  /// Invalidates the playback and item-view timers.
  ~StoryViewerViewModel();

  // Published fields (each write notifies its observers with the field's name).

  std::size_t currentGroupIndex() const noexcept { return currentGroupIndex_; }
  std::size_t currentItemIndex() const noexcept { return currentItemIndex_; }
  /// Fraction of the current item already played, 0 to 1.
  double progress() const noexcept { return progress_; }
  /// True once the viewer must close; never set back.
  bool shouldDismiss() const noexcept { return shouldDismiss_; }
  /// The option chosen for the current item (remembered, in flight or confirmed).
  const std::optional<std::string>& votedOptionId() const noexcept { return votedOptionId_; }
  /// True while a vote request is outstanding (also after moving to another item).
  bool isVotingInProgress() const noexcept { return isVotingInProgress_; }
  /// True when the poll or quiz shows results instead of choices.
  bool showResults() const noexcept { return showResults_; }
  /// Counts received after voting; an option without an entry keeps its own count.
  const WidgetVoteCounts& updatedVoteCounts() const noexcept { return updatedVoteCounts_; }

  // Other state.

  /// What is played; replaced only by the refresh after a vote. References and pointers into it
  /// (also `currentGroup()` and `currentItem()`) stay valid until that refresh lands, which always comes
  /// with a `currentGroupIndex` notification.
  const std::vector<StoryGroup>& groups() const noexcept { return groups_; }
  const std::string& placementKey() const noexcept { return placementKey_; }
  /// The group shown, or nullptr when the index is out of range (no groups).
  const StoryGroup* currentGroup() const noexcept;
  /// The item shown, or nullptr when there is no current group or it has no item at the index.
  const StoryItem* currentItem() const noexcept;
  /// The media of the item after the current one (possibly the first item of the next group).
  std::optional<Url> nextMediaURL() const;
  /// True while the playback timer runs.
  bool isPlaying() const noexcept { return timer_ != nullptr; }
  bool hasStarted() const noexcept { return hasStarted_; }
  /// True after the first `close()`.
  bool isClosed() const noexcept { return hasTrackedClose_; }

  void setOpenURLAction(OpenURLAction action) { openURLAction_ = std::move(action); }

  // What the view calls (main thread).

  /// The viewer appeared: the first time prepares the start item (open, impression, widget view,
  /// prefetch); every time restarts a missing playback timer. With no groups it only asks to dismiss.
  void start();
  /// Stops the playback timer (the item-view count goes on).
  void pause();
  /// Restarts the playback timer after `pause()`.
  void resume();
  /// The next item; at the end of a group the first item of the next group (reporting the completion
  /// once per group); after the last group, `close()`.
  void next();
  /// Restarts the item when more than 0.2 of it played; otherwise the previous item (possibly the last
  /// item of the previous group).
  void previous();
  /// Stops both timers, reports the close (once) and asks to dismiss.
  void close();
  /// An upward swipe on a swipe-up item: reported unless the same item was swiped less than 0.8 s ago;
  /// opens the item's callback URL through the open-URL action, or moves on when it has none.
  void handleSwipeUp();
  /// The call-to-action was tapped: sends its SDK event (the view opens the URL itself).
  void trackCTATap();
  /// A poll or quiz option was chosen: sends the vote unless one is in flight or the item already has a
  /// vote; on success stores and reports it, shows the results and refreshes the counts.
  void vote(const std::string& optionId);

  /// One playback step, what each firing of the playback timer runs: credits `tickInterval` to the
  /// current item and moves on at its end.
  void tick();

  // View logic.

  /// Number of progress segments: the items of the current group (0 without a group).
  std::size_t segmentCount() const noexcept;
  /// Fill of progress segment `index`, 0 to 1: full before the current item, `progress` for it, empty
  /// after it.
  double segmentFill(std::size_t index) const noexcept;
  /// Fill of the single progress track (drawn instead of segments when a group has fewer than two
  /// items), 0 to 1: (current item + its progress) / segments; 0 without segments.
  double trackFill() const noexcept;
  /// True when the poll or quiz of the current item takes a choice now (no vote in flight, none chosen,
  /// no results shown).
  bool acceptsVote() const noexcept;

 private:
  struct PrivateTag {
    explicit PrivateTag() = default;
  };

 public:
  /// Use `create`.
  StoryViewerViewModel(PrivateTag, std::vector<StoryGroup> groups, std::ptrdiff_t startIndex, std::string placementKey);

 private:
  struct SwipeAction {
    std::string itemId;
    std::chrono::system_clock::time_point at;
  };
  struct VoteContext;
  struct TimerTicket;

  void scheduleTimer();
  void stopTimer();
  void prepareCurrentItem(bool groupChanged);
  void startItemViewTimer(const std::string& itemId, const std::string& groupId);
  void stopItemViewTimer();
  void prefetchUpcomingMedia();
  void handleVoteResult(const VoteContext& context, bool succeeded, std::optional<std::string> responseOptionId,
                        std::optional<std::int64_t> responseVoteCount);
  void refreshAfterVote(const std::string& itemId, const std::string& optionId);
  void handleRefresh(const std::string& itemId, const std::string& optionId, std::vector<StoryGroup> groups);

  std::size_t currentGroupIndex_ = 0;
  std::size_t currentItemIndex_ = 0;
  double progress_ = 0.0;
  bool shouldDismiss_ = false;
  std::optional<std::string> votedOptionId_;
  bool isVotingInProgress_ = false;
  bool showResults_ = false;
  WidgetVoteCounts updatedVoteCounts_;

  std::vector<StoryGroup> groups_;
  const std::string placementKey_;
  std::unique_ptr<platform::Timer> timer_;
  std::shared_ptr<TimerTicket> playbackTicket_;  // lets queued ticks of a stopped timer do nothing
  std::shared_ptr<StoryAPI> api_;
  bool hasStarted_ = false;
  bool hasTrackedClose_ = false;
  std::unordered_set<std::string> completedGroupIDs_;
  std::unordered_set<std::string> trackedWidgetViews_;
  std::optional<SwipeAction> lastSwipeAction_;
  OpenURLAction openURLAction_;
  std::unique_ptr<platform::Timer> itemViewTimer_;
  std::shared_ptr<TimerTicket> itemViewTicket_;  // lets a queued report of a stopped timer do nothing
  std::optional<std::string> currentItemViewId_;
};

}  // namespace quenmark
