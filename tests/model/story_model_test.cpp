#include <quenmark/model/model_json.h>
#include <quenmark/model/story_group.h>
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

WidgetOption option(const char* id, std::int64_t orderIndex, std::int64_t votes = 0) {
  return WidgetOption(id, std::string("Answer ") + id, std::nullopt, orderIndex, std::nullopt, votes);
}

StoryItem plainItem(std::vector<WidgetOption> options = {}, std::optional<WidgetUserVote> vote = std::nullopt) {
  return StoryItem("item-1", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 5.0, std::nullopt, std::nullopt,
                   WidgetType::none, std::nullopt, std::nullopt, std::move(options), std::move(vote));
}

StoryItem fullItem() {
  return StoryItem(
      "8c0f2a4e-1d3b-4c5a-9e7f-0a1b2c3d4e5f", "Summer sale", "Up to 50% off \u2600", StoryMediaType::video,
      url("https://cdn.example.com/v/1.mp4"), 7.25, "Shop now", url("myapp://shop/summer?ref=story"), WidgetType::quiz,
      "Which one?", url("https://example.com/swipe"),
      {WidgetOption("a", "Left", "\U0001F448", 0, true, 12), WidgetOption("b", "Right", std::nullopt, 1, false, 3)},
      WidgetUserVote("b", kVotedAt));
}

std::set<std::string> keysOf(const json& object) {
  std::set<std::string> keys;
  for (const auto& [key, value] : object.items()) keys.insert(key);
  return keys;
}

/// `base` with `key` removed (or replaced by `value` when given), decoded as a story item.
Result<StoryItem> decodeItemWith(const char* key, std::optional<json> value = std::nullopt) {
  json object = json::parse(encodeJson(fullItem()).value());
  if (value) {
    object[key] = *value;
  } else {
    object.erase(key);
  }
  return decodeStoryItemJson(object.dump());
}

void expectDecodingError(const Result<StoryItem>& result, const std::string& mentioned) {
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error().kind, ErrorKind::decoding);
  EXPECT_NE(result.error().description.find(mentioned), std::string::npos) << result.error().description;
}

TEST(StoryEnumerations, RawValuesMatchExactlyAndCaseSensitively) {
  EXPECT_EQ(widgetTypeFromRawValue("poll"), std::nullopt);
  EXPECT_EQ(widgetTypeFromRawValue("POLL"), WidgetType::poll);
  EXPECT_EQ(widgetTypeFromRawValue(" POLL"), std::nullopt);
  EXPECT_EQ(fromRawValue<WidgetType>("SWIPE"), WidgetType::swipe);
  EXPECT_EQ(storyMediaTypeFromRawValue("video"), std::nullopt);
  EXPECT_EQ(fromRawValue<StoryMediaType>("VIDEO"), StoryMediaType::video);
  for (WidgetType type : {WidgetType::none, WidgetType::poll, WidgetType::quiz, WidgetType::swipe}) {
    EXPECT_EQ(widgetTypeFromRawValue(rawValue(type)), type);
  }
  EXPECT_EQ(rawValue(WidgetType::none), "NONE");
  EXPECT_EQ(rawValue(StoryMediaType::image), "IMAGE");
}

TEST(StoryValues, EqualityComparesOptionsInOrderAndVotesExactly) {
  EXPECT_EQ(plainItem({option("a", 0), option("b", 1)}), plainItem({option("a", 0), option("b", 1)}));
  EXPECT_NE(plainItem({option("a", 0), option("b", 1)}), plainItem({option("b", 1), option("a", 0)}));
  EXPECT_NE(plainItem({option("a", 0)}), plainItem({option("a", 0), option("b", 1)}));
  EXPECT_NE(plainItem({option("a", 0, 1)}), plainItem({option("a", 0, 2)}));
  EXPECT_NE(plainItem({}, WidgetUserVote("a", kVotedAt)),
            plainItem({}, WidgetUserVote("a", kVotedAt + std::chrono::nanoseconds(1))));
  EXPECT_NE(plainItem({}, WidgetUserVote("a", kVotedAt)), plainItem());
  EXPECT_NE(WidgetOption("a", "A", std::nullopt, 0, std::nullopt, 0),
            WidgetOption("a", "A", std::nullopt, 0, false, 0));
}

