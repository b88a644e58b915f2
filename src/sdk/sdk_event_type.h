#pragma once

#include <string_view>

namespace quenmark {

/// The kinds of SDK event the facade posts to the service, in wire order.
enum class SdkEventType : int {
  storyGroupImpression,
  storyOpen,
  storyItemView,
  storyComplete,
  ctaClick,
  pollView,
  pollVote,
  quizView,
  quizAnswer,
  swipeUp,
  bannerImpression,
  bannerClick,
};

/// The `eventType` text the service expects ("STORY_GROUP_IMPRESSION", "CTA_CLICK", ...).
std::string_view sdkEventWireName(SdkEventType type) noexcept;

/// False for the kinds that are sent on every occurrence (call-to-action and banner clicks); true for
/// the kinds sent at most once per session for the same placement and ids.
bool isDeduplicated(SdkEventType type) noexcept;

}  // namespace quenmark
