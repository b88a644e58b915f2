#include "sdk/locale_tags.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quenmark {
namespace {

TEST(LocaleTags, LanguageTagsOfSdkEventsAndAnalytics) {
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases{
      {"en_US", "en-US"},
      {"de", "de"},
      {"pt_BR@calendar=gregorian", "pt-BR"},
      {"zh-Hans_CN", "zh-HANS"},  // the second subtag is the script; later ones are ignored
      {"EN_us", "en-US"},
      {"es_419", "es"},     // a numeric region is left out
      {"e", std::nullopt},  // a single letter
      {"e_US", std::nullopt},
      {"d3", std::nullopt},             // a digit
      {"abcdefgh1_US", "abcdefgh-US"},  // the digit lies beyond the first eight characters
      {"abcdefghij", "abcdefgh"},       // ten letters: the first eight
      {"@1=2", std::nullopt},           // the first non-empty part is the keyword itself
      {"__de--AT", "de-AT"},            // empty parts are dropped
      {"", std::nullopt},
      {"-_", std::nullopt},
      {"fr_ABCDEFGHI", "fr"},         // a second subtag longer than eight letters
      {"caf\xc3\xa9", std::nullopt},  // non-ASCII letters
  };
  for (const auto& [identifier, expected] : cases) {
    EXPECT_EQ(reportedLanguageTag(identifier), expected) << identifier;
    EXPECT_EQ(eventLocaleTagFor(identifier), expected.value_or("en")) << identifier;
  }
}

TEST(LocaleTags, AnalyticsCountryCodeIsExactlyTwoLetters) {
  EXPECT_EQ(analyticsCountryCodeFor(std::string("GB")), "GB");
  EXPECT_EQ(analyticsCountryCodeFor(std::string("gb")), "GB");
  for (auto code : {std::optional<std::string>("419"), std::optional<std::string>("GBR"),
                    std::optional<std::string>(""), std::optional<std::string>()})
    EXPECT_FALSE(analyticsCountryCodeFor(code)) << code.value_or("(none)");
}

}  // namespace
}  // namespace quenmark
