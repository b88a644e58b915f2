// Bodies an attacker or a broken proxy could send: the decoder must answer every one of them with a
// value or an error, never crash, hang or read outside the body.
#include "net/content_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace quenmark {
namespace {

const std::string kStories =
    R"({"groups":[{"id":"3F2504E0-4F89-11D3-9A0C-0305E82C3301","title":"T ✿",)"
    R"("theme":{"primaryColor":"#FF8800"},"items":[{"id":"7c9e6679-7425-40de-944b-e07fc1f90ae7",)"
    R"("type":"POLL","durationSeconds":7,"media":{"mediaType":"IMAGE","mediaUrl":"https://c/a.jpg"},)"
    R"("widgetOptions":[{"id":"9B2F8C44-1D3E-4A5B-8C6D-7E8F9A0B1C2D","text":"Red","orderIndex":1}],)"
    R"("userVote":{"optionId":"9B2F8C44-1D3E-4A5B-8C6D-7E8F9A0B1C2D","votedAt":"2025-03-01T12:15:30Z"}}]}]})";
const std::string kBanners =
    R"({"banners":[{"id":17,"type":"STORY","placementKey":"home","viewOrder":0,)"
    R"("items":[{"id":170,"mediaUrl":"https://c/b.png","orderIndex":0,"ctaType":"DEEP_LINK"}]}]})";

TEST(ContentDecoderHostileInput, EveryPrefixAndRandomCorruptionGivesAValueOrAnError) {
  ContentDecoder decoder;
  ASSERT_TRUE(decoder.decodeStories(kStories).ok());
  ASSERT_TRUE(decoder.decodeBanners(kBanners).ok());

  for (const std::string* body : {&kStories, &kBanners}) {
    for (size_t length = 0; length < body->size(); ++length) {
      // Copy the prefix into a buffer of exactly that size so that a read past the end is caught by ASan.
      std::string prefix = body->substr(0, length);
      EXPECT_FALSE(decoder.decodeStories(prefix).ok() && decoder.decodeBanners(prefix).ok());
    }
  }

  std::mt19937 random(20261206);
  for (int round = 0; round < 2000; ++round) {
    std::string body = round % 2 == 0 ? kStories : kBanners;
    for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
      body[random() % body.size()] = static_cast<char>(random() % 256);
    }
    auto stories = decoder.decodeStories(body);
    auto banners = decoder.decodeBanners(body);
    auto vote = decoder.decodeVoteResponse(body);
    EXPECT_TRUE(stories.ok() || stories.error().kind == ErrorKind::decoding);
    EXPECT_TRUE(banners.ok() || banners.error().kind == ErrorKind::decoding);
    EXPECT_TRUE(vote.ok() || vote.error().kind == ErrorKind::decoding);
  }
}

TEST(ContentDecoderHostileInput, DeepNestingHugeNumbersAndBadTextAreRefused) {
  ContentDecoder decoder;
  std::string deep = R"({"groups":[)" + std::string(100000, '[') + std::string(100000, ']') + "]}";
  EXPECT_FALSE(decoder.decodeStories(deep).ok());

  EXPECT_FALSE(
      decoder.decodeBanners(R"({"banners":[{"id":1e400,"type":"STATIC","placementKey":"p","viewOrder":0,"items":[]}]})")
          .ok());
  EXPECT_FALSE(
      decoder
          .decodeBanners(
              R"({"banners":[{"id":99999999999999999999,"type":"STATIC","placementKey":"p","viewOrder":0,"items":[]}]})")
          .ok());
  EXPECT_FALSE(
      decoder
          .decodeStories(
              "{\"groups\":[{\"id\":\"3F2504E0-4F89-11D3-9A0C-0305E82C3301\",\"title\":\"\xff\xfe\",\"items\":[]}]}")
          .ok())
      << "invalid UTF-8";
  EXPECT_FALSE(decoder.decodeStories(std::string("{\"groups\":[]}\0garbage", 21)).ok());
  EXPECT_FALSE(decoder.decodeVoteResponse("").ok());
  EXPECT_TRUE(decoder.decodeStories(R"({"groups":[]})").ok()) << "the decoder is still usable afterwards";
}

}  // namespace
}  // namespace quenmark
