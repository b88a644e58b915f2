#include <quenmark/sdk/sdk_version.h>
#include <quenmark/sdk/story_configuration.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quenmark {
namespace {

TEST(StoryUIStrings, DefaultStringsAreTheEnglishSetInFieldOrder) {
  auto s = StoryUIStrings::defaultStrings();
  std::vector<std::string> actual{s.pollTitle(),       s.quizTitle(),   s.pollBadgeTitle(), s.quizBadgeTitle(),
                                  s.swipeBadgeTitle(), s.swipeUpHint(), s.voteSingular(),   s.votePlural(),
                                  s.answerSingular(),  s.answerPlural()};
  std::vector<std::string> expected{"Vote",     "Quiz", "Poll",  "Quiz",   "Swipe",
                                    "Swipe up", "vote", "votes", "answer", "answers"};
  EXPECT_EQ(actual, expected);
}

TEST(StoryConfiguration, LegacyGettersAndSettersKeepValuesUnchanged) {
  StoryConfiguration config("secret", "public-key", StoryEnvironment::staging, std::string("  app "), std::nullopt,
                            std::string(""), StoryUIStrings::defaultStrings(), true);
  EXPECT_EQ(config.apiKey(), "secret");
  EXPECT_EQ(config.appId_DEPRECATED(), "public-key");  // the app key, not the app id
  EXPECT_EQ(config.appId(), "  app ");                 // stored untrimmed
  EXPECT_EQ(config.userId(), "");
  EXPECT_EQ(config.environment(), StoryEnvironment::staging);
  EXPECT_TRUE(config.isPreviewMode());

  config.setAppId(std::nullopt);
  config.setUserId(std::string("u1"));
  config.setIsPreviewMode(false);
  config.setUiStrings(StoryUIStrings("a", "b", "c", "d", "e", "f", "g", "h", "i", "j"));
  EXPECT_FALSE(config.appId());
  EXPECT_EQ(config.userId(), "u1");
  EXPECT_FALSE(config.isPreviewMode());
  EXPECT_EQ(config.uiStrings().answerPlural(), "j");
  EXPECT_EQ(std::string(SDK_VERSION), "1.0.0");
}

}  // namespace
}  // namespace quenmark