TEST(StoryValues, GroupsKeepWhatTheHostGivesAndCompareTheirTheme) {
  const StoryGroup empty("g", "Empty", StoryTheme::defaultTheme(), std::nullopt, {});
  EXPECT_TRUE(empty.items().empty());
  const StoryItem negative("i", std::nullopt, std::nullopt, std::nullopt, std::nullopt, -3.0, std::nullopt,
                           std::nullopt, WidgetType::poll, std::nullopt, std::nullopt, {}, std::nullopt);
  EXPECT_EQ(negative.duration(), -3.0);
  EXPECT_TRUE(negative.widgetOptions().empty());

  const StoryTheme& base = StoryTheme::defaultTheme();
  const StoryTheme pinkFirst(base.progressStyle(), base.bubbleStyle(), base.fontFamily(), base.secondaryColor(),
                             base.primaryColor(), base.ctaStyle());
  EXPECT_NE(StoryGroup("g", "Empty", pinkFirst, std::nullopt, {}), empty);
  EXPECT_NE(StoryGroup("g", "Empty", base, url("https://cdn.example.com/c.jpg"), {}), empty);
}

TEST(StoryItemJson, AbsentOptionalsAreLeftOut) {
  const json object = json::parse(encodeJson(plainItem()).value());
  EXPECT_EQ(keysOf(object), (std::set<std::string>{"id", "duration", "widgetType", "widgetOptions"}));
  EXPECT_EQ(object["widgetType"], "NONE");
  EXPECT_EQ(object["widgetOptions"], json::array());
  EXPECT_EQ(decodeStoryItemJson(object.dump()).value(), plainItem());
}

TEST(StoryItemJson, FullItemUsesFieldNamesAndRoundTrips) {
  const json object = json::parse(encodeJson(fullItem()).value());
  EXPECT_EQ(keysOf(object),
            (std::set<std::string>{"id", "title", "bodyText", "mediaType", "mediaURL", "duration", "ctaTitle", "ctaURL",
                                   "widgetType", "widgetQuestion", "swipeCallbackURL", "widgetOptions", "userVote"}));
  EXPECT_EQ(object["mediaType"], "VIDEO");
  EXPECT_EQ(object["ctaURL"], "myapp://shop/summer?ref=story");
  EXPECT_EQ(object["duration"], 7.25);
  EXPECT_EQ(object["userVote"], (json{{"optionId", "b"}, {"votedAt", "2026-01-31T09:05:00Z"}}));
  EXPECT_EQ(keysOf(object["widgetOptions"][0]),
            (std::set<std::string>{"id", "text", "emojiPrefix", "orderIndex", "isCorrect", "voteCount"}));
  EXPECT_EQ(keysOf(object["widgetOptions"][1]),
            (std::set<std::string>{"id", "text", "orderIndex", "isCorrect", "voteCount"}));

  const Result<StoryItem> decoded = decodeStoryItemJson(object.dump());
  ASSERT_TRUE(decoded.ok()) << decoded.error().description;
  EXPECT_EQ(decoded.value(), fullItem());
}

TEST(StoryItemJson, OptionalKeysMayBeMissingOrNull) {
  const Result<StoryItem> withoutVote = decodeItemWith("userVote");
  ASSERT_TRUE(withoutVote.ok()) << withoutVote.error().description;
  EXPECT_EQ(withoutVote.value().userVote(), std::nullopt);

  for (const char* key : {"title", "bodyText", "mediaType", "mediaURL", "ctaTitle", "ctaURL", "widgetQuestion",
                          "swipeCallbackURL", "userVote"}) {
    SCOPED_TRACE(key);
    const Result<StoryItem> withNull = decodeItemWith(key, json(nullptr));
    ASSERT_TRUE(withNull.ok()) << withNull.error().description;
  }
  const json optionWithNulls = {{"id", "a"},         {"text", "A"},          {"emojiPrefix", nullptr},
                                {"orderIndex", 2.0}, {"isCorrect", nullptr}, {"voteCount", 9}};
  EXPECT_EQ(decodeWidgetOptionJson(optionWithNulls.dump()).value(),
            WidgetOption("a", "A", std::nullopt, 2, std::nullopt, 9));
}

