#pragma once

#include <quenmark/net/image.h>

#include <memory>
#include <string>

namespace quenmark::qt {

/// The pictures that `StoryRemoteImage` views hold right now, by URL, held weakly.
///
/// A view's loader has its picture before the view's `Image` asks the image provider for it; the
/// provider finds it here, so it never fetches again a picture the pipeline's cache no longer keeps
/// (one larger than the cache, or purged meanwhile). Any thread.
class HeldImages {
 public:
  static void remember(const std::string& url, const std::shared_ptr<const Image>& image);
  /// The picture a view holds for `url`, or null.
  static std::shared_ptr<const Image> find(const std::string& url);
};

}  // namespace quenmark::qt
