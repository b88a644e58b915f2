#include "model/iso8601.h"
#include "model/uuid_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quenmark {
namespace {

TEST(UuidText, CanonicalFormIsLowerCaseAndOnlyTheStrictFormIsAccepted) {
  EXPECT_EQ(canonicalUuid("6F9619FF-8B86-D011-B42D-00C04FC964FF"), "6f9619ff-8b86-d011-b42d-00c04fc964ff");
  EXPECT_EQ(canonicalUuid("6f9619ff-8b86-d011-b42d-00c04fc964ff"), "6f9619ff-8b86-d011-b42d-00c04fc964ff");
  for (std::string_view text : {std::string_view("abc"), std::string_view("6f9619ff8b86d011b42d00c04fc964ff"),
                                std::string_view("{6f9619ff-8b86-d011-b42d-00c04fc964ff}"),
                                std::string_view("6f9619ff-8b86-d011-b42d-00c04fc964fg"),
                                std::string_view(" 6f9619ff-8b86-d011-b42d-00c04fc964f"),
                                std::string_view("6f9619ff-8b86-d011-b42d-00c04fc964f\0", 36)})
    EXPECT_FALSE(canonicalUuid(text)) << text;
}

TEST(Iso8601, ParsesInternetDateTimesExactlyAndNeverWraps) {
  const std::pair<const char*, const char*> accepted[] = {
      {"2025-03-01T10:15:30Z", "2025-03-01T10:15:30Z"},
      {"2025-03-01T12:15:30+02:00", "2025-03-01T10:15:30Z"},
      {"2025-03-01T05:15:30-05:00", "2025-03-01T10:15:30Z"},
      {"2025-03-01t10:15:30z", "2025-03-01T10:15:30Z"},
      {"2016-12-31T18:59:60-05:00", "2017-01-01T00:00:00Z"},  // a leap second ends a UTC day
      // The clock's range, to the second; beyond it a time is refused, not wrapped.
      {"1677-09-21T00:12:44Z", "1677-09-21T00:12:44Z"},
      {"2262-04-11T23:47:16Z", "2262-04-11T23:47:16Z"},
  };
  for (const auto& [text, utc] : accepted) {
    const auto parsed = parseIso8601(text);
    EXPECT_EQ(parsed ? std::optional(formatIso8601(*parsed)) : std::nullopt, std::optional<std::string>(utc)) << text;
  }
  for (const char* text :
       {"2025-03-01T10:15:60Z", "1677-09-21T00:12:43Z", "2262-04-11T23:47:17Z", "9999-12-31T23:59:59Z",
        "0001-01-01T00:00:00Z", "+2025-3-01T10:15:30Z", "2025-03-01T1:15:30Z ", "2025-03-01T10:15:30+24:00",
        "2025-03-01T10:15:30+99:99", "2025-03-01T10:15:30+2:00 ", "2025-03-01T10:15:30.123Z", "2025-03-01T10:15Z",
        "2025-03-01 10:15:30Z", "2025-03-01T10:15:30", "2025-13-01T10:15:30Z", "2025-02-29T10:15:30Z",
        "2025-03-01T24:00:00Z", "2025-03-01T10:15:30+0200", ""}) {
    EXPECT_FALSE(parseIso8601(text)) << text;
  }
}

}  // namespace
}  // namespace quenmark
