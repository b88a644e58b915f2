#pragma once

#include <quenmark/export.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace quenmark {

/// One answer of a poll or quiz. An immutable value; `id` is its identity.
class QUENMARK_EXPORT WidgetOption {
 public:
  /// Stores every field unchanged.
  WidgetOption(std::string id, std::string text, std::optional<std::string> emojiPrefix, std::int64_t orderIndex,
               std::optional<bool> isCorrect, std::int64_t voteCount)
      : id_(std::move(id)),
        text_(std::move(text)),
        emojiPrefix_(std::move(emojiPrefix)),
        orderIndex_(orderIndex),
        isCorrect_(isCorrect),
        voteCount_(voteCount) {}

  /// Option id; the value sent when the user votes.
  const std::string& id() const noexcept { return id_; }
  /// Answer text.
  const std::string& text() const noexcept { return text_; }
  /// Emoji shown before the text.
  const std::optional<std::string>& emojiPrefix() const noexcept { return emojiPrefix_; }
  /// Position given by the service.
  std::int64_t orderIndex() const noexcept { return orderIndex_; }
  /// For a quiz, whether this is the right answer; absent when the service does not say.
  std::optional<bool> isCorrect() const noexcept { return isCorrect_; }
  /// Votes this option has received.
  std::int64_t voteCount() const noexcept { return voteCount_; }

  friend bool operator==(const WidgetOption&, const WidgetOption&) = default;

 private:
  std::string id_;
  std::string text_;
  std::optional<std::string> emojiPrefix_;
  std::int64_t orderIndex_;
  std::optional<bool> isCorrect_;
  std::int64_t voteCount_;
};

}  // namespace quenmark
