#include "net/content_decoder.h"
#include "net/vote_request_encoding.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <tuple>

namespace quenmark {
namespace {

constexpr const char* kGroupId = "3F2504E0-4F89-11D3-9A0C-0305E82C3301";
constexpr const char* kItemId = "7c9e6679-7425-40de-944b-e07fc1f90ae7";

// One stories body with every key of every record, plus keys the records do not know.
constexpr const char* kFullStoriesBody = R"({"schemaVersion": 3, "huge": 1e400, "groups": [{
  "id": "3F2504E0-4F89-11D3-9A0C-0305E82C3301", "title": "Spring sale ✿", "priority": 7,
  "startAt": "2025-03-01T00:00:00Z", "endAt": "not a date, carried as text", "audience": {"segments": ["a", "b"]},
  "theme": {"id": "t1", "name": "Warm", "progressStyle": "segmented", "bubbleStyle": "ROUNDED", "fontFamily": "  Inter ",
            "primaryColor": "#FF8800", "secondaryColor": null, "ctaStyle": "text", "extra": true},
  "items": [{
    "id": "7c9e6679-7425-40de-944b-e07fc1f90ae7", "type": "POLL", "title": "Which one?",
    "bodyText": "Pick your favourite — ünïcödé", "ctaText": "Shop", "ctaUrl": " example.com/shop ", "durationSeconds": 7,
    "media": {"mediaType": "image", "mediaUrl": "https://cdn.example.com/a.jpg", "durationSeconds": 9,
              "w": -123456789012345678901234567890},
    "widgetType": "POLL", "widgetQuestion": "Red or blue?", "swipeCallbackUrl": null,
    "widgetOptions": [
      {"id": "9B2F8C44-1D3E-4A5B-8C6D-7E8F9A0B1C2D", "text": "Red", "emojiPrefix": "🔴", "orderIndex": 1,
       "isCorrect": false, "voteCount": 12},
      {"id": "00000000-0000-0000-0000-000000000001", "text": "Blue", "orderIndex": 0}],
    "userVote": {"optionId": "9B2F8C44-1D3E-4A5B-8C6D-7E8F9A0B1C2D", "votedAt": "2025-03-01T12:15:30+02:00"}}]}]})";

template <class T>
void expectDecodingError(const Result<T>& result, const std::string& description) {
  ASSERT_FALSE(result.ok()) << description;
  EXPECT_EQ(result.error().kind, ErrorKind::decoding);
  EXPECT_EQ(result.error().description, description);
}

TEST(ContentDecoder, DecodesEveryFieldOfAStoriesBodyAndIgnoresUnknownKeys) {
  ContentDecoder decoder;
  auto result = decoder.decodeStories(kFullStoriesBody);
  ASSERT_TRUE(result.ok()) << result.error().description;
  ASSERT_EQ(result->groups.size(), 1u);
  const auto& group = result->groups[0];
  EXPECT_EQ((std::tuple{group.id, group.title, group.priority}),
            (std::tuple{"3f2504e0-4f89-11d3-9a0c-0305e82c3301", "Spring sale ✿", 7}));
  ASSERT_TRUE(group.theme.has_value());
  EXPECT_EQ((std::tuple{group.theme->progressStyle, group.theme->fontFamily, group.theme->primaryColor,
                        group.theme->secondaryColor}),
            (std::tuple{"segmented", "  Inter ", "#FF8800", std::nullopt}));

  ASSERT_EQ(group.items.size(), 1u);
  const auto& item = group.items[0];
  EXPECT_EQ((std::tuple{item.id, item.bodyText, item.ctaUrl, item.durationSeconds, item.swipeCallbackUrl}),
            (std::tuple{kItemId, "Pick your favourite — ünïcödé", " example.com/shop ", 7, std::nullopt}));
  ASSERT_TRUE(item.media.has_value());
  EXPECT_EQ((std::tuple{item.media->mediaType, item.media->durationSeconds}), (std::tuple{"image", 9}));
  ASSERT_EQ(item.widgetOptions.value_or(std::vector<SdkWidgetOptionPayload>{}).size(), 2u);
  const auto& [red, blue] = std::tie((*item.widgetOptions)[0], (*item.widgetOptions)[1]);
  EXPECT_EQ((std::tuple{red.id, red.emojiPrefix, red.isCorrect, red.voteCount}),
            (std::tuple{"9b2f8c44-1d3e-4a5b-8c6d-7e8f9a0b1c2d", "🔴", false, 12}));
  EXPECT_EQ((std::tuple{blue.orderIndex, blue.voteCount}), (std::tuple{0, std::nullopt}));
  ASSERT_TRUE(item.userVote.has_value());
  // 12:15:30 at +02:00 is 10:15:30 UTC.
  EXPECT_EQ(item.userVote->votedAt, parseIso8601("2025-03-01T10:15:30Z"));
}

