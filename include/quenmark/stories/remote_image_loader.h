#pragma once

#include <quenmark/export.h>
#include <quenmark/net/image.h>
#include <quenmark/url.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace quenmark {

/// What a remote picture view shows: its placeholder while loading (or without a URL) and after a
/// failure, the picture once loaded.
enum class RemoteImageState { loading, loaded, failed };

/// The loading half of the SDK's picture view, independent of any toolkit: a view owns one, binds it to
/// an optional URL, tells it when it comes on screen and leaves, and draws `image()` (or its
/// placeholder when that is null). Pictures come from `StoryImagePipeline::shared()`; the loader keeps no
/// cache of its own.
///
/// Every load passes through the loading state first. A picture the pipeline holds in memory then
/// arrives before `appear()` or `setUrl()` returns, with its change and `onLoad`, so that no frame shows
/// the placeholder for it; any other result arrives later. A URL change or the view leaving cancels the
/// running load: its result is dropped and no callback runs for it. There is no retry: after a failure
/// the placeholder stays until the URL changes or the view appears anew.
///
/// Main thread only: every method, and every callback, runs on the main thread. Pipeline results hold
/// the loader weakly and do nothing once it is gone.
class QUENMARK_EXPORT RemoteImageLoader : public std::enable_shared_from_this<RemoteImageLoader> {
 public:
  /// Called after a loaded image has been stored. Main thread.
  using LoadHandler = std::function<void(const std::shared_ptr<const Image>&)>;
  /// Called when the pipeline gives no image for the requested URL. Main thread.
  using FailureHandler = std::function<void()>;
  /// Called whenever `image()` or `state()` changes, so the view redraws. Main thread.
  using ChangeHandler = std::function<void()>;

  static std::shared_ptr<RemoteImageLoader> create(std::optional<Url> url, LoadHandler onLoad = {},
                                                   FailureHandler onFailure = {});

  RemoteImageLoader(const RemoteImageLoader&) = delete;
  RemoteImageLoader& operator=(const RemoteImageLoader&) = delete;

  void setOnChange(ChangeHandler onChange);

  /// The view came on screen: starts a load of the current URL (no-op when already on screen).
  void appear();
  /// The view left the hierarchy: cancels the running load. The held image is kept until the next
  /// appearance starts a new load.
  void disappear();
  /// Binds the loader to `url`. On screen, a different URL cancels the running load and starts a new one
  /// through the loading state; the same URL changes nothing.
  void setUrl(std::optional<Url> url);

  const std::optional<Url>& url() const noexcept { return url_; }
  /// The picture to draw; null while the placeholder shows.
  const std::shared_ptr<const Image>& image() const noexcept { return image_; }
  RemoteImageState state() const noexcept { return state_; }
  bool isOnScreen() const noexcept { return onScreen_; }

 private:
  RemoteImageLoader(std::optional<Url> url, LoadHandler onLoad, FailureHandler onFailure);

  void startLoad();
  void finishLoad(std::uint64_t generation, const Url& requested, std::shared_ptr<const Image> image);
  void notifyChange();

  std::optional<Url> url_;
  LoadHandler onLoad_;
  FailureHandler onFailure_;
  ChangeHandler onChange_;
  std::shared_ptr<const Image> image_;
  RemoteImageState state_ = RemoteImageState::loading;
  bool onScreen_ = false;
  std::uint64_t generation_ = 0;  // bumped by every start and cancel; older results are stale
};

}  // namespace quenmark
