#include "net/payload_mapping.h"

#include <quenmark/model/story_theme.h>

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

namespace quenmark {
namespace {

const SystemTime kNow = SystemTime{std::chrono::seconds{1798761600}};

SdkStoryItemPayload plainItem(std::string id = "7c9e6679-7425-40de-944b-e07fc1f90ae7") {
  return {.id = std::move(id), .type = "IMAGE"};
}

TEST(PayloadMapping, ItemDefaultsAndCaseRules) {
  EXPECT_EQ(makeStoryItem(plainItem(), kNow),
            StoryItem("7c9e6679-7425-40de-944b-e07fc1f90ae7", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                      5.0, std::nullopt, std::nullopt, WidgetType::none, std::nullopt, std::nullopt, {}, std::nullopt));

  auto item = plainItem();
  item.media = {"video", "https://cdn.example.com/v.mp4", 8};
  item.widgetType = "poll";  // the widget type alone is matched exactly
  auto mapped = makeStoryItem(item, kNow);
  EXPECT_EQ((std::tuple{mapped.mediaType(), mapped.mediaURL()->string(), mapped.duration(), mapped.widgetType()}),
            (std::tuple{StoryMediaType::video, "https://cdn.example.com/v.mp4", 8.0, WidgetType::none}));

  item.durationSeconds = 12;
  item.widgetType = "QUIZ";
  item.media = {"GIF", " https://cdn.example.com/v.mp4"};  // media URLs are not trimmed
  mapped = makeStoryItem(item, kNow);
  EXPECT_EQ((std::tuple{mapped.duration(), mapped.widgetType(), mapped.mediaType(), mapped.mediaURL()}),
            (std::tuple{12.0, WidgetType::quiz, std::nullopt, std::nullopt}));
}

TEST(PayloadMapping, OptionsKeepResponseOrderAndVotesGetAFallbackTime) {
  auto item = plainItem();
  item.widgetType = "POLL";
  item.widgetOptions = std::vector<SdkWidgetOptionPayload>{
      {"00000000-0000-0000-0000-000000000002", "C", "🟢", 2, std::nullopt, 4},
      {"00000000-0000-0000-0000-000000000000", "A", std::nullopt, 0, true, std::nullopt},
      {"00000000-0000-0000-0000-000000000001", "B", std::nullopt, 1, false, 0}};
  item.userVote = SdkWidgetUserVotePayload{"00000000-0000-0000-0000-000000000001", std::nullopt};
  auto mapped = makeStoryItem(item, kNow);
  EXPECT_EQ(mapped.widgetOptions(),
            (std::vector<WidgetOption>{{"00000000-0000-0000-0000-000000000002", "C", "🟢", 2, std::nullopt, 4},
                                       {"00000000-0000-0000-0000-000000000000", "A", std::nullopt, 0, true, 0},
                                       {"00000000-0000-0000-0000-000000000001", "B", std::nullopt, 1, false, 0}}));
  ASSERT_TRUE(mapped.userVote().has_value());
  EXPECT_EQ(mapped.userVote()->votedAt(), kNow);

  const SystemTime earlier = kNow - std::chrono::hours{30};
  item.userVote->votedAt = earlier;
  EXPECT_EQ(makeStoryItem(item, kNow).userVote()->votedAt(), earlier);
}

TEST(PayloadMapping, NormalizedUrlTrimsAndAddsHttpsOnlyWithoutAScheme) {
  EXPECT_FALSE(normalizedURL(std::nullopt).has_value());
  EXPECT_FALSE(normalizedURL("").has_value());
  EXPECT_FALSE(normalizedURL(" \t\n ").has_value());
  EXPECT_EQ(normalizedURL("  example.com/shop?x=1 \n")->string(), "https://example.com/shop?x=1");
  EXPECT_EQ(normalizedURL(" https://example.com/a ")->string(), "https://example.com/a");
  EXPECT_EQ(normalizedURL("myapp://open/product/7")->string(), "myapp://open/product/7");
  EXPECT_EQ(normalizedURL("mailto:help@example.com")->string(), "mailto:help@example.com");
  EXPECT_FALSE(normalizedURL("exa mple.com").has_value());

  const SdkStoryItemPayload item{.id = "7c9e6679-7425-40de-944b-e07fc1f90ae7",
                                 .type = "IMAGE",
                                 .ctaText = "Go",
                                 .ctaUrl = "   ",
                                 .swipeCallbackUrl = " shop.example.com/deal "};
  auto mapped = makeStoryItem(item, kNow);
  EXPECT_EQ((std::tuple{mapped.ctaTitle(), mapped.ctaURL(), mapped.swipeCallbackURL()}),
            (std::tuple{"Go", std::nullopt, Url::parse("https://shop.example.com/deal")}));
}

TEST(PayloadMapping, GroupDropsEmptyGroupsAndTakesCoverFromTheFirstItemOnly) {
  SdkStoryGroupPayload group{.id = "3f2504e0-4f89-11d3-9a0c-0305e82c3301", .title = "Title"};
  EXPECT_FALSE(makeStoryGroup(group, kNow).has_value());

  group.items.push_back(plainItem());
  auto second = plainItem("00000000-0000-0000-0000-00000000000a");
  second.media = {"IMAGE", "https://cdn.example.com/b.jpg"};
  group.items.push_back(second);
  EXPECT_EQ(makeStoryGroup(group, kNow),
            StoryGroup(group.id, "Title", StoryTheme::defaultTheme(), std::nullopt,
                       {makeStoryItem(group.items[0], kNow), makeStoryItem(group.items[1], kNow)}));

  std::swap(group.items[0], group.items[1]);
  EXPECT_EQ(makeStoryGroup(group, kNow)->coverImageURL()->string(), "https://cdn.example.com/b.jpg");
}

TEST(PayloadMapping, ThemeConvertsEachFieldWithDefaultFallbacks) {
  SdkStoryGroupPayload group{.id = "3f2504e0-4f89-11d3-9a0c-0305e82c3301", .title = "T", .items = {plainItem()}};
  group.theme = SdkThemeResponse{.progressStyle = " segmented ",
                                 .bubbleStyle = "hexagon",
                                 .fontFamily = "  \n",
                                 .primaryColor = "#f80",
                                 .secondaryColor = "#FF880080",
                                 .ctaStyle = "outlined"};
  auto mapped = makeStoryGroup(group, kNow);
  const StoryTheme& defaults = StoryTheme::defaultTheme();
  EXPECT_EQ(mapped->theme(),
            StoryTheme(ProgressStyle::segmented, BubbleStyle::circle, std::nullopt, Color(1.0, 136.0 / 255.0, 0.0, 1.0),
                       defaults.secondaryColor(), CtaStyle::outlined));

  group.theme = SdkThemeResponse{.fontFamily = " Inter Display "};
  EXPECT_EQ(makeStoryGroup(group, kNow)->theme().fontFamily(), "Inter Display");
}

SdkBannerItemPayload bannerItem(std::int64_t id, std::string url) { return {.id = id, .mediaUrl = std::move(url)}; }

SdkBannerPayload bannerWith(std::vector<SdkBannerItemPayload> items) {
  return {.id = 9007199254740993, .type = "carousel", .placementKey = "home_top", .viewOrder = -1, .items = items};
}

TEST(PayloadMapping, BannerDropsUnparsableItemsAndEmptyBanners) {
  EXPECT_FALSE(makeBanner(bannerWith({bannerItem(1, ""), bannerItem(2, "not a url")})).has_value());
  EXPECT_FALSE(makeBanner(bannerWith({})).has_value());

  const SdkBannerItemPayload kept{.id = 3,
                                  .mediaAssetId = "asset-3",
                                  .mediaUrl = "https://cdn.example.com/b.png",
                                  .orderIndex = 4,
                                  .ctaType = "deep_link",
                                  .ctaUrl = " shop.example.com "};
  const SdkBannerItemPayload odd{.id = -5, .mediaUrl = "https://cdn.example.com/c.png", .ctaType = "OPEN"};
  EXPECT_EQ(makeBanner(bannerWith({bannerItem(1, " https://cdn.example.com/a.png"), kept, odd})),
            Banner("9007199254740993", BannerType::carousel, "home_top", -1, 5, BannerLayoutMode::auto_, std::nullopt,
                   std::nullopt, BannerContentMode::cover,
                   {BannerItem("3", "asset-3", *Url::parse("https://cdn.example.com/b.png"), 4, BannerCtaType::deepLink,
                               Url::parse("https://shop.example.com")),
                    BannerItem("-5", std::nullopt, *Url::parse("https://cdn.example.com/c.png"), 0, BannerCtaType::none,
                               std::nullopt)}));
}

TEST(PayloadMapping, BannerLayoutTakesThePlainKeyPerSetting) {
  auto payload = bannerWith({bannerItem(1, "https://cdn.example.com/a.png")});
  const auto items = makeBanner(payload)->items();
  payload.type = "Static";
  payload.autoplaySeconds = 0;
  payload.layoutMode = "stretch";  // present but unknown: auto, not the prefixed key's mode
  payload.bannerLayoutMode = "FIXED_HEIGHT";
  payload.bannerFixedHeight = 180;
  payload.aspectRatio = "16:9";
  payload.bannerAspectRatio = "4:3";
  payload.bannerContentMode = "fit";
  EXPECT_EQ(makeBanner(payload), Banner("9007199254740993", BannerType::static_, "home_top", -1, 0,
                                        BannerLayoutMode::auto_, "16:9", 180, BannerContentMode::fit, items));

  payload.type = "story";
  payload.layoutMode.reset();
  payload.fixedHeight = 96;
  payload.contentMode = "cover";
  EXPECT_EQ(makeBanner(payload), Banner("9007199254740993", BannerType::story, "home_top", -1, 0,
                                        BannerLayoutMode::fixedHeight, "16:9", 96, BannerContentMode::cover, items));
}

}  // namespace
}  // namespace quenmark
