#pragma once

#include <quenmark/export.h>
#include <quenmark/url.h>

#include <functional>

namespace quenmark {

/// Opens a link that came with content from the service: a call to action, a swipe-up or a banner link.
/// Every such link the SDK opens goes through here; URLs a host opens itself are the host's business.
///
/// "http", "https" and application schemes ("myapp://offers/7", "mailto:") are handed to `open`, or to the
/// platform's `UrlOpener` when `open` is empty. Schemes that a desktop would hand to a local file, file
/// share or script handler ("file:", "javascript:", "data:", "smb:" and the like) are refused: nothing
/// opens, and the platform console gets one line naming the scheme. Returns true when the link was
/// handed on.
///
/// Call on the main thread; `open` runs there, before this returns.
QUENMARK_EXPORT bool openContentLink(const Url& url, const std::function<void(const Url&)>& open = {});

}  // namespace quenmark
