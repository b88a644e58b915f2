#include "sdk/sdk_event_type.h"

namespace quenmark {

std::string_view sdkEventWireName(SdkEventType type) noexcept {
  switch (type) {
    case SdkEventType::storyGroupImpression: return "STORY_GROUP_IMPRESSION";
    case SdkEventType::storyOpen: return "STORY_OPEN";
    case SdkEventType::storyItemView: return "STORY_ITEM_VIEW";
    case SdkEventType::storyComplete: return "STORY_COMPLETE";
    case SdkEventType::ctaClick: return "CTA_CLICK";
    case SdkEventType::pollView: return "POLL_VIEW";
    case SdkEventType::pollVote: return "POLL_VOTE";
    case SdkEventType::quizView: return "QUIZ_VIEW";
    case SdkEventType::quizAnswer: return "QUIZ_ANSWER";
    case SdkEventType::swipeUp: return "SWIPE_UP";
    case SdkEventType::bannerImpression: return "BANNER_IMPRESSION";
    case SdkEventType::bannerClick: return "BANNER_CLICK";
  }
  return "";
}

bool isDeduplicated(SdkEventType type) noexcept {
  return type != SdkEventType::ctaClick && type != SdkEventType::bannerClick;
}

}  // namespace quenmark
