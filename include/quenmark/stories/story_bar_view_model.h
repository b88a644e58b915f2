#pragma once

#include <quenmark/error.h>
#include <quenmark/export.h>
#include <quenmark/model/story_group.h>
#include <quenmark/stories/observable.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace quenmark {

class StoryAPI;

/// The published fields of `StoryBarViewModel`, named in its change notifications.
enum class StoryBarViewModelField {
  groups,
  errorMessage,
  isLoading,
  hasLoaded,
  selectedGroupIndex,
  isViewerPresented,
};

/// The state behind a story bar: the groups of one placement, loaded from the content service, the
/// once-per-model impressions and image prefetches of the groups shown, and the group the user tapped.
///
/// A shared object: make it with `create`. Everything runs on the main thread (the platform's
/// `mainThread`): the operations, the change notifications and the load completion. The load completion
/// holds the model weakly; a model released while its load is outstanding drops the result.
class QUENMARK_EXPORT StoryBarViewModel final : public ObservableObject<StoryBarViewModelField>,
                                                public std::enable_shared_from_this<StoryBarViewModel> {
 public:
  using Field = StoryBarViewModelField;

  /// How many distinct groups one model prefetches images for, at most, in its lifetime.
  static constexpr std::size_t maxPrefetchedGroups = 3;

  /// A model for `placementKey` with its own content client on the platform's shared HTTP session.
  /// Starts no request.
  static std::shared_ptr<StoryBarViewModel> create(std::string placementKey);
  ~StoryBarViewModel();

  // Published fields (each write notifies its observers with the field's name).

  /// The groups in the order the service returned them; empty before the first answer and after a
  /// failed load. References into it stay valid until the next `groups` notification.
  const std::vector<StoryGroup>& groups() const noexcept { return groups_; }
  /// Reset to absent when a load starts and after every outcome; no operation stores a message.
  const std::optional<std::string>& errorMessage() const noexcept { return errorMessage_; }
  /// True from `load()` until the first of its answers arrives.
  bool isLoading() const noexcept { return isLoading_; }
  /// Written by the bar view right before its first `load()`; the model never reads it.
  bool hasLoaded() const noexcept { return hasLoaded_; }
  void setHasLoaded(bool value);
  /// Index into `groups()` of the group the user last tapped; never cleared by the model.
  std::optional<std::size_t> selectedGroupIndex() const noexcept { return selectedGroupIndex_; }
  /// True asks the bar view to present the viewer. The model only sets it to true; the view writes false
  /// when the viewer is dismissed.
  bool isViewerPresented() const noexcept { return isViewerPresented_; }
  void setViewerPresented(bool value);

  /// The placement this row shows.
  const std::string& placementKey() const noexcept { return placementKey_; }

  /// Fetches the placement's groups. Every call starts a request, also while one is outstanding; the last
  /// answer to arrive decides `groups()`. A failure empties the row and writes one line on the platform
  /// console: "[Quenmark] Failed to load stories for placement '<key>': <description>".
  void load();

  /// Called on the main thread after a failed load has emptied the row and written its console line,
  /// with the load's error. The handler may release the model.
  using LoadFailureHandler = std::function<void(const Error&)>;
  void setLoadFailureHandler(LoadFailureHandler handler) { loadFailureHandler_ = std::move(handler); }

  /// Called each time a group's bubble appears. The first time per group and model: reports the group's
  /// impression (host handler, analytics, SDK event) and, for the first three groups ever reported,
  /// prefetches the cover image and the first item's media.
  void trackImpression(const StoryGroup& group);

  /// A tap on the bubble at `index`: selects it and asks for the viewer. Out-of-range indices (negative,
  /// or not less than the number of groups) change nothing.
  void selectGroup(std::ptrdiff_t index);

  /// Ids of the groups whose images this model asked to prefetch (at most `maxPrefetchedGroups`).
  const std::unordered_set<std::string>& prefetchedGroupIDs() const noexcept { return prefetchedGroupIDs_; }

 private:
  struct PrivateTag {
    explicit PrivateTag() = default;
  };

 public:
  /// Use `create`.
  StoryBarViewModel(PrivateTag, std::string placementKey);

 private:
  void prefetch(const StoryGroup& group);

  std::vector<StoryGroup> groups_;
  std::optional<std::string> errorMessage_;
  bool isLoading_ = false;
  bool hasLoaded_ = false;
  std::optional<std::size_t> selectedGroupIndex_;
  bool isViewerPresented_ = false;

  const std::string placementKey_;
  std::shared_ptr<StoryAPI> api_;
  std::unordered_set<std::string> impressedGroupIDs_;
  std::unordered_set<std::string> prefetchedGroupIDs_;
  LoadFailureHandler loadFailureHandler_;
};

}  // namespace quenmark
