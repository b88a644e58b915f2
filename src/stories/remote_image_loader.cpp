#include <quenmark/stories/remote_image_loader.h>

#include <quenmark/net/story_image_pipeline.h>

#include "platform/main_thread_check.h"

#include <utility>

namespace quenmark {

std::shared_ptr<RemoteImageLoader> RemoteImageLoader::create(std::optional<Url> url, LoadHandler onLoad,
                                                             FailureHandler onFailure) {
  return std::shared_ptr<RemoteImageLoader>(
      new RemoteImageLoader(std::move(url), std::move(onLoad), std::move(onFailure)));
}

RemoteImageLoader::RemoteImageLoader(std::optional<Url> url, LoadHandler onLoad, FailureHandler onFailure)
    : url_(std::move(url)), onLoad_(std::move(onLoad)), onFailure_(std::move(onFailure)) {}

void RemoteImageLoader::setOnChange(ChangeHandler onChange) {
  QUENMARK_ASSERT_MAIN_THREAD();
  onChange_ = std::move(onChange);
}

void RemoteImageLoader::appear() {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (onScreen_) return;
  onScreen_ = true;
  startLoad();
}

void RemoteImageLoader::disappear() {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (!onScreen_) return;
  onScreen_ = false;
  ++generation_;
}

void RemoteImageLoader::setUrl(std::optional<Url> url) {
  QUENMARK_ASSERT_MAIN_THREAD();
  if (url == url_) return;
  url_ = std::move(url);
  if (onScreen_) startLoad();
}

void RemoteImageLoader::startLoad() {
  const std::uint64_t generation = ++generation_;
  image_ = nullptr;
  state_ = RemoteImageState::loading;
  notifyChange();
  // The change handler may have rebound or hidden the loader; a newer start owns the load then.
  if (generation != generation_ || !url_) return;
  const Url requested = *url_;
  // A picture in memory shows at once: answering later would let the placeholder flash for a frame.
  if (auto cached = StoryImagePipeline::shared().cachedImage(requested)) {
    const auto keepAlive = shared_from_this();  // the callbacks may release the loader's owner
    finishLoad(generation, requested, std::move(cached));
    return;
  }
  std::weak_ptr<RemoteImageLoader> weakSelf = weak_from_this();
  StoryImagePipeline::shared().imageFor(requested,
                                        [weakSelf, generation, requested](std::shared_ptr<const Image> image) {
                                          // On the main thread.
                                          if (auto self = weakSelf.lock())
                                            self->finishLoad(generation, requested, std::move(image));
                                        });
}

void RemoteImageLoader::finishLoad(std::uint64_t generation, const Url& requested, std::shared_ptr<const Image> image) {
  if (generation != generation_ || !onScreen_) return;  // cancelled meanwhile
  if (url_ != requested) return;
  if (image) {
    image_ = image;
    state_ = RemoteImageState::loaded;
    notifyChange();
    if (generation != generation_) return;
    if (auto onLoad = onLoad_) onLoad(image);
  } else {
    state_ = RemoteImageState::failed;
    notifyChange();
    if (generation != generation_) return;
    if (auto onFailure = onFailure_) onFailure();
  }
}

void RemoteImageLoader::notifyChange() {
  if (auto onChange = onChange_) onChange();
}

}  // namespace quenmark
