#pragma once

#include <quenmark/banners/banner_progress_indicator.h>
#include <quenmark/banners/banner_render_state.h>
#include <quenmark/banners/banner_story_progress_indicator.h>
#include <quenmark/export.h>
#include <quenmark/url.h>

#include <optional>
#include <variant>

namespace quenmark {

/// How the item's picture is scaled into the card: `fit` letterboxes it over the card's empty
/// background, `fill` crops it. Either way it is clipped to the card.
enum class BannerPictureScaling { fit, fill };

/// A rectangle in the card's coordinates (origin top left, y down).
struct BannerRect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  friend bool operator==(const BannerRect&, const BannerRect&) = default;
};

/// The indicator a card shows: none (static banners, or fewer than 2 items), dots (carousel) or
/// segments (story).
using BannerIndicator = std::variant<std::monostate, BannerProgressIndicator, BannerStoryProgressIndicator>;

/// Everything a renderer needs to draw one banner card, top to bottom: the rounded card (also the area
/// that receives taps and drags), the picture with its placeholder, and the indicator over it.
struct BannerCardLayout {
  double width = 0;
  double height = 0;
  double cornerRadius = 0;
  Url pictureURL;
  BannerPictureScaling pictureScaling = BannerPictureScaling::fill;
  BannerIndicator indicator;
  /// Where the indicator goes; empty when there is none. Dots sit centred 16 above the bottom edge;
  /// segments span the top, inset 10 from the left, right and top edges.
  BannerRect indicatorFrame;
};

/// The indicator for `state`, with `activeItemProgress` filling the active segment of story banners.
QUENMARK_EXPORT BannerIndicator bannerIndicator(const BannerRenderState& state, double activeItemProgress);

/// The card for `state` in a slot `availableWidth` points wide. Absent without a render state: the
/// slot then draws nothing and takes no height (it still spans the width).
QUENMARK_EXPORT std::optional<BannerCardLayout> layoutBannerCard(const std::optional<BannerRenderState>& state,
                                                                 double activeItemProgress, double availableWidth);

}  // namespace quenmark
