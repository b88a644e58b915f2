#pragma once

#include <quenmark/model/banner.h>
#include <quenmark/model/banner_item.h>

#include <vector>

namespace quenmark {

/// What a banner slot shows right now, derived from the carousel's state on every render and never
/// stored: the banner, where it sits in the loaded list, its playable items (never empty) and the item
/// on screen.
struct BannerRenderState {
  /// The banner shown.
  Banner banner;
  /// Its position in the loaded list (may differ from the requested position when banners without
  /// playable items were skipped).
  int bannerIndex = 0;
  /// The banner's playable items: ordered, at most 10, without items whose picture failed. Never empty.
  std::vector<BannerItem> items;
  /// The requested item position, limited to the last of `items`.
  int activeItemIndex = 0;
  /// `items[activeItemIndex]`: the item shown.
  BannerItem item;

  friend bool operator==(const BannerRenderState&, const BannerRenderState&) = default;
};

}  // namespace quenmark