std::string groupWithItems(const std::string& items) {
  return std::string(R"({"groups": [{"id": ")") + kGroupId + R"(", "title": "T", "items": [)" + items + "]}]}";
}

std::string item(const std::string& id, const std::string& extra = "") {
  return R"({"id": ")" + id + R"(", "type": "IMAGE")" + extra + "}";
}

TEST(ContentDecoder, OneBadRecordFailsTheWholeBodyAndNamesWhereItFailed) {
  ContentDecoder decoder;
  // Which texts are UUIDs and dates is the model's rule (tested there); one case of each shows it is applied.
  const std::pair<std::string, std::string> cases[] = {
      {"{}", "groups: required key is missing"},
      {R"({"groups": null})", "groups: expected an array, found null"},
      {"[]", "top level: expected an object, found an array"},
      {groupWithItems(item(kItemId) + "," + item("abc")), "groups[0].items[1].id: expected a UUID string"},
      {R"({"groups": [], "x": 1e400, "y": 01})", "The body is not valid JSON: Problem while parsing a number"},
      {R"({"groups": 01})", "The body is not valid JSON: Problem while parsing a number"},
      {std::string("{\"groups\": []}\0garbage", 21),  // the whole body counts, not the text before a NUL
       "The body is not valid JSON: The JSON document has an improper structure: missing or superfluous commas, "
       "braces, missing keys, etc."},
      {groupWithItems("[]"), "groups[0].items[0]: expected an object, found an array"},
      {R"({"groups": [{"id": "3F2504E0-4F89-11D3-9A0C-0305E82C3301", "title": null, "items": []}]})",
       "groups[0].title: expected a string, found null"},
      {R"({"groups": [{"id": ")" + std::string(kGroupId) +
           R"(", "title": "T", "items": [], "theme": {"fontFamily": 3}}]})",
       "groups[0].theme.fontFamily: expected a string, found a number"},
  };
  for (const auto& [body, description] : cases) expectDecodingError(decoder.decodeStories(body), description);
  // Keys of the only item, and where that makes it fail after "groups[0].items[0].".
  const std::pair<std::string, std::string> itemCases[] = {
      {R"(, "title": 5)", "title: expected a string, found a number"},
      {R"(, "durationSeconds": "5")", "durationSeconds: expected an integer, found a string"},
      {R"(, "durationSeconds": 5.5)",
       "durationSeconds: expected an integer, found a fractional or out-of-range number"},
      {R"(, "durationSeconds": -1e400)",
       "durationSeconds: expected an integer, found a fractional or out-of-range number"},
      {R"(, "media": {"mediaType": "IMAGE"})", "media.mediaUrl: required key is missing"},
      {R"(, "widgetOptions": [{"id": "9B2F8C44-1D3E-4A5B-8C6D-7E8F9A0B1C2D", "text": "A"}])",
       "widgetOptions[0].orderIndex: required key is missing"},
      {R"(, "widgetOptions": [{"id": "9B2F8C44-1D3E-4A5B-8C6D-7E8F9A0B1C2D", "text": "A", "orderIndex": 0,
          "isCorrect": "yes"}])",
       "widgetOptions[0].isCorrect: expected a boolean, found a string"},
      {R"(, "userVote": {"optionId": "9B2F8C44-1D3E-4A5B-8C6D-7E8F9A0B1C2D", "votedAt": "2025-03-01T10:15:30.123Z"})",
       "userVote.votedAt: expected an ISO 8601 date-time string with seconds and a zone"},
      {R"(, "userVote": {"votedAt": null})", "userVote.optionId: required key is missing"},
      {R"(, "media": "https://cdn.example.com/a.jpg")", "media: expected an object, found a string"},
  };
  for (const auto& [extra, description] : itemCases) {
    expectDecodingError(decoder.decodeStories(groupWithItems(item(kItemId, extra))),
                        "groups[0].items[0]." + description);
  }
  expectDecodingError(decoder.decodeStories(groupWithItems(R"({"id": ")" + std::string(kItemId) + R"("})")),
                      "groups[0].items[0].type: required key is missing");
  EXPECT_EQ(decoder.decodeVoteResponse("").error().kind, ErrorKind::decoding);
  // The parser is reused after failures.
  EXPECT_TRUE(decoder.decodeStories(kFullStoriesBody).ok());
}

