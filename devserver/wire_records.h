#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "devserver/outcome.h"

namespace quenmark::devserver {

/// Parses a request body that must be one JSON object. The failure text says what is wrong with it
/// (not JSON, too deep, not an object); no exception leaves this function.
Outcome<nlohmann::json> parseBodyObject(std::string_view body);

/// Each returns the first broken rule of the record, or nothing when the body is a valid record.
/// `SdkEventRequest`: the body of POST /sdk/v1/events.
std::optional<std::string> checkSdkEventRequest(const nlohmann::json& body);
/// `AnalyticsEventPayload`: the body of POST /sdk/v1/apps/{appKey}/events.
std::optional<std::string> checkAnalyticsEventPayload(const nlohmann::json& body);
/// `VoteRequestPayload`: the body of POST /sdk/v1/apps/{appKey}/story-items/{storyItemId}/vote.
std::optional<std::string> checkVoteRequest(const nlohmann::json& body);

/// Content records as the content file holds them: the records the service sends, except that the
/// service fills in each user's `userVote` itself (the file may not carry one) and a banner's
/// `placementKey` may be left out (the placement it is listed under is used).
void checkStoryGroupContent(const nlohmann::json& group, const std::string& path, std::string* failure);
void checkBannerContent(const nlohmann::json& banner, const std::string& path, std::string* failure);

/// True for the upper-case names the SDK reports as event types ("STORY_OPEN", "POLL_VOTED").
bool isEventTypeName(std::string_view text);

}  // namespace quenmark::devserver
