#pragma once

#include <quenmark/error.h>
#include <quenmark/export.h>
#include <quenmark/net/vote_response.h>
#include <quenmark/sdk/sdk_version.h>
#include <quenmark/sdk/story_configuration.h>
#include <quenmark/sdk/story_sdk_event.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quenmark {

class StoryGroup;
class StoryAnalyticsAPI;
class StoryAPI;
enum class SdkEventType : int;

/// The SDK's one facade: configuration, identity, session and event reporting.
///
/// There is one instance for the life of the process (`shared()`). Call it on the main thread: its state
/// has no lock, and the SDK's own parts only use it there.
///
/// Typical use: `StorySDK::shared().configure(config)` once at start-up, optionally `setEventHandler`,
/// then show the SDK's views; call `updateSession` when the signed-in user or app identity changes.
class StorySDK {
 public:
  /// The host's event handler. Runs synchronously on the thread of the tracking site (the main thread).
  using EventHandler = std::function<void(const StorySDKEvent&)>;

  /// The single instance, created on first use (thread-safe, exactly once).
  QUENMARK_EXPORT static StorySDK& shared();

  /// A copy of the current configuration; absent before the first `configure`.
  QUENMARK_EXPORT std::optional<StoryConfiguration> configuration() const;

  /// Stores a copy of `configuration` (replacing any earlier one whole), loads or creates the anonymous
  /// user id and starts a new session. Sends and fetches nothing; keeps the event handler.
  QUENMARK_EXPORT void configure(const StoryConfiguration& configuration);

  /// Replaces the configured app, bundle and user ids with the arguments that are present (an absent
  /// argument keeps the stored value; an empty one replaces it). Starts a new session when the identity
  /// changed by more than surrounding white space. Ignored before `configure`.
  QUENMARK_EXPORT void updateSession(std::optional<std::string> appId, std::optional<std::string> bundleId,
                                     std::optional<std::string> userId);

  /// The host's handler; an empty function when none is set.
  QUENMARK_EXPORT EventHandler eventHandler() const;
  /// Stores `handler`, replacing any earlier one; an empty function removes it.
  QUENMARK_EXPORT void setEventHandler(EventHandler handler);

  /// Receives the outcome of `recordVote`, on the main thread.
  using VoteCompletion = std::function<void(Result<VoteResponse>)>;

  /// Votes for `optionId` on the poll or quiz item `storyItemId` on the user's behalf and returns at
  /// once. `completion` runs exactly once, later, on the main thread: with the service's answer, or with
  /// an error (a `StoryAPIError` such as "Story SDK is not configured.", or the transport's or decoder's
  /// own). In preview mode nothing is sent and the answer is `voted` true, `optionId` and a count of 1.
  /// The vote is neither stored on the device nor reported as an event.
  QUENMARK_EXPORT void recordVote(const std::string& storyItemId, const std::string& optionId,
                                  VoteCompletion completion);

  // ---------------------------------------------------------------------------------------------------
  // Internal: used by the SDK's own parts, on the main thread. Not exported from the shared library.
  // ---------------------------------------------------------------------------------------------------

  /// Trimmed configured app id, else the trimmed bundle identifier, else the configured app key
  /// (untrimmed, even empty); absent before `configure` when there is no bundle identifier.
  std::optional<std::string> resolvedAppId() const;
  /// Trimmed configured bundle id, else the trimmed bundle identifier of the host.
  std::optional<std::string> resolvedBundleId() const;
  /// Trimmed configured user id, else the anonymous user id when it is not empty.
  std::optional<std::string> resolvedUserId() const;
  /// "quenmark_widget_vote:" appKey (or "unknown-app") ":" user ":" storyItemId, where user is
  /// `resolvedUserId()` or else the (possibly empty) anonymous id.
  std::string voteStorageKey(const std::string& storyItemId) const;

  /// Records that `groups` were loaded for `placementKey` (replacing earlier entries of the same ids).
  void registerPlacement(const std::vector<StoryGroup>& groups, const std::string& placementKey);
  /// The placement key registered for a story group, if any.
  std::optional<std::string> placementKeyForGroup(const std::string& groupId) const;
  /// For story events, the placement registered for the event's group; for banner events, the event's
  /// own placement key.
  std::optional<std::string> placementKeyFor(const StorySDKEvent& event) const;
  /// Marks the placement of `groupId` as viewed in this session. False when the group was never
  /// registered or its placement was already marked in this session.
  bool markPlacementViewed(const std::string& groupId);

  /// Reports an interaction the three ways, in this order: the host's handler (always, configured or
  /// not), the analytics client (with `placementKeyFor(event)`), and the matching SDK event for
  /// `placementKey` (the reporting view's own key). Every tracking site goes through here.
  void report(const StorySDKEvent& event, const std::string& placementKey);
  /// A call-to-action tap in the viewer: an SDK event only (sent every time).
  void reportCtaClick(const std::string& placementKey, const std::string& groupId, const std::string& itemId);
  /// An item shown long enough in the viewer: an SDK event only (once per session).
  void reportStoryItemView(const std::string& placementKey, const std::string& groupId, const std::string& itemId);

  /// Posts a story SDK event unless not configured or already sent in this session (de-duplicated kinds).
  void sendStoryEvent(SdkEventType type, const std::string& placementKey,
                      const std::optional<std::string>& storyGroupId, const std::optional<std::string>& storyItemId);
  /// Posts a banner SDK event unless not configured or already sent in this session (de-duplicated kinds).
  void sendBannerEvent(SdkEventType type, const std::string& placementKey, const std::string& bannerId,
                       const std::optional<std::string>& bannerItemId);
  /// The device locale as the SDK events report it ("en-US", "de"; "en" when it cannot be read).
  std::string eventLocaleTag() const;

  /// A new session id (shared with the analytics client) and empty de-duplication sets.
  void startNewSession();
  /// The current session id; empty before `configure`.
  const std::string& sessionId() const;
  /// The anonymous user id of this installation; empty before `configure`.
  const std::string& anonymousUserId() const;
  /// The analytics client the facade owns.
  StoryAnalyticsAPI& analyticsAPI();

  /// The content client the facade owns (one instance, created with the facade); votes go through it.
  StoryAPI& storyAPI();

  StorySDK(const StorySDK&) = delete;
  StorySDK& operator=(const StorySDK&) = delete;

 private:
  StorySDK();
  ~StorySDK();

  struct State;
  std::unique_ptr<State> state_;

  friend void resetStorySDKForTesting();
};

}  // namespace quenmark
