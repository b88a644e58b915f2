#include <quenmark/model/banner.h>
#include <quenmark/model/model_json.h>
#include <quenmark/model/story_item.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cmath>
#include <limits>
#include <set>
#include <string>

namespace quenmark {
namespace {

using nlohmann::json;
using std::chrono::system_clock;

Url url(const char* text) { return *Url::parse(text); }

// 2026-01-31T09:05:00Z
const system_clock::time_point kVotedAt = system_clock::time_point{std::chrono::seconds{1769850300}};

StoryItem bareItem(double duration = 5.0, std::optional<std::string> title = std::nullopt) {
  return StoryItem("item-1", std::move(title), std::nullopt, std::nullopt, std::nullopt, duration, std::nullopt,
                   std::nullopt, WidgetType::none, std::nullopt, std::nullopt, {}, std::nullopt);
}

StoryItem fullItem() {
  return StoryItem(
      "8c0f2a4e-1d3b-4c5a-9e7f-0a1b2c3d4e5f", "Summer sale", "Up to 50% off \u2600", StoryMediaType::video,
      url("https://cdn.example.com/v/1.mp4"), 7.25, "Shop now", url("myapp://shop/summer?ref=story"), WidgetType::quiz,
      "Which one?", url("https://example.com/swipe"),
      {WidgetOption("a", "Left", "\U0001F448", 0, true, 12), WidgetOption("b", "Right", std::nullopt, 1, false, 3)},
      WidgetUserVote("b", kVotedAt));
}

Banner fullBanner() {
  return Banner(
      "42", BannerType::story, "home_top", -1, 0, BannerLayoutMode::fixedHeight, "16:9", 180, BannerContentMode::fit,
      {BannerItem("7", "asset-7", url("https://cdn.example.com/7.webp"), 0, BannerCtaType::deepLink,
                  url("myapp://promo/7")),
       BannerItem("8", std::nullopt, url("https://cdn.example.com/b.jpg"), 1, BannerCtaType::none, std::nullopt)});
}

std::set<std::string> keysOf(const json& object) {
  std::set<std::string> keys;
  for (const auto& [key, value] : object.items()) keys.insert(key);
  return keys;
}

/// The JSON of `value` with `key` removed, or replaced by `replacement` when given.
template <class Value>
std::string jsonWith(const Value& value, const char* key, std::optional<json> replacement = std::nullopt) {
  json object = json::parse(encodeJson(value).value());
  if (replacement) {
    object[key] = *replacement;
  } else {
    object.erase(key);
  }
  return object.dump();
}

template <class T>
void expectDecodingError(const Result<T>& result, const std::string& mentioned) {
  ASSERT_FALSE(result.ok()) << mentioned;
  EXPECT_EQ(result.error().kind, ErrorKind::decoding);
  EXPECT_NE(result.error().description.find(mentioned), std::string::npos) << result.error().description;
}

TEST(ModelJson, StoryItemsRoundTripUnderTheirFieldNamesLeavingAbsentValuesOut) {
  const json full = json::parse(encodeJson(fullItem()).value());
  EXPECT_EQ(keysOf(full),
            (std::set<std::string>{"id", "title", "bodyText", "mediaType", "mediaURL", "duration", "ctaTitle", "ctaURL",
                                   "widgetType", "widgetQuestion", "swipeCallbackURL", "widgetOptions", "userVote"}));
  EXPECT_EQ(full["mediaType"], "VIDEO");
  EXPECT_EQ(full["duration"], 7.25);
  EXPECT_EQ(full["userVote"], (json{{"optionId", "b"}, {"votedAt", "2026-01-31T09:05:00Z"}}));
  EXPECT_EQ(keysOf(full["widgetOptions"][1]),
            (std::set<std::string>{"id", "text", "orderIndex", "isCorrect", "voteCount"}));
  EXPECT_EQ(decodeStoryItemJson(full.dump()).value(), fullItem());

  const json bare = json::parse(encodeJson(bareItem()).value());
  EXPECT_EQ(bare,
            (json{{"id", "item-1"}, {"duration", 5.0}, {"widgetType", "NONE"}, {"widgetOptions", json::array()}}));
  EXPECT_EQ(decodeStoryItemJson(bare.dump()).value(), bareItem());
  // Optional keys may also be null.
  for (const char* key : {"title", "bodyText", "mediaType", "mediaURL", "ctaTitle", "ctaURL", "widgetQuestion",
                          "swipeCallbackURL", "userVote"}) {
    EXPECT_TRUE(decodeStoryItemJson(jsonWith(fullItem(), key, json(nullptr))).ok()) << key;
  }
}

TEST(ModelJson, StoryItemKeysAndValuesThatBreakTheRecordFailNamingTheKey) {
  for (const char* key : {"id", "duration", "widgetType", "widgetOptions"}) {
    expectDecodingError(decodeStoryItemJson(jsonWith(fullItem(), key)), std::string("\"") + key + "\"");
  }
  const std::pair<const char*, json> bad[] = {{"id", nullptr},
                                              {"widgetType", "poll"},
                                              {"mediaType", "GIF"},
                                              {"mediaURL", "not a url"},
                                              {"ctaURL", "/relative"},
                                              {"duration", "5"},
                                              {"title", 3},
                                              {"widgetOptions", json::object()},
                                              {"userVote", "b"},
                                              {"duration", json::array({})},
                                              {"swipeCallbackURL", 1}};
  for (const auto& [key, value] : bad) {
    expectDecodingError(decodeStoryItemJson(jsonWith(fullItem(), key, value)), std::string("\"") + key + "\"");
  }
  // Nested records name the path; with several faults the first key in field order is the one reported.
  expectDecodingError(decodeStoryItemJson(jsonWith(fullItem(), "userVote", json{{"optionId", "b"}, {"votedAt", "x"}})),
                      "\"userVote.votedAt\"");
  expectDecodingError(decodeStoryItemJson(jsonWith(fullItem(), "userVote", json::object())), "\"userVote.optionId\"");
  expectDecodingError(decodeStoryItemJson(jsonWith(fullItem(), "widgetOptions", json::array({json{{"id", "x"}}}))),
                      "\"widgetOptions[0].text\"");
  expectDecodingError(decodeStoryItemJson(jsonWith(fullItem(), "widgetOptions", json::array({"b"}))),
                      "\"widgetOptions[0]\"");
  for (const char* text : {"", "[]", "\"item\"", "{\"id\": \"a\",", "null", "{\"id\": \"\xFF\"}"}) {
    EXPECT_FALSE(decodeStoryItemJson(text).ok()) << text;
  }
}

TEST(ModelJson, IntegersMustBeWholeAndInRange) {
  const auto withOrderIndex = [](json value) {
    json object = {{"id", "a"}, {"text", "A"}, {"orderIndex", std::move(value)}, {"voteCount", 0}};
    return decodeWidgetOptionJson(object.dump());
  };
  EXPECT_EQ(withOrderIndex(-4).value().orderIndex(), -4);
  EXPECT_EQ(withOrderIndex(2.0).value().orderIndex(), 2);
  EXPECT_EQ(withOrderIndex(std::numeric_limits<std::int64_t>::max()).value().orderIndex(),
            std::numeric_limits<std::int64_t>::max());
  for (const json& bad : {json(2.5), json(static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1),
                          json(1e300), json(true)}) {
    EXPECT_FALSE(withOrderIndex(bad).ok()) << bad;
  }
}

TEST(ModelJson, ValuesJsonCannotCarryFailToEncodeInsteadOfBeingLost) {
  for (const auto& item : {bareItem(std::nan("")), bareItem(5.0, std::string("caf\xC3"))}) {
    ASSERT_FALSE(encodeJson(item).ok());
    EXPECT_EQ(encodeJson(item).error().kind, ErrorKind::encoding);
  }
  EXPECT_FALSE(encodeJson(WidgetOption("a", "\xFF", std::nullopt, 0, std::nullopt, 0)).ok());
}

TEST(ModelJson, BannersRoundTripLeavingAbsentLayoutValuesOut) {
  const json object = json::parse(encodeJson(fullBanner()).value());
  EXPECT_EQ((json{object["type"], object["bannerLayoutMode"], object["bannerFixedHeight"], object["bannerAspectRatio"],
                  object["items"][0]["ctaType"]}),
            (json{"STORY", "FIXED_HEIGHT", 180, "16:9", "DEEP_LINK"}));
  EXPECT_EQ(keysOf(object["items"][1]), (std::set<std::string>{"id", "mediaURL", "orderIndex", "ctaType"}));
  EXPECT_EQ(decodeBannerJson(object.dump()).value(), fullBanner());
  EXPECT_EQ(decodeBannerItemJson(object["items"][0].dump()).value(), fullBanner().items()[0]);

  const Banner bare("41", BannerType::carousel, "home_top", 2, 5, BannerLayoutMode::auto_, std::nullopt, std::nullopt,
                    BannerContentMode::cover, {});
  const json bareObject = json::parse(encodeJson(bare).value());
  EXPECT_FALSE(bareObject.contains("bannerAspectRatio") || bareObject.contains("bannerFixedHeight"));
  json withNulls = bareObject;
  withNulls["bannerAspectRatio"] = nullptr;
  withNulls["bannerFixedHeight"] = nullptr;
  EXPECT_EQ(decodeBannerJson(withNulls.dump()).value(), bare);
}

TEST(ModelJson, BannerKeysAndValuesThatBreakTheRecordFailNamingTheKey) {
  for (const char* key : {"id", "type", "placementKey", "viewOrder", "autoplaySeconds", "bannerLayoutMode",
                          "bannerContentMode", "items"}) {
    expectDecodingError(decodeBannerJson(jsonWith(fullBanner(), key)), std::string("\"") + key + "\"");
  }
  const std::pair<const char*, json> bad[] = {
      {"type", "carousel"}, {"bannerFixedHeight", "180"}, {"bannerAspectRatio", 1.5}, {"autoplaySeconds", 2.5}};
  for (const auto& [key, value] : bad) {
    expectDecodingError(decodeBannerJson(jsonWith(fullBanner(), key, value)), std::string("\"") + key + "\"");
  }
  json items = json::parse(encodeJson(fullBanner()).value())["items"];
  items[1]["ctaType"] = "OPEN";
  expectDecodingError(decodeBannerJson(jsonWith(fullBanner(), "items", items)), "\"items[1].ctaType\"");
  items[1]["ctaType"] = "NONE";
  items[1]["mediaURL"] = "cdn.example.com/b.jpg";
  expectDecodingError(decodeBannerJson(jsonWith(fullBanner(), "items", items)), "\"items[1].mediaURL\"");
}

}  // namespace
}  // namespace quenmark
