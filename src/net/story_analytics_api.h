#pragma once

#include <quenmark/sdk/story_configuration.h>
#include <quenmark/sdk/story_sdk_event.h>

#include <functional>
#include <optional>
#include <string>

namespace quenmark {

/// Sends one analytics record per reportable story interaction to /sdk/v1/apps/{appKey}/events.
///
/// Fire-and-forget: nothing is reported back, retried or logged. The facade owns the only instance and
/// keeps `sessionId` equal to its own. Use on the main thread.
class StoryAnalyticsAPI {
 public:
  /// Marks a group's placement as viewed in the current session; false when it is unknown or already
  /// marked. Called on the main thread from `track`.
  using PlacementViewMarker = std::function<bool(const std::string& groupId)>;

  /// A client whose session id is a new random UUID text, marking placements through
  /// `markPlacementViewed`.
  explicit StoryAnalyticsAPI(PlacementViewMarker markPlacementViewed);

  const std::string& sessionId() const noexcept { return sessionId_; }
  void setSessionId(std::string sessionId) { sessionId_ = std::move(sessionId); }

  /// Posts the analytics record for `event`, if it has one. Does nothing without a configuration or a
  /// placement key, for banner events, and for story group impressions after the first one of their
  /// placement in the session (those become one "PLACEMENT_VIEWED" record).
  void track(const StorySDKEvent& event, const std::optional<StoryConfiguration>& configuration,
             const std::optional<std::string>& placementKey);

  /// The device's language as analytics reports it ("en-US", "de"); absent when it cannot be read.
  static std::optional<std::string> analyticsLanguageTag();
  /// The device's region when it is two letters ("GB"); absent otherwise.
  static std::optional<std::string> analyticsCountryCode();

 private:
  /// The JSON body for `event`, or nothing when the event has no record.
  std::optional<std::string> makePayload(const StorySDKEvent& event, const std::string& placementKey);

  PlacementViewMarker markPlacementViewed_;
  std::string sessionId_;
};

}  // namespace quenmark
