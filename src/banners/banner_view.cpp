#include <quenmark/banners/application_activity.h>
#include <quenmark/banners/banner_call_to_action.h>
#include <quenmark/banners/banner_view.h>
#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/platform/platform.h>
#include <quenmark/sdk/content_link.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/stories/remote_image_loader.h>

#include "net/story_api.h"
#include "platform/main_thread_check.h"

#include <algorithm>
#include <utility>

namespace quenmark {
namespace {

// Items a banner contributes at most.
constexpr std::size_t kMaxPlayableItems = 10;
// Elapsed time is a count of ticks; this absorbs the rounding of ticks * interval against whole seconds.
constexpr double kElapsedTolerance = 1e-9;
// Longest time an item stays (about 31 years). The service's value is capped here so that converting the
// sleep to a platform timer's nanoseconds can never overflow into an immediate, endless advance.
constexpr std::int64_t kLongestAutoplaySeconds = 1'000'000'000;

}  // namespace

// The running autoplay task of the shown content. It keeps the render state it was started with; the
// generation ties its timers to it, so a wake-up of a cancelled task is recognised and ignored.
struct BannerView::Autoplay {
  std::uint64_t generation = 0;
  BannerRenderState state;
  double duration = 1;
  std::int64_t ticks = 0;
  std::unique_ptr<platform::Timer> sleep;
};

std::shared_ptr<BannerView> BannerView::create(std::string placementKey) {
  std::shared_ptr<BannerView> view(new BannerView(std::move(placementKey)));
  std::weak_ptr<BannerView> weakView = view;
  // The picture callbacks run on the main thread, for the URL the card still shows.
  view->cardImage_ = RemoteImageLoader::create(
      std::nullopt,
      [weakView](const std::shared_ptr<const Image>&) {
        if (auto self = weakView.lock()) self->cardImageLoaded();
      },
      [weakView] {
        if (auto self = weakView.lock()) self->cardImageFailed();
      });
  view->cardImage_->setOnChange([weakView] {
    if (auto self = weakView.lock()) self->notifyChanged(BannerViewField::cardImage);
  });
  return view;
}

BannerView::BannerView(std::string placementKey)
    : placementKey_(std::move(placementKey)), api_(std::make_unique<StoryAPI>()) {}

BannerView::~BannerView() = default;

// ---- Host and renderer entry points ----------------------------------------------------------------

void BannerView::appear() {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (onScreen_) return;
  onScreen_ = true;
  std::weak_ptr<BannerView> weakSelf = weak_from_this();
  becameActive_ = ApplicationActivity::shared().subscribe([weakSelf](ApplicationEvent event) {
    auto self = weakSelf.lock();
    if (self && event == ApplicationEvent::didBecomeActive) self->applicationDidBecomeActive();
  });
  contentDidChange();
  loadBanners();
}

void BannerView::disappear() {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (!onScreen_) return;
  onScreen_ = false;
  becameActive_.cancel();
  contentDidChange();
}

void BannerView::applicationDidBecomeActive() {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (onScreen_) loadBanners();
}

void BannerView::handleTap() {
  QUENMARK_ASSERT_MAIN_THREAD();
  auto state = currentRenderState();
  if (!state) return;
  trackBannerClick(state->banner, state->item);
  openCallToAction(state->item);
}

void BannerView::handleDragEnded(double dx, double dy) {
  QUENMARK_ASSERT_MAIN_THREAD();
  const BannerSwipe swipe = bannerSwipe(dx, dy);
  if (swipe == BannerSwipe::none) return;
  auto state = currentRenderState();
  if (!state) return;
  if (swipe == BannerSwipe::next) {
    showNextItem(*state);
  } else {
    showPreviousItem(*state);
  }
}

std::shared_ptr<const Image> BannerView::cardImage() const { return cardShown_ ? cardImage_->image() : nullptr; }

// ---- Loading ---------------------------------------------------------------------------------------

void BannerView::loadBanners() {
  QUENMARK_ASSERT_MAIN_THREAD();
  std::weak_ptr<BannerView> weakSelf = weak_from_this();
  // The content client completes on the main thread. A failure shows nothing; it is not logged.
  api_->fetchBanners(placementKey_, [weakSelf](Result<std::vector<Banner>> result) {
    auto self = weakSelf.lock();
    if (!self) return;
    self->applyLoadedBanners(std::move(result));
  });
}

void BannerView::applyLoadedBanners(Result<std::vector<Banner>> result) {
  std::optional<std::string> error;
  if (!result.ok()) error = result.error().description;
  publish(banners_, result.ok() ? std::move(result).value() : std::vector<Banner>{}, BannerViewField::banners);
  publish(activeBannerIndex_, 0, BannerViewField::activeBannerIndex);
  publish(activeItemIndex_, 0, BannerViewField::activeItemIndex);
  invalidItemKeys_.clear();
  notifyChanged(BannerViewField::invalidItemKeys);
  contentDidChange();
  publish(loadErrorMessage_, std::move(error), BannerViewField::loadErrorMessage);
}

// ---- Derived state ---------------------------------------------------------------------------------

std::vector<BannerItem> BannerView::playableItems(const Banner& banner) const {
  std::vector<BannerItem> items = banner.items();
  std::stable_sort(items.begin(), items.end(), [](const BannerItem& a, const BannerItem& b) {
    if (a.orderIndex() != b.orderIndex()) return a.orderIndex() < b.orderIndex();
    return a.id() < b.id();
  });
  if (items.size() > kMaxPlayableItems) items.erase(items.begin() + kMaxPlayableItems, items.end());
  if (!invalidItemKeys_.empty()) {
    std::erase_if(items, [&](const BannerItem& item) { return invalidItemKeys_.contains(itemKey(banner, item)); });
  }
  return items;
}

std::optional<BannerRenderState> BannerView::currentRenderState() const {
  if (banners_.empty()) return std::nullopt;
  const int last = static_cast<int>(banners_.size()) - 1;
  for (int index = std::clamp(activeBannerIndex_, 0, last); index <= last; ++index) {
    const Banner& banner = banners_[static_cast<std::size_t>(index)];
    std::vector<BannerItem> items = playableItems(banner);
    if (items.empty()) continue;
    const int itemIndex = std::clamp(activeItemIndex_, 0, static_cast<int>(items.size()) - 1);
    BannerItem item = items[static_cast<std::size_t>(itemIndex)];
    return BannerRenderState{.banner = banner,
                             .bannerIndex = index,
                             .items = std::move(items),
                             .activeItemIndex = itemIndex,
                             .item = std::move(item)};
  }
  return std::nullopt;
}

std::string BannerView::itemKey(const Banner& banner, const BannerItem& item) { return banner.id() + ":" + item.id(); }

std::string BannerView::impressionKey(const Banner& banner) const { return placementKey_ + ":" + banner.id(); }

std::string BannerView::autoplayIdentity(const BannerRenderState& renderState) {
  return renderState.banner.id() + "-" + std::to_string(renderState.activeItemIndex) + "-" +
         std::to_string(renderState.items.size());
}

// ---- Position --------------------------------------------------------------------------------------

void BannerView::applyPosition(int bannerIndex, int itemIndex, double progress) {
  QUENMARK_ASSERT_MAIN_THREAD();
  publish(activeBannerIndex_, std::max(bannerIndex, 0), BannerViewField::activeBannerIndex);
  publish(activeItemIndex_, std::max(itemIndex, 0), BannerViewField::activeItemIndex);
  publish(activeItemProgress_, progress, BannerViewField::activeItemProgress);
  contentDidChange();
}

void BannerView::showNextItem(const BannerRenderState& renderState) {
  QUENMARK_ASSERT_MAIN_THREAD();
  const int count = static_cast<int>(renderState.items.size());
  if (renderState.activeItemIndex < count - 1) {
    applyPosition(renderState.bannerIndex, renderState.activeItemIndex + 1, 0.0);
    return;
  }
  std::optional<int> target = nextPlayableBannerIndex(renderState.banner.id());
  if (!target) target = firstPlayableBannerIndex();
  if (!target) return;
  applyPosition(*target, 0, 0.0);
}

void BannerView::showPreviousItem(const BannerRenderState& renderState) {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (renderState.activeItemIndex > 0) {
    applyPosition(renderState.bannerIndex, renderState.activeItemIndex - 1, 0.0);
    return;
  }
  std::optional<int> target = previousPlayableBannerIndex(renderState.banner.id());
  if (!target) target = lastPlayableBannerIndex();
  if (!target) return;
  const int count = static_cast<int>(playableItems(banners_[static_cast<std::size_t>(*target)]).size());
  applyPosition(*target, std::max(count - 1, 0), 0.0);
}

std::optional<int> BannerView::nextPlayableBannerIndex(const std::string& bannerId) const {
  auto found = std::find_if(banners_.begin(), banners_.end(), [&](const Banner& b) { return b.id() == bannerId; });
  if (found == banners_.end()) return std::nullopt;
  for (auto it = std::next(found); it != banners_.end(); ++it) {
    if (!playableItems(*it).empty()) return static_cast<int>(it - banners_.begin());
  }
  return std::nullopt;
}

std::optional<int> BannerView::previousPlayableBannerIndex(const std::string& bannerId) const {
  auto found = std::find_if(banners_.begin(), banners_.end(), [&](const Banner& b) { return b.id() == bannerId; });
  if (found == banners_.end()) return std::nullopt;
  for (int index = static_cast<int>(found - banners_.begin()) - 1; index >= 0; --index) {
    if (!playableItems(banners_[static_cast<std::size_t>(index)]).empty()) return index;
  }
  return std::nullopt;
}

std::optional<int> BannerView::firstPlayableBannerIndex() const {
  for (std::size_t index = 0; index < banners_.size(); ++index) {
    if (!playableItems(banners_[index]).empty()) return static_cast<int>(index);
  }
  return std::nullopt;
}

std::optional<int> BannerView::lastPlayableBannerIndex() const {
  for (int index = static_cast<int>(banners_.size()) - 1; index >= 0; --index) {
    if (!playableItems(banners_[static_cast<std::size_t>(index)]).empty()) return index;
  }
  return std::nullopt;
}

// ---- Picture callbacks -----------------------------------------------------------------------------

void BannerView::cardImageLoaded() {
  auto state = currentRenderState();
  if (!state) return;
  trackBannerImpression(state->banner, state->item);
  prefetchNextItem(state->items, state->activeItemIndex);
}

void BannerView::cardImageFailed() {
  auto state = currentRenderState();
  if (!state) return;
  markItemInvalid(state->banner, state->item);
}

void BannerView::trackBannerImpression(const Banner& banner, const BannerItem& item) {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (!trackedImpressions_.insert(impressionKey(banner)).second) return;
  notifyChanged(BannerViewField::trackedImpressions);
  StorySDK::shared().report(StorySDKEvent::BannerImpression{banner.id(), item.id(), placementKey_}, placementKey_);
}

void BannerView::prefetchNextItem(const std::vector<BannerItem>& items, int activeIndex) {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (items.size() < 2) return;
  const int count = static_cast<int>(items.size());
  const int next = ((activeIndex + 1) % count + count) % count;
  Url url = items[static_cast<std::size_t>(next)].mediaURL();
  // A separate main-thread task; the view neither waits for it nor uses its result.
  platform::currentPlatform()->mainThread->post([url = std::move(url)] { StoryImagePipeline::shared().prefetch(url); });
}

void BannerView::markItemInvalid(const Banner& banner, const BannerItem& item) {
  QUENMARK_ASSERT_MAIN_THREAD();
  invalidItemKeys_.insert(itemKey(banner, item));
  notifyChanged(BannerViewField::invalidItemKeys);
  const std::vector<BannerItem> remaining = playableItems(banner);
  if (!remaining.empty()) {
    if (activeItemIndex_ >= static_cast<int>(remaining.size())) {
      publish(activeItemIndex_, 0, BannerViewField::activeItemIndex);
    }
  } else {
    // No wrap to the first banner: past the end nothing is shown until the next load.
    const int target = nextPlayableBannerIndex(banner.id()).value_or(static_cast<int>(banners_.size()));
    publish(activeBannerIndex_, target, BannerViewField::activeBannerIndex);
    publish(activeItemIndex_, 0, BannerViewField::activeItemIndex);
  }
  contentDidChange();
}

// ---- Taps ------------------------------------------------------------------------------------------

void BannerView::trackBannerClick(const Banner& banner, const BannerItem& item) {
  QUENMARK_ASSERT_MAIN_THREAD();
  StorySDK::shared().report(StorySDKEvent::BannerClick{banner.id(), item.id(), placementKey_, item.ctaURL()},
                            placementKey_);
}

void BannerView::openCallToAction(const BannerItem& item) {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (auto link = bannerCallToActionLink(item)) openContentLink(*link);
}

// ---- Showing and autoplay --------------------------------------------------------------------------

void BannerView::contentDidChange() {
  const auto state = onScreen_ ? currentRenderState() : std::nullopt;
  syncCardImage(state);
  // The picture's change handler may have moved the position; act on what is shown now.
  syncAutoplay(onScreen_ ? currentRenderState() : std::nullopt);
}

void BannerView::syncCardImage(const std::optional<BannerRenderState>& state) {
  if (!state) {
    cardItemKey_.reset();
    if (cardShown_) {
      cardShown_ = false;
      cardImage_->disappear();
      notifyChanged(BannerViewField::cardImage);
    }
    return;
  }
  std::string key = itemKey(state->banner, state->item);
  const bool otherItem = key != cardItemKey_;
  cardItemKey_ = std::move(key);
  if (!cardShown_) {
    // A card that comes (back) on screen loads its picture anew.
    cardImage_->setUrl(state->item.mediaURL());
    cardShown_ = true;
    cardImage_->appear();
  } else if (otherItem && cardImage_->url() == state->item.mediaURL()) {
    // Another item with the same picture: load it again (from memory, usually) so that this item,
    // too, reports its impression or its failure.
    cardImage_->disappear();
    cardImage_->appear();
  } else {
    cardImage_->setUrl(state->item.mediaURL());
  }
}

void BannerView::syncAutoplay(const std::optional<BannerRenderState>& state) {
  if (!state) {
    cancelAutoplay();
    autoplayIdentity_.reset();
    return;
  }
  std::string identity = autoplayIdentity(*state);
  if (identity == autoplayIdentity_) return;
  // The old task is cancelled before the new one starts; the new one starts as its own main-thread task.
  cancelAutoplay();
  autoplayIdentity_ = std::move(identity);
  const std::uint64_t generation = autoplayGeneration_;
  std::weak_ptr<BannerView> weakSelf = weak_from_this();
  platform::currentPlatform()->mainThread->post([weakSelf, generation, renderState = *state] {
    auto self = weakSelf.lock();
    if (!self || self->autoplayGeneration_ != generation) return;  // cancelled before it began
    self->autoplay_ = std::make_unique<Autoplay>(Autoplay{generation, renderState, 1, 0, nullptr});
    self->startAutoplay(generation);
  });
}

void BannerView::runAutoplay(const BannerRenderState& renderState) {
  QUENMARK_ASSERT_MAIN_THREAD();
  cancelAutoplay();
  autoplayIdentity_ = autoplayIdentity(renderState);
  autoplay_ = std::make_unique<Autoplay>(Autoplay{autoplayGeneration_, renderState, 1, 0, nullptr});
  startAutoplay(autoplayGeneration_);
}

void BannerView::cancelAutoplay() {
  ++autoplayGeneration_;
  autoplay_.reset();  // drops the pending sleep's timer
}

void BannerView::startAutoplay(std::uint64_t generation) {
  const BannerRenderState& state = autoplay_->state;
  if (state.banner.type() == BannerType::static_ || state.items.size() < 2) {
    autoplay_.reset();
    return;
  }
  autoplay_->duration =
      static_cast<double>(std::clamp<std::int64_t>(state.banner.autoplaySeconds(), 1, kLongestAutoplaySeconds));
  // Only the progress is reset; the position stays as it is.
  applyPosition(activeBannerIndex_, activeItemIndex_, 0.0);
  if (!autoplay_ || autoplay_->generation != generation) return;  // an observer moved on meanwhile
  if (autoplay_->state.banner.type() == BannerType::story) {
    sleepAutoplay(generation, progressTickInterval_);
  } else {
    sleepAutoplay(generation, autoplay_->duration);
  }
}

void BannerView::sleepAutoplay(std::uint64_t generation, double seconds) {
  std::weak_ptr<BannerView> weakSelf = weak_from_this();
  // The timer only enqueues a main-thread task; that task finds out whether the sleep was cancelled.
  autoplay_->sleep = platform::currentPlatform()->mainThread->schedule(seconds, false, [weakSelf, generation] {
    platform::currentPlatform()->mainThread->post([weakSelf, generation] {
      if (auto self = weakSelf.lock()) self->autoplayWoke(generation);
    });
  });
}

void BannerView::autoplayWoke(std::uint64_t generation) {
  if (!autoplay_ || autoplay_->generation != generation) return;  // cancelled: no further change
  Autoplay& task = *autoplay_;
  if (task.state.banner.type() == BannerType::story) {
    ++task.ticks;
    const double elapsed = static_cast<double>(task.ticks) * progressTickInterval_;
    publish(activeItemProgress_, std::min(1.0, elapsed / task.duration), BannerViewField::activeItemProgress);
    if (!autoplay_ || autoplay_->generation != generation) return;
    if (elapsed < task.duration - kElapsedTolerance) {
      sleepAutoplay(generation, progressTickInterval_);
      return;
    }
  }
  // Advance within the banner, wrapping to its first item. The new position starts the next cycle.
  const BannerRenderState state = std::move(task.state);
  autoplay_.reset();
  const int count = static_cast<int>(state.items.size());
  applyPosition(state.bannerIndex, (state.activeItemIndex + 1) % count, 0.0);
}

}  // namespace quenmark
