#pragma once

#include <quenmark/export.h>
#include <quenmark/net/image.h>
#include <quenmark/url.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quenmark {

/// Loads remote images for the SDK's views, keeps decoded images in memory and fetches one URL at most
/// once at a time, however many views and prefetches want it.
///
/// There is one pipeline per process (`shared()`), created on first use and kept until the process ends.
/// Every operation may be called from any thread and returns at once. The pipeline's bookkeeping (its
/// cache and its table of loads in progress) is guarded by its own lock, which is never held across a
/// transfer, a decode or a callback. Transfers run on the platform's HTTP session; decoding runs on the
/// pipeline's own worker threads.
///
/// A load is a plain GET of the URL with no extra headers. The HTTP status is not looked at: image bytes
/// under any status give an image, anything else (an error page, a transport failure, corrupt data, an
/// image over the decoder's size limits) gives none. Failures are not remembered: the next request for the
/// URL fetches it again.
class QUENMARK_EXPORT StoryImagePipeline {
 public:
  /// Receives the image, or nullptr when there is none. Runs on the main thread.
  using ImageCompletion = std::function<void(std::shared_ptr<const Image>)>;

  static constexpr std::size_t kDefaultCacheByteLimit = 64u * 1024u * 1024u;

  /// The process-wide pipeline.
  static StoryImagePipeline& shared();

  StoryImagePipeline(const StoryImagePipeline&) = delete;
  StoryImagePipeline& operator=(const StoryImagePipeline&) = delete;

  /// Delivers the image at `url` to `completion`, always asynchronously on the main thread: from memory
  /// when it is cached, by joining the running load when one is in flight, or by starting a load.
  /// Every waiter of one load receives the same image object. An empty completion makes this a prefetch.
  void imageFor(const Url& url, ImageCompletion completion);
  /// The image for `url` when it is in memory now (counting as a use), else nullptr; starts nothing. A
  /// view asks this first so that a picture in memory shows in the same frame. Any thread.
  std::shared_ptr<const Image> cachedImage(const Url& url);

  /// Starts loading `url` into memory unless it is absent, cached or already loading.
  void prefetch(const std::optional<Url>& url);
  /// `prefetch(url)` for each element in order; absent elements are skipped, duplicates load once.
  void prefetch(const std::vector<std::optional<Url>>& urls);

  /// Most bytes of decoded pixels kept in memory; the least recently used images go first. An image
  /// larger than the whole budget is delivered to its waiters but not kept. Lowering the limit evicts at
  /// once.
  void setCacheByteLimit(std::size_t bytes);
  std::size_t cacheByteLimit() const;
  /// Drops every cached image (call on a memory warning). Loads in flight are not affected.
  void purge();

  /// Whether an image for `url` is in memory (does not count as a use).
  bool isCached(const Url& url) const;
  /// Whether a load for `url` is in flight.
  bool isLoading(const Url& url) const;
  /// Bytes of decoded pixels currently cached.
  std::size_t cachedByteCount() const;

  /// For tests: forgets every cached image and every load in flight and restores the default cache
  /// limit. Loads already running still deliver to their own waiters but no longer touch the pipeline.
  void resetForTesting();

 private:
  StoryImagePipeline();
  ~StoryImagePipeline();

  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace quenmark
