#pragma once

#include <quenmark/export.h>
#include <quenmark/model/color.h>

#include <vector>

namespace quenmark {

/// One dot of the carousel indicator, positioned inside the indicator's own box (padding included).
struct BannerDot {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
  Color color{0, 0, 0, 0};

  friend bool operator==(const BannerDot&, const BannerDot&) = default;
};

/// The dot indicator of carousel banners: a capsule-backed row with one dot per item, the active one
/// wider and brighter. An `activeIndex` outside 0 ..< `count` marks no dot; a `count` of 0 or less has
/// no dots.
struct QUENMARK_EXPORT BannerProgressIndicator {
  int count = 0;
  int activeIndex = 0;

  /// The dots in index order, left to right, each placed inside the padded box.
  std::vector<BannerDot> dots() const;
  /// Width of the whole indicator: the dot row plus 7 on each side.
  double width() const;
  /// Height of the whole indicator: a dot plus 5 above and below.
  double height() const;

  friend bool operator==(const BannerProgressIndicator&, const BannerProgressIndicator&) = default;
};

}  // namespace quenmark
