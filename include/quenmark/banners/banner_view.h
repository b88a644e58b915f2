#pragma once

#include <quenmark/banners/banner_render_state.h>
#include <quenmark/banners/banner_swipe.h>
#include <quenmark/error.h>
#include <quenmark/export.h>
#include <quenmark/model/banner.h>
#include <quenmark/model/banner_item.h>
#include <quenmark/net/image.h>
#include <quenmark/stories/observable.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quenmark {

class StoryAPI;
class RemoteImageLoader;

/// The state fields of a `BannerView` that observers are told about.
enum class BannerViewField {
  banners,
  activeBannerIndex,
  activeItemIndex,
  activeItemProgress,
  invalidItemKeys,
  trackedImpressions,
  /// The card's picture was requested, arrived or failed (see `cardImage()`).
  cardImage,
  /// A load answer arrived (see `loadErrorMessage()`).
  loadErrorMessage,
};

/// The banner slot of a placement: loads the placement's banners, shows one banner at a time as a card,
/// plays its items by itself, follows swipes and taps, skips items whose picture fails, and reports the
/// first display of each banner and every tap.
///
/// This is the view's whole state and behaviour without a toolkit. A renderer draws
/// `layoutBannerCard(currentRenderState(), activeItemProgress(), width)` with `cardImage()` (or the
/// placeholder while it is null), redraws whenever an observer is told of a change, and forwards:
/// `appear()` / `disappear()` when the slot enters and leaves the hierarchy, `handleTap()` for
/// a single tap on the card and `handleDragEnded(dx, dy)` when a drag of at least 24 points ends. The
/// host announces the application's return to the foreground through `ApplicationActivity`.
///
/// While it is on screen the view runs one autoplay task for what it shows: `story` banners fill their
/// progress every 0.05 s and move on after `autoplaySeconds` (at least 1), `carousel` banners move on
/// after `autoplaySeconds` whole; the last item is followed by the banner's first. `static` banners and
/// banners with a single playable item stay put. The task is bound to the shown banner, item position
/// and item count: any change of them cancels it and starts a new one, and a cancelled task changes
/// nothing more.
///
/// Created as a shared object (`create`); timers, network answers and image callbacks hold it weakly and
/// do nothing once it is gone. Main thread only: every method and every observer call runs there.
class QUENMARK_EXPORT BannerView : public ObservableObject<BannerViewField>,
                                   public std::enable_shared_from_this<BannerView> {
 public:
  /// Stores the key and creates the view's own content client. Fetches and sends nothing.
  static std::shared_ptr<BannerView> create(std::string placementKey);
  ~BannerView();

  BannerView(const BannerView&) = delete;
  BannerView& operator=(const BannerView&) = delete;

  // ---- Host and renderer entry points --------------------------------------------------------------

  /// The slot came on screen: loads the banners (every appearance reloads and returns to the first
  /// banner and item), and shows and plays the current content. No effect when already on screen.
  void appear();
  /// The slot left the hierarchy: stops autoplay and the picture's load. The state is kept.
  void disappear();
  bool isOnScreen() const noexcept { return onScreen_; }
  /// The application became active: reloads while the slot is on screen, otherwise nothing. While on
  /// screen the view also listens to `ApplicationActivity::shared()` and does this on its own.
  void applicationDidBecomeActive();
  /// A single tap on the card: reports the click, then opens the item's link when its type opens links.
  void handleTap();
  /// A drag on the card ended with total translation (`dx`, `dy`): see `bannerSwipe`.
  void handleDragEnded(double dx, double dy);
  /// The shown item's picture; null while it loads, after it failed and when nothing is shown.
  std::shared_ptr<const Image> cardImage() const;

  // ---- State ---------------------------------------------------------------------------------------

  const std::string& placementKey() const noexcept { return placementKey_; }
  /// Step of the progress of `story` banners, in seconds (0.05).
  double progressTickInterval() const noexcept { return progressTickInterval_; }
  /// Last loaded banner list, in the order the service gave.
  const std::vector<Banner>& banners() const noexcept { return banners_; }
  /// Requested banner position; may point past the end.
  int activeBannerIndex() const noexcept { return activeBannerIndex_; }
  /// Requested item position within the shown banner's playable items.
  int activeItemIndex() const noexcept { return activeItemIndex_; }
  /// Fill of the active story segment, 0 to 1.
  double activeItemProgress() const noexcept { return activeItemProgress_; }
  /// Item keys ("bannerId:itemId") of items whose picture failed; such items are skipped.
  const std::set<std::string>& invalidItemKeys() const noexcept { return invalidItemKeys_; }
  /// Impression keys ("placementKey:bannerId") reported by this instance; never cleared.
  const std::set<std::string>& trackedImpressions() const noexcept { return trackedImpressions_; }
  /// Why the last load answer failed (the error's description); absent after one that delivered a list.
  /// Written after the answer was applied, so that observers see the emptied slot.
  const std::optional<std::string>& loadErrorMessage() const noexcept { return loadErrorMessage_; }

  // ---- Operations ----------------------------------------------------------------------------------

  /// Fetches the placement's banners. The answer replaces the list (a failure gives an empty list),
  /// returns to the first banner and item and forgets failed items; progress and impressions stay.
  void loadBanners();
  /// The banner's items sorted by `orderIndex` (ties by `id`), at most the first 10, without failed ones.
  std::vector<BannerItem> playableItems(const Banner& banner) const;
  /// What is shown: the first banner with playable items at or after the requested position (limited
  /// to the last banner; never wrapping), with the requested item limited to its last playable item.
  std::optional<BannerRenderState> currentRenderState() const;
  /// Writes the banner position, the item position and the progress, in that order (negative positions
  /// are stored as 0).
  void applyPosition(int bannerIndex, int itemIndex, double progress);
  /// Starts the autoplay task for `renderState`, replacing any running one. The view does this itself
  /// whenever the shown content changes while it is on screen.
  void runAutoplay(const BannerRenderState& renderState);
  /// Next item of the banner, else the first item of the next playable banner (wrapping to the first).
  void showNextItem(const BannerRenderState& renderState);
  /// Previous item of the banner, else the last item of the previous playable banner (wrapping to the
  /// last).
  void showPreviousItem(const BannerRenderState& renderState);
  /// First position after the first banner with id `bannerId` whose banner has playable items.
  std::optional<int> nextPlayableBannerIndex(const std::string& bannerId) const;
  /// Nearest position before the first banner with id `bannerId` whose banner has playable items.
  std::optional<int> previousPlayableBannerIndex(const std::string& bannerId) const;
  std::optional<int> firstPlayableBannerIndex() const;
  std::optional<int> lastPlayableBannerIndex() const;
  /// Reports `bannerImpression` the first time this instance shows a picture of `banner`.
  void trackBannerImpression(const Banner& banner, const BannerItem& item);
  /// Starts loading the picture that follows `activeIndex` (wrapping) when there are 2 or more items.
  void prefetchNextItem(const std::vector<BannerItem>& items, int activeIndex);
  /// Skips `item` from now on (until the next load) and moves on when it was the shown banner's last
  /// playable item: to the next playable banner, else past the end (nothing shown).
  void markItemInvalid(const Banner& banner, const BannerItem& item);
  /// Reports `bannerClick` (on every tap, whatever the item's link type).
  void trackBannerClick(const Banner& banner, const BannerItem& item);
  /// Opens the item's link through `openContentLink` for external URLs, deep links and internal routes.
  void openCallToAction(const BannerItem& item);

  /// "bannerId:itemId".
  static std::string itemKey(const Banner& banner, const BannerItem& item);
  /// "placementKey:bannerId".
  std::string impressionKey(const Banner& banner) const;
  /// "bannerId-itemIndex-itemCount": autoplay restarts whenever this changes.
  static std::string autoplayIdentity(const BannerRenderState& renderState);

 private:
  struct Autoplay;

  explicit BannerView(std::string placementKey);

  void applyLoadedBanners(Result<std::vector<Banner>> result);
  // Brings the picture and the autoplay task in line with what is shown now.
  void contentDidChange();
  void syncCardImage(const std::optional<BannerRenderState>& state);
  void syncAutoplay(const std::optional<BannerRenderState>& state);
  void cancelAutoplay();
  void startAutoplay(std::uint64_t generation);
  void sleepAutoplay(std::uint64_t generation, double seconds);
  void autoplayWoke(std::uint64_t generation);
  void cardImageLoaded();
  void cardImageFailed();

  std::string placementKey_;
  std::unique_ptr<StoryAPI> api_;
  double progressTickInterval_ = 0.05;
  std::vector<Banner> banners_;
  int activeBannerIndex_ = 0;
  int activeItemIndex_ = 0;
  double activeItemProgress_ = 0.0;
  std::set<std::string> invalidItemKeys_;
  std::set<std::string> trackedImpressions_;
  std::optional<std::string> loadErrorMessage_;

  bool onScreen_ = false;
  Subscription becameActive_;  // held while on screen
  std::shared_ptr<RemoteImageLoader> cardImage_;
  bool cardShown_ = false;
  std::optional<std::string> cardItemKey_;  // item key of the picture the card asked for
  std::unique_ptr<Autoplay> autoplay_;
  std::optional<std::string> autoplayIdentity_;
  std::uint64_t autoplayGeneration_ = 0;
};

}  // namespace quenmark
