#pragma once

#include <quenmark/export.h>
#include <quenmark/url.h>

namespace quenmark::platform {

/// Hands a URL to the system (browser, deep-link handler). Called on the main thread; never blocks.
class QUENMARK_EXPORT UrlOpener {
 public:
  virtual ~UrlOpener();
  virtual void open(const Url& url) = 0;
};

}  // namespace quenmark::platform
