#pragma once

#include <quenmark/export.h>

#include <string>

namespace quenmark {

/// The words the interactive widgets show, so that a host can localise them.
///
/// An immutable value. `defaultStrings()` is the stock English set (the name `default` is a C++ keyword).
class QUENMARK_EXPORT StoryUIStrings {
 public:
  StoryUIStrings(std::string pollTitle, std::string quizTitle, std::string pollBadgeTitle, std::string quizBadgeTitle,
                 std::string swipeBadgeTitle, std::string swipeUpHint, std::string voteSingular, std::string votePlural,
                 std::string answerSingular, std::string answerPlural);

  /// A fresh copy of the English words: "Vote", "Quiz", "Poll", "Quiz", "Swipe", "Swipe up", "vote",
  /// "votes", "answer", "answers" (in field order).
  static StoryUIStrings defaultStrings();

  const std::string& pollTitle() const noexcept { return pollTitle_; }
  const std::string& quizTitle() const noexcept { return quizTitle_; }
  const std::string& pollBadgeTitle() const noexcept { return pollBadgeTitle_; }
  const std::string& quizBadgeTitle() const noexcept { return quizBadgeTitle_; }
  const std::string& swipeBadgeTitle() const noexcept { return swipeBadgeTitle_; }
  const std::string& swipeUpHint() const noexcept { return swipeUpHint_; }
  const std::string& voteSingular() const noexcept { return voteSingular_; }
  const std::string& votePlural() const noexcept { return votePlural_; }
  const std::string& answerSingular() const noexcept { return answerSingular_; }
  const std::string& answerPlural() const noexcept { return answerPlural_; }

 private:
  std::string pollTitle_;
  std::string quizTitle_;
  std::string pollBadgeTitle_;
  std::string quizBadgeTitle_;
  std::string swipeBadgeTitle_;
  std::string swipeUpHint_;
  std::string voteSingular_;
  std::string votePlural_;
  std::string answerSingular_;
  std::string answerPlural_;
};

}  // namespace quenmark
