#include <quenmark/stories/story_viewer_view_model.h>

#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/platform/platform.h>
#include <quenmark/sdk/content_link.h>
#include <quenmark/sdk/story_sdk.h>

#include "model/uuid_text.h"
#include "net/story_api.h"
#include "platform/main_thread_check.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quenmark {

namespace {

// Progress is a sum of small steps, which lands a hair off the exact fraction (7 s: 140 steps of 1/140
// give 0.99999..., 5 s: 20 steps of 0.01 give 0.20000000000000004). Comparisons allow this margin, so an
// item plays exactly its duration and one second of five counts as exactly a fifth.
constexpr double kProgressTolerance = 1e-9;
// Items shorter than this play for this long.
constexpr double kMinimumItemDuration = 0.1;
// Progress above this restarts the item on a backward tap instead of going back.
constexpr double kRestartThreshold = 0.2;

std::shared_ptr<platform::MainThread> mainThread() { return platform::currentPlatform()->mainThread; }

// The id under which the item shows the option that a vote response names. The service writes the id as
// it stored it, while content ids that are UUIDs arrive in lower case: a UUID is matched in either case.
// An id that matches no option stays as the response has it.
std::string shownOptionId(const StoryItem& item, const std::string& responseOptionId) {
  const auto& options = item.widgetOptions();
  const auto same = [&](const WidgetOption& option) { return option.id() == responseOptionId; };
  if (std::any_of(options.begin(), options.end(), same)) return responseOptionId;
  const std::optional<std::string> uuid = canonicalUuid(responseOptionId);
  if (!uuid) return responseOptionId;
  for (const auto& option : options) {
    if (canonicalUuid(option.id()) == uuid) return option.id();
  }
  return responseOptionId;
}

}  // namespace

/// Liveness token of one scheduled timer. Its tasks hold it and do nothing once `live` is false, which
/// the model sets when it stops that timer (pause, close, an item change, release).
struct StoryViewerViewModel::TimerTicket {
  explicit TimerTicket(std::weak_ptr<StoryViewerViewModel> owner) : model(std::move(owner)) {}
  std::weak_ptr<StoryViewerViewModel> model;
  bool live = true;  // main thread only
};

/// What a vote's completion needs to know about the vote, captured when it was sent.
struct StoryViewerViewModel::VoteContext {
  std::string itemId;
  std::string optionId;
  WidgetType widgetType;
  std::string groupId;
};

std::shared_ptr<StoryViewerViewModel> StoryViewerViewModel::create(std::vector<StoryGroup> groups,
                                                                   std::ptrdiff_t startIndex,
                                                                   std::string placementKey) {
  return std::make_shared<StoryViewerViewModel>(PrivateTag{}, std::move(groups), startIndex, std::move(placementKey));
}

StoryViewerViewModel::StoryViewerViewModel(PrivateTag, std::vector<StoryGroup> groups, std::ptrdiff_t startIndex,
                                           std::string placementKey)
    : groups_(std::move(groups)), placementKey_(std::move(placementKey)), api_(std::make_shared<StoryAPI>()) {
  if (!groups_.empty()) {
    const auto last = static_cast<std::ptrdiff_t>(groups_.size()) - 1;
    currentGroupIndex_ = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(startIndex, 0, last));
  }
}

StoryViewerViewModel::~StoryViewerViewModel() {
  stopTimer();
  stopItemViewTimer();
}

const StoryGroup* StoryViewerViewModel::currentGroup() const noexcept {
  return currentGroupIndex_ < groups_.size() ? &groups_[currentGroupIndex_] : nullptr;
}

const StoryItem* StoryViewerViewModel::currentItem() const noexcept {
  const StoryGroup* group = currentGroup();
  if (group == nullptr || currentItemIndex_ >= group->items().size()) return nullptr;
  return &group->items()[currentItemIndex_];
}

