#pragma once

#include <quenmark/error.h>
#include <quenmark/model/banner.h>
#include <quenmark/model/story_group.h>
#include <quenmark/net/vote_response.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quenmark {

/// The content service's client: a placement's story groups and banners, and votes.
///
/// Start every operation on the main thread. Each reads the configuration and the resolved identity from
/// `StorySDK::shared()` at that moment, sends one request through `platform::sendRequest`, decodes and
/// maps the answer on the HTTP session's thread, and calls its completion exactly once, on the main
/// thread and never before the operation has returned, also for failures found before sending.
/// Failures are `Error` values: the client's own (`StoryAPIError`), or the transport's and the decoder's
/// errors as they came.
///
/// A request in flight keeps what it needs alive; destroying the client does not cancel it, and its
/// completion still runs. Instances are cheap; each view model may own one. Banner lists are cached per
/// placement and identity for the whole process (`BannerCache`).
class StoryAPI {
 public:
  /// Runs on the main thread.
  using StoriesCompletion = std::function<void(Result<std::vector<StoryGroup>>)>;
  /// Runs on the main thread.
  using BannersCompletion = std::function<void(Result<std::vector<Banner>>)>;
  /// Runs on the main thread.
  using VoteCompletion = std::function<void(Result<VoteResponse>)>;

  StoryAPI();
  ~StoryAPI();
  StoryAPI(const StoryAPI&) = delete;
  StoryAPI& operator=(const StoryAPI&) = delete;

  /// The placement's story groups, in the service's order; groups without items are left out. Before the
  /// groups are delivered, the facade records which placement each group came from.
  void fetchStories(const std::string& placementKey, StoriesCompletion completion);

  /// The placement's banners, in the service's order; banners without a showable item are left out. A
  /// success is remembered for the placement and identity; when a later request fails after it was
  /// sent, the remembered list is delivered as a success instead of the error.
  void fetchBanners(const std::string& placementKey, BannersCompletion completion);

  /// Votes for `optionId` on a poll or quiz item. In preview mode nothing is sent and the answer is
  /// `voted` true, the option as passed and a count of 1.
  void submitVote(const std::string& storyItemId, const std::string& optionId, VoteCompletion completion);

 private:
  class Decoding;
  std::shared_ptr<Decoding> decoding_;
};

}  // namespace quenmark
