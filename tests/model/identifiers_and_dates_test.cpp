#include "model/iso8601.h"
#include "model/uuid_text.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace quenmark {
namespace {

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

TEST(Iso8601, ParsesInternetDateTimesExactlyAndNeverWraps) {
  struct Case {
    const char* text;
    const char* utc;  // nullptr: refused
  };
  const Case cases[] = {
      {"2025-03-01T10:15:30Z", "2025-03-01T10:15:30Z"},
      {"2025-03-01T12:15:30+02:00", "2025-03-01T10:15:30Z"},
      {"2025-03-01T05:15:30-05:00", "2025-03-01T10:15:30Z"},
      {"2025-03-01t10:15:30z", "2025-03-01T10:15:30Z"},
      {"2016-12-31T18:59:60-05:00", "2017-01-01T00:00:00Z"},  // a leap second ends a UTC day
      {"2025-03-01T10:15:60Z", nullptr},
      // The clock's range, to the second; beyond it a time is refused, not wrapped.
      {"1677-09-21T00:12:44Z", "1677-09-21T00:12:44Z"},
      {"2262-04-11T23:47:16Z", "2262-04-11T23:47:16Z"},
      {"1677-09-21T00:12:43Z", nullptr},
      {"2262-04-11T23:47:17Z", nullptr},
      {"9999-12-31T23:59:59Z", nullptr},
      {"0001-01-01T00:00:00Z", nullptr},
      // Every other shape.
      {"+2025-3-01T10:15:30Z", nullptr},
      {"2025-03-01T1:15:30Z ", nullptr},
      {"2025-03-01T10:15:30+24:00", nullptr},
      {"2025-03-01T10:15:30+99:99", nullptr},
      {"2025-03-01T10:15:30+2:00 ", nullptr},
      {"2025-03-01T10:15:30.123Z", nullptr},
      {"2025-03-01T10:15Z", nullptr},
      {"2025-03-01 10:15:30Z", nullptr},
      {"2025-03-01T10:15:30", nullptr},
      {"2025-13-01T10:15:30Z", nullptr},
      {"2025-02-29T10:15:30Z", nullptr},
      {"2025-03-01T24:00:00Z", nullptr},
      {"2025-03-01T10:15:30+0200", nullptr},
      {"", nullptr},
  };
  for (const auto& [text, utc] : cases) {
    const auto parsed = parseIso8601(text);
    EXPECT_EQ(parsed ? std::optional(formatIso8601(*parsed)) : std::nullopt,
              utc ? std::optional<std::string>(utc) : std::nullopt)
        << text;
  }
}

}  // namespace
}  // namespace quenmark
