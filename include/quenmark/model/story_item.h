#pragma once

#include <quenmark/export.h>
#include <quenmark/model/story_media_type.h>
#include <quenmark/model/widget_option.h>
#include <quenmark/model/widget_type.h>
#include <quenmark/model/widget_user_vote.h>
#include <quenmark/url.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quenmark {

/// One full-screen page of a story group: an image or a video with optional texts, call to action
/// and interactive widget. An immutable value; `id` is its identity.
class QUENMARK_EXPORT StoryItem {
 public:
  /// Stores every field unchanged (nothing is normalised, sorted or validated).
  StoryItem(std::string id, std::optional<std::string> title, std::optional<std::string> bodyText,
            std::optional<StoryMediaType> mediaType, std::optional<Url> mediaURL, double duration,
            std::optional<std::string> ctaTitle, std::optional<Url> ctaURL, WidgetType widgetType,
            std::optional<std::string> widgetQuestion, std::optional<Url> swipeCallbackURL,
            std::vector<WidgetOption> widgetOptions, std::optional<WidgetUserVote> userVote)
      : id_(std::move(id)),
        title_(std::move(title)),
        bodyText_(std::move(bodyText)),
        mediaType_(mediaType),
        mediaURL_(std::move(mediaURL)),
        duration_(duration),
        ctaTitle_(std::move(ctaTitle)),
        ctaURL_(std::move(ctaURL)),
        widgetType_(widgetType),
        widgetQuestion_(std::move(widgetQuestion)),
        swipeCallbackURL_(std::move(swipeCallbackURL)),
        widgetOptions_(std::move(widgetOptions)),
        userVote_(std::move(userVote)) {}

  const std::string& id() const noexcept { return id_; }
  const std::optional<std::string>& title() const noexcept { return title_; }
  const std::optional<std::string>& bodyText() const noexcept { return bodyText_; }
  /// Kind of media; absent when the item has none or its kind was not recognised.
  std::optional<StoryMediaType> mediaType() const noexcept { return mediaType_; }
  const std::optional<Url>& mediaURL() const noexcept { return mediaURL_; }
  /// Display time in seconds.
  double duration() const noexcept { return duration_; }
  const std::optional<std::string>& ctaTitle() const noexcept { return ctaTitle_; }
  const std::optional<Url>& ctaURL() const noexcept { return ctaURL_; }
  WidgetType widgetType() const noexcept { return widgetType_; }
  const std::optional<std::string>& widgetQuestion() const noexcept { return widgetQuestion_; }
  /// Target opened by the swipe-up gesture.
  const std::optional<Url>& swipeCallbackURL() const noexcept { return swipeCallbackURL_; }
  /// Answers of a poll or quiz in the order the service sent them; empty for other items.
  const std::vector<WidgetOption>& widgetOptions() const noexcept { return widgetOptions_; }
  /// The current user's earlier choice, if the service reported one.
  const std::optional<WidgetUserVote>& userVote() const noexcept { return userVote_; }

  friend bool operator==(const StoryItem&, const StoryItem&) = default;

 private:
  std::string id_;
  std::optional<std::string> title_;
  std::optional<std::string> bodyText_;
  std::optional<StoryMediaType> mediaType_;
  std::optional<Url> mediaURL_;
  double duration_;
  std::optional<std::string> ctaTitle_;
  std::optional<Url> ctaURL_;
  WidgetType widgetType_;
  std::optional<std::string> widgetQuestion_;
  std::optional<Url> swipeCallbackURL_;
  std::vector<WidgetOption> widgetOptions_;
  std::optional<WidgetUserVote> userVote_;
};

}  // namespace quenmark
