#pragma once

#include <quenmark/url.h>

#include <optional>
#include <string>
#include <variant>

namespace quenmark {

/// The cases of `StorySDKEvent`, one struct each, with their labelled payloads.
namespace story_sdk_event {

/// A story group's bubble was shown in a story bar.
struct StoryGroupImpression {
  std::string groupId;
};
/// The viewer opened on a story group.
struct StoryOpen {
  std::string groupId;
};
/// A story item was shown in the viewer.
struct StoryItemImpression {
  std::string groupId;
  std::string itemId;
};
/// The viewer was closed while showing a story group.
struct StoryClose {
  std::string groupId;
};
/// The last item of a story group played to its end.
struct StoryCompleted {
  std::string groupId;
};
/// A poll was shown.
struct PollViewed {
  std::string groupId;
  std::string itemId;
};
/// The user voted in a poll.
struct PollVoted {
  std::string groupId;
  std::string itemId;
};
/// A quiz was shown.
struct QuizViewed {
  std::string groupId;
  std::string itemId;
};
/// The user answered a quiz.
struct QuizAnswered {
  std::string groupId;
  std::string itemId;
};
/// The user swiped up on a swipe-up item.
struct SwipeUp {
  std::string groupId;
  std::string itemId;
};
/// A banner (or one of its items) was shown.
struct BannerImpression {
  std::string bannerId;
  std::optional<std::string> bannerItemId;
  std::string placementKey;
};
/// A banner (or one of its items) was tapped; `url` is the link it opens, if any.
struct BannerClick {
  std::string bannerId;
  std::optional<std::string> bannerItemId;
  std::string placementKey;
  std::optional<Url> url;
};

}  // namespace story_sdk_event

/// What the user saw or did, as passed to the host's event handler.
///
/// A `std::variant` of the twelve case structs, in this order (`index()` gives it): storyGroupImpression,
/// storyOpen, storyItemImpression, storyClose, storyCompleted, pollViewed, pollVoted, quizViewed,
/// quizAnswered, swipeUp, bannerImpression, bannerClick. Visit it with `std::visit`, test it with
/// `std::holds_alternative` / `std::get_if`; each case is also reachable by a nested name:
///
///     StorySDKEvent event = StorySDKEvent::StoryOpen{"group-1"};
///     if (auto* open = std::get_if<StorySDKEvent::StoryOpen>(&event)) use(open->groupId);
struct StorySDKEvent
    : std::variant<story_sdk_event::StoryGroupImpression, story_sdk_event::StoryOpen,
                   story_sdk_event::StoryItemImpression, story_sdk_event::StoryClose, story_sdk_event::StoryCompleted,
                   story_sdk_event::PollViewed, story_sdk_event::PollVoted, story_sdk_event::QuizViewed,
                   story_sdk_event::QuizAnswered, story_sdk_event::SwipeUp, story_sdk_event::BannerImpression,
                   story_sdk_event::BannerClick> {
  using StoryGroupImpression = story_sdk_event::StoryGroupImpression;
  using StoryOpen = story_sdk_event::StoryOpen;
  using StoryItemImpression = story_sdk_event::StoryItemImpression;
  using StoryClose = story_sdk_event::StoryClose;
  using StoryCompleted = story_sdk_event::StoryCompleted;
  using PollViewed = story_sdk_event::PollViewed;
  using PollVoted = story_sdk_event::PollVoted;
  using QuizViewed = story_sdk_event::QuizViewed;
  using QuizAnswered = story_sdk_event::QuizAnswered;
  using SwipeUp = story_sdk_event::SwipeUp;
  using BannerImpression = story_sdk_event::BannerImpression;
  using BannerClick = story_sdk_event::BannerClick;

  using variant::variant;

  /// The underlying variant (for code that wants the plain type).
  const variant& asVariant() const noexcept { return *this; }
};

}  // namespace quenmark
