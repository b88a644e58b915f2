#include <quenmark/stories/story_bar_view_model.h>

#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/platform/platform.h>
#include <quenmark/sdk/story_sdk.h>

#include "net/story_api.h"
#include "platform/main_thread_check.h"

#include <utility>

namespace quenmark {

std::shared_ptr<StoryBarViewModel> StoryBarViewModel::create(std::string placementKey) {
  return std::make_shared<StoryBarViewModel>(PrivateTag{}, std::move(placementKey));
}

StoryBarViewModel::StoryBarViewModel(PrivateTag, std::string placementKey)
    : placementKey_(std::move(placementKey)), api_(std::make_shared<StoryAPI>()) {}

StoryBarViewModel::~StoryBarViewModel() = default;

void StoryBarViewModel::setHasLoaded(bool value) {
  QUENMARK_ASSERT_MAIN_THREAD();
  publish(hasLoaded_, value, Field::hasLoaded);
}

void StoryBarViewModel::setViewerPresented(bool value) {
  QUENMARK_ASSERT_MAIN_THREAD();
  publish(isViewerPresented_, value, Field::isViewerPresented);
}

void StoryBarViewModel::load() {
  QUENMARK_ASSERT_MAIN_THREAD();
  const auto keepAlive = shared_from_this();  // an observer may release the model while it notifies
  publish(isLoading_, true, Field::isLoading);
  publish(errorMessage_, std::optional<std::string>{}, Field::errorMessage);

  std::weak_ptr<StoryBarViewModel> weak = weak_from_this();
  // Runs on the main thread; a released model drops the result.
  api_->fetchStories(placementKey_, [weak](Result<std::vector<StoryGroup>> result) {
    auto self = weak.lock();
    if (!self) return;
    self->publish(self->isLoading_, false, Field::isLoading);
    if (result.ok()) {
      self->publish(self->groups_, std::move(result).value(), Field::groups);
    } else {
      // Any failure empties the row; the host only sees one console line.
      self->publish(self->groups_, std::vector<StoryGroup>{}, Field::groups);
    }
    self->publish(self->errorMessage_, std::optional<std::string>{}, Field::errorMessage);
    if (!result.ok()) {
      std::string line = "[Quenmark] Failed to load stories for placement '";
      line += self->placementKey_;
      line += "':";
      line += ' ';
      line += result.error().description;
      platform::currentPlatform()->console->writeLine(line);
      // A copy: the handler may replace itself or release the model.
      if (auto handler = self->loadFailureHandler_) handler(result.error());
    }
  });
}

void StoryBarViewModel::trackImpression(const StoryGroup& group) {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (!impressedGroupIDs_.insert(group.id()).second) return;
  const auto keepAlive = shared_from_this();
  // A copy: the report runs host code, and `group` may be an element of `groups()`.
  const StoryGroup shown = group;
  StorySDK::shared().report(StorySDKEvent::StoryGroupImpression{shown.id()}, placementKey_);
  prefetch(shown);
}

void StoryBarViewModel::prefetch(const StoryGroup& group) {
  if (prefetchedGroupIDs_.size() >= maxPrefetchedGroups) return;
  if (!prefetchedGroupIDs_.insert(group.id()).second) return;
  std::vector<std::optional<Url>> urls;
  urls.reserve(2);
  urls.push_back(group.coverImageURL());
  urls.push_back(group.items().empty() ? std::nullopt : group.items().front().mediaURL());
  // The pipeline takes the list and returns at once; the outcome does not concern the bar.
  StoryImagePipeline::shared().prefetch(urls);
}

void StoryBarViewModel::selectGroup(std::ptrdiff_t index) {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (index < 0 || static_cast<std::size_t>(index) >= groups_.size()) return;
  const auto keepAlive = shared_from_this();
  publish(selectedGroupIndex_, std::optional<std::size_t>(static_cast<std::size_t>(index)), Field::selectedGroupIndex);
  publish(isViewerPresented_, true, Field::isViewerPresented);
}

}  // namespace quenmark
