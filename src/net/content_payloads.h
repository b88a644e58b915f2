#pragma once

#include "model/iso8601.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The JSON records the content service sends and receives, exactly as they travel. Nothing here is
// visible to hosts; the mapping in net/payload_mapping.h turns them into the content model.
//
// UUID fields hold the lower-case canonical text of a UUID that was validated while decoding.
// Date-times hold the parsed point in time. Optional fields are absent when the key was missing or
// null.

namespace quenmark {

struct SdkThemeResponse {
  std::optional<std::string> id;
  std::optional<std::string> name;
  std::optional<std::string> progressStyle;
  std::optional<std::string> bubbleStyle;
  std::optional<std::string> fontFamily;
  std::optional<std::string> primaryColor;
  std::optional<std::string> secondaryColor;
  std::optional<std::string> ctaStyle;
};

struct SdkMediaAssetPayload {
  std::string mediaType;
  std::string mediaUrl;
  std::optional<std::int64_t> durationSeconds;
};

struct SdkWidgetOptionPayload {
  std::string id;  // UUID
  std::string text;
  std::optional<std::string> emojiPrefix;
  std::int64_t orderIndex = 0;
  std::optional<bool> isCorrect;
  std::optional<std::int64_t> voteCount;
};

struct SdkWidgetUserVotePayload {
  std::string optionId;  // UUID
  std::optional<SystemTime> votedAt;
};

struct SdkStoryItemPayload {
  std::string id;  // UUID
  std::string type;
  std::optional<std::string> title;
  std::optional<std::string> bodyText;
  std::optional<std::string> ctaText;
  std::optional<std::string> ctaUrl;
  std::optional<std::int64_t> durationSeconds;
  std::optional<SdkMediaAssetPayload> media;
  std::optional<std::string> widgetType;
  std::optional<std::string> widgetQuestion;
  std::optional<std::string> swipeCallbackUrl;
  std::optional<std::vector<SdkWidgetOptionPayload>> widgetOptions;
  std::optional<SdkWidgetUserVotePayload> userVote;
};

struct SdkStoryGroupPayload {
  std::string id;  // UUID
  std::string title;
  std::optional<std::int64_t> priority;
  std::optional<std::string> startAt;
  std::optional<std::string> endAt;
  std::optional<SdkThemeResponse> theme;
  std::vector<SdkStoryItemPayload> items;
};

struct SdkStoriesPayload {
  std::vector<SdkStoryGroupPayload> groups;
};

struct SdkBannerItemPayload {
  std::int64_t id = 0;
  std::optional<std::string> mediaAssetId;
  std::string mediaUrl;
  std::int64_t orderIndex = 0;
  std::optional<std::string> ctaType;
  std::optional<std::string> ctaUrl;
};

struct SdkBannerPayload {
  std::int64_t id = 0;
  std::string type;
  std::string placementKey;
  std::int64_t viewOrder = 0;
  std::optional<std::int64_t> autoplaySeconds;
  std::optional<std::string> layoutMode;
  std::optional<std::string> aspectRatio;
  std::optional<std::int64_t> fixedHeight;
  std::optional<std::string> contentMode;
  std::optional<std::string> bannerLayoutMode;
  std::optional<std::string> bannerAspectRatio;
  std::optional<std::int64_t> bannerFixedHeight;
  std::optional<std::string> bannerContentMode;
  std::vector<SdkBannerItemPayload> items;
};

struct SdkBannersPayload {
  std::vector<SdkBannerPayload> banners;
};

/// Body of a vote request; absent fields are left out of the JSON.
struct VoteRequestPayload {
  std::string optionId;
  std::optional<std::string> appId;
  std::optional<std::string> bundleId;
  std::optional<std::string> userId;
};

struct VoteResponsePayload {
  bool voted = false;
  std::optional<std::string> optionId;  // plain text, not read as a UUID
  std::optional<std::int64_t> voteCount;
};

}  // namespace quenmark
