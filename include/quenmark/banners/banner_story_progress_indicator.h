#pragma once

#include <quenmark/export.h>

#include <vector>

namespace quenmark {

/// One segment of the story indicator, positioned in the row: its track spans `width`, the fill is
/// drawn from the leading edge and is `fillWidth` wide.
struct BannerSegment {
  double x = 0;
  double width = 0;
  double fillWidth = 0;

  friend bool operator==(const BannerSegment&, const BannerSegment&) = default;
};

/// The segment indicator of story banners: `count` equal segments that fill up to the active one.
struct QUENMARK_EXPORT BannerStoryProgressIndicator {
  int count = 0;
  int activeIndex = 0;
  /// Fill of the active segment, 0.0 to 1.0.
  double activeProgress = 0;

  /// Fill of segment `index` from 0 to 1: full before the active one, `activeProgress` (at most 1;
  /// 0 when it is 0, negative or not a number) for the active one, empty after it.
  double fill(int index) const;
  /// The segments of a row `rowWidth` points wide, spaced 4 apart and sharing the width equally.
  std::vector<BannerSegment> segments(double rowWidth) const;

  friend bool operator==(const BannerStoryProgressIndicator&, const BannerStoryProgressIndicator&) = default;
};

}  // namespace quenmark