std::string banner(const std::string& id, const std::string& extra = "") {
  return R"({"banners": [{"id": )" + id + R"(, "type": "static", "placementKey": "home", "viewOrder": 0, "items": [)" +
         R"({"id": 9007199254740993, "mediaUrl": "https://cdn.example.com/b.png", "orderIndex": 2}])" + extra + "}]}";
}

TEST(ContentDecoder, BannerIdentifiersAreSigned64BitNumbers) {
  ContentDecoder decoder;
  for (const auto& [text, id] : {std::pair{"17", 17LL}, {"17.0", 17LL}, {"-9223372036854775808", INT64_MIN}}) {
    auto decoded = decoder.decodeBanners(banner(text));
    ASSERT_TRUE(decoded.ok()) << decoded.error().description;
    EXPECT_EQ(decoded->banners[0].id, id);
    EXPECT_EQ(decoded->banners[0].items[0].id, 9007199254740993);  // beyond a double's exact range
  }
  expectDecodingError(decoder.decodeBanners(banner(R"("17")")), "banners[0].id: expected an integer, found a string");
  expectDecodingError(decoder.decodeBanners(banner("9223372036854775808")),
                      "banners[0].id: expected an integer in the signed 64-bit range");
  expectDecodingError(
      decoder.decodeBanners(R"({"banners": [{"id": 1, "type": "STATIC", "viewOrder": 0, "items": []}]})"),
      "banners[0].placementKey: required key is missing");
  expectDecodingError(
      decoder.decodeBanners(
          R"({"banners": [{"id": 1, "type": "STATIC", "placementKey": "p", "viewOrder": 0, "items": [{"id": 1, "mediaUrl": "", "orderIndex": 0, "ctaUrl": 4}]}]})"),
      "banners[0].items[0].ctaUrl: expected a string, found a number");
}

TEST(ContentDecoder, BannerKeepsBothSpellingsOfLayoutSettings) {
  ContentDecoder decoder;
  auto result = decoder.decodeBanners(banner("1", R"(, "layoutMode": "weird", "bannerLayoutMode": "FIXED_HEIGHT",
      "fixedHeight": null, "bannerFixedHeight": 180, "aspectRatio": "16:9", "contentMode": "fit", "autoplaySeconds": 3)"));
  ASSERT_TRUE(result.ok()) << result.error().description;
  const auto& b = result->banners[0];
  EXPECT_EQ((std::tuple{b.layoutMode, b.bannerLayoutMode, b.fixedHeight, b.bannerFixedHeight, b.aspectRatio,
                        b.contentMode, b.autoplaySeconds}),
            (std::tuple{"weird", "FIXED_HEIGHT", std::nullopt, 180, "16:9", "fit", 3}));
}

TEST(VoteRequestEncoding, LeavesAbsentFieldsOut) {
  // The fields present are the vote request's (StoryAPITest.VoteRequestAndResponse).
  EXPECT_EQ(encodeVoteRequest(VoteRequestPayload{"opt-1", std::nullopt, std::nullopt, std::nullopt}).value(),
            R"({"optionId":"opt-1"})");
}

}  // namespace
}  // namespace quenmark
