#include "net/payload_mapping.h"

#include "model/text_trimming.h"
#include "model/theme_parsing.h"

#include <quenmark/model/banner_content_mode.h>
#include <quenmark/model/banner_cta_type.h>
#include <quenmark/model/banner_layout_mode.h>
#include <quenmark/model/banner_type.h>
#include <quenmark/model/story_media_type.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/model/widget_type.h>

#include <string>
#include <utility>
#include <vector>

namespace quenmark {
namespace {

constexpr double kDefaultItemDuration = 5.0;
constexpr std::int64_t kDefaultAutoplaySeconds = 5;

std::optional<std::string_view> view(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return std::string_view(*text);
}

StoryTheme makeTheme(const SdkThemeResponse& theme) {
  const StoryTheme& fallback = StoryTheme::defaultTheme();
  return StoryTheme(
      parseProgressStyle(view(theme.progressStyle)), parseBubbleStyle(view(theme.bubbleStyle)),
      parseFontFamily(view(theme.fontFamily)), parseColor(view(theme.primaryColor), fallback.primaryColor()),
      parseColor(view(theme.secondaryColor), fallback.secondaryColor()), parseCtaStyle(view(theme.ctaStyle)));
}

WidgetOption makeOption(SdkWidgetOptionPayload option) {
  return WidgetOption(std::move(option.id), std::move(option.text), std::move(option.emojiPrefix), option.orderIndex,
                      option.isCorrect, option.voteCount.value_or(0));
}

// The plain key wins when it is present, even when its value is not one the mapping knows.
const std::optional<std::string>& preferPlain(const std::optional<std::string>& plain,
                                              const std::optional<std::string>& prefixed) {
  return plain ? plain : prefixed;
}

BannerType bannerType(const std::string& text) {
  const std::string upper = upperCasedForMatching(text);
  if (upper == "CAROUSEL") return BannerType::carousel;
  if (upper == "STORY") return BannerType::story;
  return BannerType::static_;
}

BannerLayoutMode layoutMode(const std::optional<std::string>& text) {
  if (!text) return BannerLayoutMode::auto_;
  const std::string upper = upperCasedForMatching(*text);
  if (upper == "ASPECT_RATIO") return BannerLayoutMode::aspectRatio;
  if (upper == "FIXED_HEIGHT") return BannerLayoutMode::fixedHeight;
  return BannerLayoutMode::auto_;
}

BannerContentMode contentMode(const std::optional<std::string>& text) {
  if (text && upperCasedForMatching(*text) == "FIT") return BannerContentMode::fit;
  return BannerContentMode::cover;
}

BannerCtaType ctaType(const std::optional<std::string>& text) {
  if (!text) return BannerCtaType::none;
  return bannerCtaTypeFromRawValue(upperCasedForMatching(*text)).value_or(BannerCtaType::none);
}

}  // namespace

std::optional<Url> normalizedURL(std::optional<std::string_view> text) {
  if (!text) return std::nullopt;
  const std::string_view trimmed = trimWhitespaceAndNewlines(*text);
  if (trimmed.empty()) return std::nullopt;
  // Url::parse accepts absolute URLs only, so a parsed URL always has a scheme; a text without ":" has
  // none and is not worth a parse.
  if (trimmed.find(':') != std::string_view::npos) {
    if (auto url = Url::parse(trimmed)) return url;
  }
  std::string prefixed = "https://";
  prefixed.append(trimmed);
  return Url::parse(prefixed);
}

namespace {

// Moves the texts out of `payload`, which is left valid but unspecified.
StoryItem mapItem(SdkStoryItemPayload& payload, SystemTime now) {
  std::optional<StoryMediaType> mediaType;
  std::optional<Url> mediaURL;
  if (payload.media) {
    mediaType = storyMediaTypeFromRawValue(upperCasedForMatching(payload.media->mediaType));
    mediaURL = Url::parse(payload.media->mediaUrl);
  }

  double duration = kDefaultItemDuration;
  if (payload.durationSeconds) {
    duration = static_cast<double>(*payload.durationSeconds);
  } else if (payload.media && payload.media->durationSeconds) {
    duration = static_cast<double>(*payload.media->durationSeconds);
  }

  // The widget type alone is matched exactly as sent.
  const WidgetType widgetType =
      payload.widgetType ? widgetTypeFromRawValue(*payload.widgetType).value_or(WidgetType::none) : WidgetType::none;

  std::vector<WidgetOption> options;
  if (payload.widgetOptions) {
    options.reserve(payload.widgetOptions->size());
    for (auto& option : *payload.widgetOptions) options.push_back(makeOption(std::move(option)));
  }

  std::optional<WidgetUserVote> userVote;
  if (payload.userVote) {
    userVote.emplace(std::move(payload.userVote->optionId), payload.userVote->votedAt.value_or(now));
  }

  std::optional<Url> ctaURL = normalizedURL(view(payload.ctaUrl));
  std::optional<Url> swipeCallbackURL = normalizedURL(view(payload.swipeCallbackUrl));
  return StoryItem(std::move(payload.id), std::move(payload.title), std::move(payload.bodyText), mediaType,
                   std::move(mediaURL), duration, std::move(payload.ctaText), std::move(ctaURL), widgetType,
                   std::move(payload.widgetQuestion), std::move(swipeCallbackURL), std::move(options),
                   std::move(userVote));
}

}  // namespace

StoryItem makeStoryItem(SdkStoryItemPayload payload, SystemTime now) { return mapItem(payload, now); }

std::optional<StoryGroup> makeStoryGroup(SdkStoryGroupPayload payload, SystemTime now) {
  if (payload.items.empty()) return std::nullopt;
  std::vector<StoryItem> items;
  items.reserve(payload.items.size());
  for (auto& item : payload.items) items.push_back(mapItem(item, now));

  StoryTheme theme = payload.theme ? makeTheme(*payload.theme) : StoryTheme::defaultTheme();
  std::optional<Url> cover = items.front().mediaURL();
  return StoryGroup(std::move(payload.id), std::move(payload.title), std::move(theme), std::move(cover),
                    std::move(items));
}

std::optional<Banner> makeBanner(SdkBannerPayload payload) {
  std::vector<BannerItem> items;
  items.reserve(payload.items.size());
  for (auto& item : payload.items) {
    // The media URL is taken exactly as sent; an item whose URL does not parse cannot be shown.
    std::optional<Url> mediaURL = Url::parse(item.mediaUrl);
    if (!mediaURL) continue;
    items.emplace_back(std::to_string(item.id), std::move(item.mediaAssetId), std::move(*mediaURL), item.orderIndex,
                       ctaType(item.ctaType), normalizedURL(view(item.ctaUrl)));
  }
  if (items.empty()) return std::nullopt;

  const auto& aspectRatio = payload.aspectRatio ? payload.aspectRatio : payload.bannerAspectRatio;
  const auto fixedHeight = payload.fixedHeight ? payload.fixedHeight : payload.bannerFixedHeight;
  return Banner(std::to_string(payload.id), bannerType(payload.type), std::move(payload.placementKey),
                payload.viewOrder, payload.autoplaySeconds.value_or(kDefaultAutoplaySeconds),
                layoutMode(preferPlain(payload.layoutMode, payload.bannerLayoutMode)), aspectRatio, fixedHeight,
                contentMode(preferPlain(payload.contentMode, payload.bannerContentMode)), std::move(items));
}

}  // namespace quenmark
