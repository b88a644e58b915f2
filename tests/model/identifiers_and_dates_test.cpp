#include "model/iso8601.h"
#include "model/uuid_text.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace quenmark {
namespace {

TEST(UuidText, NewIdentifiersAreDistinctUpperCaseCanonicalText) {
  const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    std::string id = makeUuidText();
    EXPECT_TRUE(std::regex_match(id, form)) << id;
    seen.insert(id);
  }
  EXPECT_EQ(seen.size(), 100u);
}

TEST(UuidText, CanonicalFormIsLowerCaseAndOnlyTheStrictFormIsAccepted) {
  EXPECT_EQ(canonicalUuid("6F9619FF-8B86-D011-B42D-00C04FC964FF"), "6f9619ff-8b86-d011-b42d-00c04fc964ff");
  EXPECT_EQ(canonicalUuid("6f9619ff-8b86-d011-b42d-00c04fc964ff"), "6f9619ff-8b86-d011-b42d-00c04fc964ff");
  EXPECT_FALSE(canonicalUuid("abc"));
  EXPECT_FALSE(canonicalUuid("6f9619ff8b86d011b42d00c04fc964ff"));
  EXPECT_FALSE(canonicalUuid("{6f9619ff-8b86-d011-b42d-00c04fc964ff}"));
  EXPECT_FALSE(canonicalUuid("6f9619ff-8b86-d011-b42d-00c04fc964fg"));
  EXPECT_FALSE(canonicalUuid(" 6f9619ff-8b86-d011-b42d-00c04fc964f"));
  EXPECT_FALSE(canonicalUuid(std::string_view("6f9619ff-8b86-d011-b42d-00c04fc964f\0", 36)));
}

TEST(Iso8601, FormatsUtcWithWholeSeconds) {
  SystemTime t = SystemTime{std::chrono::seconds{1769850300}} + std::chrono::milliseconds{999};
  EXPECT_EQ(formatIso8601(t), "2026-01-31T09:05:00Z");
}

TEST(Iso8601, ParsesZuluAndOffsetsAndRefusesEverythingElse) {
  auto zulu = parseIso8601("2025-03-01T10:15:30Z");
  ASSERT_TRUE(zulu);
  EXPECT_EQ(formatIso8601(*zulu), "2025-03-01T10:15:30Z");
  auto offset = parseIso8601("2025-03-01T12:15:30+02:00");
  ASSERT_TRUE(offset);
  EXPECT_EQ(*offset, *zulu);
  EXPECT_EQ(parseIso8601("2025-03-01T05:15:30-05:00"), zulu);

  for (const char* bad : {"2025-03-01T10:15:30.123Z", "2025-03-01T10:15Z", "2025-03-01 10:15:30Z",
                          "2025-03-01T10:15:30", "2025-13-01T10:15:30Z", "2025-02-30T10:15:30Z", "2025-03-01T25:15:30Z",
                          "", "garbage", "2025-03-01T10:15:30+0200", "2025-03-01T10:15:30+02:00x"}) {
    EXPECT_FALSE(parseIso8601(bad)) << bad;
  }
}

}  // namespace
}  // namespace quenmark