std::optional<Url> StoryViewerViewModel::nextMediaURL() const {
  const StoryGroup* group = currentGroup();
  if (group == nullptr) return std::nullopt;
  if (currentItemIndex_ + 1 < group->items().size()) return group->items()[currentItemIndex_ + 1].mediaURL();
  if (currentGroupIndex_ + 1 < groups_.size()) {
    const auto& nextItems = groups_[currentGroupIndex_ + 1].items();
    if (!nextItems.empty()) return nextItems.front().mediaURL();
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------------------------------------
// Playback

void StoryViewerViewModel::start() {
  QUENMARK_ASSERT_MAIN_THREAD();
  const auto keepAlive = shared_from_this();  // an observer may release the model while it notifies
  if (groups_.empty()) {
    publish(shouldDismiss_, true, Field::shouldDismiss);
    return;
  }
  // A closed viewer stays still: nothing may play (and report) behind a dismissing view.
  if (hasTrackedClose_) return;
  if (!hasStarted_) {
    hasStarted_ = true;
    prepareCurrentItem(true);
  }
  if (!timer_) scheduleTimer();
}

void StoryViewerViewModel::pause() {
  QUENMARK_ASSERT_MAIN_THREAD();
  stopTimer();
}

void StoryViewerViewModel::resume() {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (!timer_ && hasStarted_ && !hasTrackedClose_) scheduleTimer();
}

void StoryViewerViewModel::scheduleTimer() {
  auto ticket = std::make_shared<TimerTicket>(weak_from_this());
  std::weak_ptr<platform::MainThread> thread = mainThread();
  // The firing only queues a task; the task touches the model, if it is still there and this timer was
  // not stopped in the meantime.
  timer_ = mainThread()->schedule(tickInterval, true, [thread, ticket] {
    auto target = thread.lock();
    if (!target) return;
    target->post([ticket] {
      if (!ticket->live) return;
      if (auto self = ticket->model.lock()) self->tick();
    });
  });
  playbackTicket_ = std::move(ticket);
}

void StoryViewerViewModel::stopTimer() {
  if (playbackTicket_) {
    playbackTicket_->live = false;
    playbackTicket_.reset();
  }
  if (timer_) {
    timer_->invalidate();
    timer_.reset();
  }
}

void StoryViewerViewModel::tick() {
  QUENMARK_ASSERT_MAIN_THREAD();
  const StoryItem* item = currentItem();
  if (item == nullptr) return;  // an empty group never advances by itself
  const auto keepAlive = shared_from_this();
  const double duration = item->duration();
  // Shorter items (and a duration that is not a number) play for the minimum time.
  const double credited = tickInterval / (duration >= kMinimumItemDuration ? duration : kMinimumItemDuration);
  const double advanced = progress_ + credited;
  if (advanced >= 1.0 - kProgressTolerance) {
    publish(progress_, 1.0, Field::progress);
    next();
  } else {
    publish(progress_, advanced, Field::progress);
  }
}

// ---------------------------------------------------------------------------------------------------------
// Navigation

void StoryViewerViewModel::next() {
  QUENMARK_ASSERT_MAIN_THREAD();
  const StoryGroup* group = currentGroup();
  if (group == nullptr || hasTrackedClose_) return;
  const auto keepAlive = shared_from_this();
  stopItemViewTimer();
  if (currentItemIndex_ + 1 < group->items().size()) {
    publish(currentItemIndex_, currentItemIndex_ + 1, Field::currentItemIndex);
    prepareCurrentItem(false);
    return;
  }

  // The group is finished.
  const std::string groupId = group->id();
  if (completedGroupIDs_.insert(groupId).second) {
    StorySDK::shared().report(StorySDKEvent::StoryCompleted{groupId}, placementKey_);
  }
  if (currentGroupIndex_ + 1 < groups_.size()) {
    publish(currentGroupIndex_, currentGroupIndex_ + 1, Field::currentGroupIndex);
    publish(currentItemIndex_, std::size_t{0}, Field::currentItemIndex);
    prepareCurrentItem(true);
  } else {
    close();  // progress keeps its value (1 when the timer got here)
  }
}

void StoryViewerViewModel::previous() {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (hasTrackedClose_) return;
  const auto keepAlive = shared_from_this();
  stopItemViewTimer();
  if (progress_ > kRestartThreshold + kProgressTolerance) {
    // The same item restarts; nothing is reported again and its item-view count stays cancelled.
    publish(progress_, 0.0, Field::progress);
    return;
  }
  // Without a current group (a refresh emptied the list) a backward tap only rewinds.
  if (currentItemIndex_ > 0 && currentGroup() != nullptr) {
    publish(currentItemIndex_, currentItemIndex_ - 1, Field::currentItemIndex);
    prepareCurrentItem(false);
    return;
  }
  if (currentGroupIndex_ > 0 && currentGroupIndex_ - 1 < groups_.size()) {
    const std::size_t previousGroup = currentGroupIndex_ - 1;
    const std::size_t itemCount = groups_[previousGroup].items().size();
    publish(currentGroupIndex_, previousGroup, Field::currentGroupIndex);
    publish(currentItemIndex_, itemCount == 0 ? std::size_t{0} : itemCount - 1, Field::currentItemIndex);
    prepareCurrentItem(true);
    return;
  }
  publish(progress_, 0.0, Field::progress);
}

void StoryViewerViewModel::close() {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (hasTrackedClose_) return;
  const auto keepAlive = shared_from_this();
  hasTrackedClose_ = true;
  stopTimer();
  stopItemViewTimer();
  if (const StoryGroup* group = currentGroup()) {
    StorySDK::shared().report(StorySDKEvent::StoryClose{group->id()}, placementKey_);
  }
  publish(shouldDismiss_, true, Field::shouldDismiss);
}

void StoryViewerViewModel::prepareCurrentItem(bool groupChanged) {
  publish(progress_, 0.0, Field::progress);
  lastSwipeAction_.reset();

  auto& sdk = StorySDK::shared();
  if (groupChanged) {
    if (const StoryGroup* group = currentGroup()) sdk.report(StorySDKEvent::StoryOpen{group->id()}, placementKey_);
  }

  const StoryGroup* group = currentGroup();
  const StoryItem* item = currentItem();
  if (group != nullptr && item != nullptr) {
    // Copies: the reports below run host code.
    const std::string groupId = group->id();
    const std::string itemId = item->id();
    const WidgetType widgetType = item->widgetType();
    std::optional<std::string> rememberedVote;
    if (item->userVote()) rememberedVote = item->userVote()->optionId();

    sdk.report(StorySDKEvent::StoryItemImpression{groupId, itemId}, placementKey_);
    startItemViewTimer(itemId, groupId);

    if (!rememberedVote) rememberedVote = platform::currentPlatform()->store->get(sdk.voteStorageKey(itemId));
    publish(votedOptionId_, std::move(rememberedVote), Field::votedOptionId);
    publish(showResults_, votedOptionId_.has_value(), Field::showResults);
    publish(updatedVoteCounts_, WidgetVoteCounts{}, Field::updatedVoteCounts);

    if (trackedWidgetViews_.insert(itemId).second) {
      if (widgetType == WidgetType::poll) {
        sdk.report(StorySDKEvent::PollViewed{groupId, itemId}, placementKey_);
      } else if (widgetType == WidgetType::quiz) {
        sdk.report(StorySDKEvent::QuizViewed{groupId, itemId}, placementKey_);
      }
    }
  }
  prefetchUpcomingMedia();
}

void StoryViewerViewModel::startItemViewTimer(const std::string& itemId, const std::string& groupId) {
  stopItemViewTimer();
  currentItemViewId_ = itemId;
  auto ticket = std::make_shared<TimerTicket>(weak_from_this());
  std::weak_ptr<platform::MainThread> thread = mainThread();
  itemViewTimer_ = mainThread()->schedule(itemViewDelay, false, [thread, ticket, itemId, groupId] {
    auto target = thread.lock();
    if (!target) return;
    target->post([ticket, itemId, groupId] {
      if (!ticket->live) return;  // the item changed (or the viewer closed) after the timer fired
      auto self = ticket->model.lock();
      if (!self) return;
      const StoryItem* item = self->currentItem();
      if (item == nullptr || item->id() != itemId) return;
      StorySDK::shared().reportStoryItemView(self->placementKey_, groupId, itemId);
    });
  });
  itemViewTicket_ = std::move(ticket);
}

void StoryViewerViewModel::stopItemViewTimer() {
  if (itemViewTicket_) {
    itemViewTicket_->live = false;
    itemViewTicket_.reset();
  }
  if (itemViewTimer_) {
    itemViewTimer_->invalidate();
    itemViewTimer_.reset();
  }
  currentItemViewId_.reset();
}

void StoryViewerViewModel::prefetchUpcomingMedia() {
  const StoryItem* item = currentItem();
  std::vector<std::optional<Url>> urls;
  urls.reserve(2);
  urls.push_back(item != nullptr ? item->mediaURL() : std::nullopt);
  urls.push_back(nextMediaURL());
  // The pipeline takes the list and returns at once; its loads run off the main thread.
  StoryImagePipeline::shared().prefetch(urls);
}

// ---------------------------------------------------------------------------------------------------------
// Swipe-up and call to action

void StoryViewerViewModel::handleSwipeUp() {
  QUENMARK_ASSERT_MAIN_THREAD();
  const StoryGroup* group = currentGroup();
  const StoryItem* item = currentItem();
  if (group == nullptr || item == nullptr || item->widgetType() != WidgetType::swipe || hasTrackedClose_) return;
  const auto keepAlive = shared_from_this();

  const auto now = platform::currentPlatform()->clock->wallNow();
  if (lastSwipeAction_ && lastSwipeAction_->itemId == item->id()) {
    const double elapsed = std::chrono::duration<double>(now - lastSwipeAction_->at).count();
    // A wall clock set back in the meantime does not hold the swipe off until it catches up.
    if (elapsed >= 0.0 && elapsed < swipeDebounceInterval) return;
  }
  lastSwipeAction_ = SwipeAction{item->id(), now};

  const std::string groupId = group->id();
  const std::string itemId = item->id();
  const std::optional<Url> callbackURL = item->swipeCallbackURL();
  StorySDK::shared().report(StorySDKEvent::SwipeUp{groupId, itemId}, placementKey_);
  if (callbackURL) {
    // Without an open-URL action nothing opens; the viewer stays on the item either way.
    if (OpenURLAction action = openURLAction_) openContentLink(*callbackURL, action);
  } else {
    next();
  }
}

void StoryViewerViewModel::trackCTATap() {
  QUENMARK_ASSERT_MAIN_THREAD();
  const StoryGroup* group = currentGroup();
  const StoryItem* item = currentItem();
  if (group == nullptr || item == nullptr || hasTrackedClose_) return;
  StorySDK::shared().reportCtaClick(placementKey_, group->id(), item->id());
}

// ---------------------------------------------------------------------------------------------------------
// Voting

void StoryViewerViewModel::vote(const std::string& optionId) {
  QUENMARK_ASSERT_MAIN_THREAD();
  const StoryGroup* group = currentGroup();
  const StoryItem* item = currentItem();
  if (group == nullptr || item == nullptr || hasTrackedClose_) return;
  if (item->widgetType() != WidgetType::poll && item->widgetType() != WidgetType::quiz) return;
  if (isVotingInProgress_ || votedOptionId_) return;  // one vote per item showing
  const auto keepAlive = shared_from_this();

  VoteContext context{item->id(), optionId, item->widgetType(), group->id()};
  publish(isVotingInProgress_, true, Field::isVotingInProgress);
  publish(votedOptionId_, std::optional<std::string>(optionId), Field::votedOptionId);

  std::weak_ptr<StoryViewerViewModel> weak = weak_from_this();
  // Runs on the main thread; the result is handled in a task of its own.
  StorySDK::shared().storyAPI().submitVote(
      context.itemId, context.optionId, [weak, context](Result<VoteResponse> result) {
        mainThread()->post([weak, context, result = std::move(result)] {
          auto self = weak.lock();
          if (!self) return;
          if (result.ok()) {
            self->handleVoteResult(context, true, result.value().optionId(), result.value().voteCount());
          } else {
            self->handleVoteResult(context, false, std::nullopt, std::nullopt);
          }
        });
      });
}

void StoryViewerViewModel::handleVoteResult(const VoteContext& context, bool succeeded,
                                            std::optional<std::string> responseOptionId,
                                            std::optional<std::int64_t> responseVoteCount) {
  publish(isVotingInProgress_, false, Field::isVotingInProgress);
  const StoryItem* item = currentItem();
  const bool votedItemShown = item != nullptr && item->id() == context.itemId;

  if (!succeeded) {
    // Back to open choices when the voted item is still shown; nothing is stored or reported.
    if (votedItemShown) {
      publish(votedOptionId_, std::optional<std::string>{}, Field::votedOptionId);
      publish(showResults_, false, Field::showResults);
    }
    return;
  }

  auto& sdk = StorySDK::shared();
  platform::currentPlatform()->store->set(sdk.voteStorageKey(context.itemId), context.optionId);
  if (votedItemShown) {
    if (responseOptionId && responseVoteCount) {
      WidgetVoteCounts counts = updatedVoteCounts_;
      counts[shownOptionId(*item, *responseOptionId)] = *responseVoteCount;
      publish(updatedVoteCounts_, std::move(counts), Field::updatedVoteCounts);
    }
    // The user may have left the item and come back while the vote was in flight, which cleared the
    // choice; the confirmed choice is shown with its results.
    if (!votedOptionId_) publish(votedOptionId_, std::optional<std::string>(context.optionId), Field::votedOptionId);
    publish(showResults_, true, Field::showResults);
  }
  if (context.widgetType == WidgetType::poll) {
    sdk.report(StorySDKEvent::PollVoted{context.groupId, context.itemId}, placementKey_);
  } else {
    sdk.report(StorySDKEvent::QuizAnswered{context.groupId, context.itemId}, placementKey_);
  }
  refreshAfterVote(context.itemId, context.optionId);
}

void StoryViewerViewModel::refreshAfterVote(const std::string& itemId, const std::string& optionId) {
  std::weak_ptr<StoryViewerViewModel> weak = weak_from_this();
  // Runs on the main thread.
  api_->fetchStories(placementKey_, [weak, itemId, optionId](Result<std::vector<StoryGroup>> result) {
    auto self = weak.lock();
    if (!self || !result.ok()) return;  // a failed refresh keeps the counts of the vote response
    self->handleRefresh(itemId, optionId, std::move(result).value());
  });
}

void StoryViewerViewModel::handleRefresh(const std::string& itemId, const std::string& optionId,
                                         std::vector<StoryGroup> groups) {
  const auto keepAlive = shared_from_this();
  groups_ = std::move(groups);
  const std::size_t lastGroup = groups_.empty() ? 0 : groups_.size() - 1;
  publish(currentGroupIndex_, std::min(currentGroupIndex_, lastGroup), Field::currentGroupIndex);
  const StoryGroup* group = currentGroup();
  if (group == nullptr) return;
  const std::size_t itemCount = group->items().size();
  publish(currentItemIndex_, std::min(currentItemIndex_, itemCount == 0 ? std::size_t{0} : itemCount - 1),
          Field::currentItemIndex);
  const StoryItem* item = currentItem();
  if (item == nullptr || item->id() != itemId) return;

  WidgetVoteCounts counts;
  for (const auto& option : item->widgetOptions()) {
    counts.emplace(option.id(), option.voteCount());  // a repeated option id keeps its first count
  }
  std::optional<std::string> chosen = item->userVote() ? item->userVote()->optionId() : optionId;
  publish(updatedVoteCounts_, std::move(counts), Field::updatedVoteCounts);
  publish(votedOptionId_, std::move(chosen), Field::votedOptionId);
  publish(showResults_, votedOptionId_.has_value(), Field::showResults);
}

// ---------------------------------------------------------------------------------------------------------
// View logic

std::size_t StoryViewerViewModel::segmentCount() const noexcept {
  const StoryGroup* group = currentGroup();
  return group != nullptr ? group->items().size() : 0;
}

double StoryViewerViewModel::segmentFill(std::size_t index) const noexcept {
  if (index < currentItemIndex_) return 1.0;
  if (index > currentItemIndex_) return 0.0;
  return std::clamp(progress_, 0.0, 1.0);
}

double StoryViewerViewModel::trackFill() const noexcept {
  const std::size_t segments = segmentCount();
  if (segments == 0) return 0.0;
  const double played = static_cast<double>(currentItemIndex_) + std::clamp(progress_, 0.0, 1.0);
  return std::clamp(played / static_cast<double>(segments), 0.0, 1.0);
}

bool StoryViewerViewModel::acceptsVote() const noexcept {
  const StoryItem* item = currentItem();
  if (item == nullptr || (item->widgetType() != WidgetType::poll && item->widgetType() != WidgetType::quiz)) {
    return false;
  }
  return !isVotingInProgress_ && !votedOptionId_ && !showResults_;
}

}  // namespace quenmark