TEST(StoryItemJson, RequiredKeysAndBadValuesFailNamingTheKey) {
  for (const char* key : {"id", "duration", "widgetType", "widgetOptions"}) {
    SCOPED_TRACE(key);
    expectDecodingError(decodeItemWith(key), std::string("\"") + key + "\"");
  }
  expectDecodingError(decodeItemWith("id", json(nullptr)), "\"id\"");
  expectDecodingError(decodeItemWith("widgetType", "poll"), "\"widgetType\"");
  expectDecodingError(decodeItemWith("mediaType", "GIF"), "\"mediaType\"");
  expectDecodingError(decodeItemWith("mediaURL", "not a url"), "\"mediaURL\"");
  expectDecodingError(decodeItemWith("ctaURL", "/relative/path"), "\"ctaURL\"");
  expectDecodingError(decodeItemWith("duration", "5"), "\"duration\"");
  expectDecodingError(decodeItemWith("title", 3), "\"title\"");
  expectDecodingError(decodeItemWith("widgetOptions", json::object()), "\"widgetOptions\"");
  expectDecodingError(decodeItemWith("userVote", "b"), "\"userVote\"");
  expectDecodingError(decodeItemWith("userVote", json{{"optionId", "b"}, {"votedAt", "2026-01-31 09:05"}}),
                      "\"userVote.votedAt\"");
  expectDecodingError(decodeItemWith("userVote", json{{"votedAt", "2026-01-31T09:05:00Z"}}), "\"userVote.optionId\"");
  // With several faults the first key in field order is the one reported.
  expectDecodingError(decodeItemWith("widgetOptions", json::array({json{{"id", "x"}}})), "\"widgetOptions[0].text\"");
  expectDecodingError(decodeItemWith("userVote", json::object()), "\"userVote.optionId\"");

  json badOption = json::parse(encodeJson(fullItem()).value())["widgetOptions"];
  badOption[1].erase("voteCount");
  expectDecodingError(decodeItemWith("widgetOptions", badOption), "\"widgetOptions[1].voteCount\"");
  badOption[1] = "b";
  expectDecodingError(decodeItemWith("widgetOptions", badOption), "\"widgetOptions[1]\"");
}

TEST(StoryItemJson, IntegersAndTextThatIsNotAnObjectFail) {
  const json base = {{"id", "a"}, {"text", "A"}, {"orderIndex", 0}, {"voteCount", 0}};
  const auto withOrderIndex = [&](json value) {
    json object = base;
    object["orderIndex"] = std::move(value);
    return decodeWidgetOptionJson(object.dump());
  };
  EXPECT_EQ(withOrderIndex(-4).value().orderIndex(), -4);
  EXPECT_EQ(withOrderIndex(std::numeric_limits<std::int64_t>::max()).value().orderIndex(),
            std::numeric_limits<std::int64_t>::max());
  EXPECT_FALSE(withOrderIndex(2.5).ok());
  EXPECT_FALSE(withOrderIndex(static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1).ok());
  EXPECT_FALSE(withOrderIndex(1e300).ok());
  EXPECT_FALSE(withOrderIndex(true).ok());
  json isCorrectText = base;
  isCorrectText["isCorrect"] = "yes";
  EXPECT_FALSE(decodeWidgetOptionJson(isCorrectText.dump()).ok());

  for (const char* text : {"", "[]", "\"item\"", "{\"id\": \"a\",", "null", "{\"id\": \"\xFF\"}"}) {
    SCOPED_TRACE(text);
    const Result<StoryItem> result = decodeStoryItemJson(text);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, ErrorKind::decoding);
  }
}

TEST(WidgetUserVoteJson, VotedAtIsUtcTextWithWholeSeconds) {
  const WidgetUserVote vote("a", kVotedAt + std::chrono::milliseconds(750));
  const json object = json::parse(encodeJson(vote).value());
  EXPECT_EQ(object["votedAt"], "2026-01-31T09:05:00Z");
  EXPECT_EQ(decodeWidgetUserVoteJson(object.dump()).value(), WidgetUserVote("a", kVotedAt));
  EXPECT_EQ(decodeWidgetUserVoteJson(R"({"optionId": "a", "votedAt": "2026-01-31T11:05:00+02:00"})").value(),
            WidgetUserVote("a", kVotedAt));
  EXPECT_FALSE(decodeWidgetUserVoteJson(R"({"optionId": "a", "votedAt": 1769850300})").ok());
}

TEST(StoryItemJson, ValuesJsonCannotCarryFailToEncodeInsteadOfBeingLost) {
  const StoryItem notANumber("i", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nan(""), std::nullopt,
                             std::nullopt, WidgetType::none, std::nullopt, std::nullopt, {}, std::nullopt);
  ASSERT_FALSE(encodeJson(notANumber).ok());
  EXPECT_EQ(encodeJson(notANumber).error().kind, ErrorKind::encoding);

  const StoryItem brokenText("i", std::string("caf\xC3"), std::nullopt, std::nullopt, std::nullopt, 5.0, std::nullopt,
                             std::nullopt, WidgetType::none, std::nullopt, std::nullopt, {}, std::nullopt);
  ASSERT_FALSE(encodeJson(brokenText).ok());
  EXPECT_EQ(encodeJson(brokenText).error().kind, ErrorKind::encoding);
  EXPECT_FALSE(encodeJson(WidgetOption("a", "\xFF", std::nullopt, 0, std::nullopt, 0)).ok());
}

}  // namespace
}  // namespace quenmark
