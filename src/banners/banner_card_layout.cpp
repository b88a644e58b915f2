#include <quenmark/banners/banner_card_layout.h>
#include <quenmark/banners/banner_content_frame_modifier.h>
#include <quenmark/banners/banner_layout_constants.h>

#include <algorithm>

namespace quenmark {

using namespace banner_layout;

BannerIndicator bannerIndicator(const BannerRenderState& state, double activeItemProgress) {
  const int count = static_cast<int>(state.items.size());
  if (count < 2) return std::monostate{};
  switch (state.banner.type()) {
    case BannerType::static_: return std::monostate{};
    case BannerType::story: return BannerStoryProgressIndicator{count, state.activeItemIndex, activeItemProgress};
    case BannerType::carousel: return BannerProgressIndicator{count, state.activeItemIndex};
  }
  return std::monostate{};
}

std::optional<BannerCardLayout> layoutBannerCard(const std::optional<BannerRenderState>& state,
                                                 double activeItemProgress, double availableWidth) {
  if (!state) return std::nullopt;
  BannerCardLayout card{.width = std::max(0.0, availableWidth),
                        .height = BannerContentFrameModifier(state->banner).height(availableWidth),
                        .cornerRadius = kCardCornerRadius,
                        .pictureURL = state->item.mediaURL(),
                        .pictureScaling = state->banner.bannerContentMode() == BannerContentMode::fit
                                              ? BannerPictureScaling::fit
                                              : BannerPictureScaling::fill,
                        .indicator = bannerIndicator(*state, activeItemProgress),
                        .indicatorFrame = {}};
  if (std::holds_alternative<BannerStoryProgressIndicator>(card.indicator)) {
    card.indicatorFrame = {kSegmentsInset, kSegmentsInset, std::max(0.0, card.width - 2 * kSegmentsInset),
                           kSegmentHeight};
  } else if (const auto* dots = std::get_if<BannerProgressIndicator>(&card.indicator)) {
    const double width = dots->width();
    const double height = dots->height();
    card.indicatorFrame = {(card.width - width) / 2, card.height - kDotsBottomInset - height, width, height};
  }
  return card;
}

}  // namespace quenmark
