#include <quenmark/sdk/story_configuration.h>
#include <quenmark/sdk/story_ui_strings.h>

#include <utility>

namespace quenmark {

StoryUIStrings::StoryUIStrings(std::string pollTitle, std::string quizTitle, std::string pollBadgeTitle,
                               std::string quizBadgeTitle, std::string swipeBadgeTitle, std::string swipeUpHint,
                               std::string voteSingular, std::string votePlural, std::string answerSingular,
                               std::string answerPlural)
    : pollTitle_(std::move(pollTitle)),
      quizTitle_(std::move(quizTitle)),
      pollBadgeTitle_(std::move(pollBadgeTitle)),
      quizBadgeTitle_(std::move(quizBadgeTitle)),
      swipeBadgeTitle_(std::move(swipeBadgeTitle)),
      swipeUpHint_(std::move(swipeUpHint)),
      voteSingular_(std::move(voteSingular)),
      votePlural_(std::move(votePlural)),
      answerSingular_(std::move(answerSingular)),
      answerPlural_(std::move(answerPlural)) {}

StoryUIStrings StoryUIStrings::defaultStrings() {
  return StoryUIStrings("Vote", "Quiz", "Poll", "Quiz", "Swipe", "Swipe up", "vote", "votes", "answer", "answers");
}

StoryConfiguration::StoryConfiguration(std::string sdkKey, std::string appKey, StoryEnvironment environment,
                                       std::optional<std::string> appId, std::optional<std::string> bundleId,
                                       std::optional<std::string> userId, StoryUIStrings uiStrings, bool isPreviewMode)
    : sdkKey_(std::move(sdkKey)),
      appKey_(std::move(appKey)),
      environment_(environment),
      appId_(std::move(appId)),
      bundleId_(std::move(bundleId)),
      userId_(std::move(userId)),
      uiStrings_(std::move(uiStrings)),
      isPreviewMode_(isPreviewMode) {}

}  // namespace quenmark
