#include <quenmark/model/relative_luminance.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/testing/test_platform.h>

#include "model/theme_parsing.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quenmark {
namespace {

const Color kFallback{0.25, 0.5, 0.75, 1.0};

StoryTheme themeWithFamily(std::optional<std::string> family) {
  const StoryTheme& base = StoryTheme::defaultTheme();
  return StoryTheme(base.progressStyle(), base.bubbleStyle(), std::move(family), base.primaryColor(),
                    base.secondaryColor(), base.ctaStyle());
}

TEST(ThemeParsing, StyleTextsMatchTrimmedAndUpperCasedElseTheDefault) {
  for (auto text : {std::optional<std::string_view>(), std::optional<std::string_view>("   "),
                    std::optional<std::string_view>("DOTS"), std::optional<std::string_view>("SEG MENTED")}) {
    EXPECT_EQ(parseProgressStyle(text), ProgressStyle::bar);
    EXPECT_EQ(parseBubbleStyle(text), BubbleStyle::circle);
    EXPECT_EQ(parseCtaStyle(text), CtaStyle::filled);
  }
  EXPECT_EQ(parseProgressStyle("  Segmented\n"), ProgressStyle::segmented);
  EXPECT_EQ(parseProgressStyle("none"), ProgressStyle::none);
  EXPECT_EQ(parseBubbleStyle("rounded"), BubbleStyle::rounded);
  EXPECT_EQ(parseBubbleStyle("\u00A0square\u3000"), BubbleStyle::square);  // non-breaking and ideographic spaces
  EXPECT_EQ(parseCtaStyle("outlined"), CtaStyle::outlined);
  EXPECT_EQ(parseCtaStyle("\tText\r\n"), CtaStyle::text);
  // Letters whose upper case is ASCII select their case like the plain spelling would.
  EXPECT_EQ(parseCtaStyle("\uFB01lled"), CtaStyle::filled);
  EXPECT_EQ(parseCtaStyle("outl\u0131ned"), CtaStyle::outlined);
}

TEST(ThemeParsing, ColorTakesSixOrThreeDigitsOrASignedNumberElseTheFallback) {
  const Color orange{1.0, 136.0 / 255.0, 0.0, 1.0};
  for (const char* text : {"#FF8800", "ff8800", "  #f80 ", "\t#F80\n", "\u00A0ff8800\u2028"})
    EXPECT_EQ(parseColor(text, kFallback), orange) << text;
  // A signed number keeps its low 24 bits: -0x10000 is 0xFF0000.
  const std::pair<const char*, Color> numbers[] = {{"#000000", {0, 0, 0, 1}},
                                                   {"#fff", {1, 1, 1, 1}},
                                                   {"+12345", {1.0 / 255.0, 35.0 / 255.0, 69.0 / 255.0, 1}},
                                                   {"-00001", {1, 1, 1, 1}},
                                                   {"#-0000f", {1, 1, 241.0 / 255.0, 1}},
                                                   {"-10000", {1, 0, 0, 1}}};
  for (const auto& [text, color] : numbers) EXPECT_EQ(parseColor(text, kFallback), color) << text;
  for (const char* text : {"#FF880080", "#FF88", "#GG0000", "", "   ", "##f80", "#+12", "+-1234", "0x1234", "ff 800",
                           "#ff88001", "++1234", "-", "#",
                           "\xEF\xBD\x86\xEF\xBD\x86\xEF\xBD\x86",  // three full-width f
                           "f\xCC\x81"
                           "80",  // f with a combining accent, then 80
                           "#FF\r\n00"}) {
    EXPECT_EQ(parseColor(text, kFallback), kFallback) << text;
  }
  EXPECT_EQ(parseColor(std::nullopt, kFallback), kFallback);
}

TEST(ThemeParsing, FontFamilyIsTrimmedAndBlankMeansAbsent) {
  EXPECT_EQ(parseFontFamily(std::nullopt), std::nullopt);
  EXPECT_EQ(parseFontFamily(""), std::nullopt);
  EXPECT_EQ(parseFontFamily(" \n\t\u2003"), std::nullopt);
  EXPECT_EQ(parseFontFamily("  Avenir Next \n"), std::optional<std::string>("Avenir Next"));
  EXPECT_EQ(parseFontFamily("\u2029Avenir\u00A0"), std::optional<std::string>("Avenir"));
  // Bytes that are not UTF-8 are kept, not cut.
  EXPECT_EQ(parseFontFamily("\xFF Avenir \xC3"), std::optional<std::string>("\xFF Avenir \xC3"));
}

class StoryThemeFont : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_.fonts->add("Brand Sans");
    platform_.install();
  }
  testing::TestPlatform platform_;
};

TEST_F(StoryThemeFont, OnlyAnInstalledFamilyOfTheExactNameGivesACustomFont) {
  EXPECT_EQ(themeWithFamily("Brand Sans").font(17, FontWeight::bold), FontDescription::custom("Brand Sans", 17));
  for (const char* family : {"", "Comic Serif", "brand sans", " Brand Sans"}) {
    EXPECT_EQ(themeWithFamily(family).font(15, FontWeight::semibold), FontDescription::system(15, FontWeight::semibold))
        << family;
  }
  // The system font keeps semibold, medium and bold only.
  const StoryTheme& theme = StoryTheme::defaultTheme();
  for (FontWeight kept : {FontWeight::semibold, FontWeight::medium, FontWeight::bold})
    EXPECT_EQ(theme.font(14, kept), FontDescription::system(14, kept));
  for (FontWeight other : {FontWeight::ultraLight, FontWeight::light, FontWeight::regular, FontWeight::black})
    EXPECT_EQ(theme.font(14, other), FontDescription::system(14, FontWeight::regular));
}

TEST(RelativeLuminance, EndpointsPrimariesAndTheLowThreshold) {
  EXPECT_DOUBLE_EQ(relativeLuminance(Color(1, 1, 1, 1)), 1.0);
  EXPECT_DOUBLE_EQ(relativeLuminance(Color(1, 1, 1, 0)), 1.0);  // alpha is ignored
  EXPECT_EQ(relativeLuminance(Color(0, 0, 0, 1)), 0.0);
  EXPECT_DOUBLE_EQ(relativeLuminance(Color(0, 1, 0, 1)), 0.7152);
  EXPECT_DOUBLE_EQ(relativeLuminance(Color(1, 0, 0, 1)), 0.2126);
  EXPECT_DOUBLE_EQ(relativeLuminance(Color(0, 0, 1, 1)), 0.0722);
  // Up to and including 0.03928 the component is divided by 12.92.
  EXPECT_DOUBLE_EQ(relativeLuminance(Color(0.03928, 0.03928, 0.03928, 1)), 0.03928 / 12.92);
  EXPECT_NEAR(relativeLuminance(Color(0.5, 0.5, 0.5, 1)), 0.2140411, 1e-7);
}

}  // namespace
}  // namespace quenmark
