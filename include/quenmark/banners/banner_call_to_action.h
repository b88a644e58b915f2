#pragma once

#include <quenmark/export.h>
#include <quenmark/model/banner_item.h>
#include <quenmark/url.h>

#include <optional>

namespace quenmark {

/// The link a tap on `item` opens: its `ctaURL` when its type is an external URL, a deep link or an
/// internal route; absent for custom events, for `none` and without a URL (the tap is then only
/// reported).
QUENMARK_EXPORT std::optional<Url> bannerCallToActionLink(const BannerItem& item);

}  // namespace quenmark
