#pragma once

#include <quenmark/model/banner.h>
#include <quenmark/model/story_group.h>
#include <quenmark/net/vote_response.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace quenmark::cli {

/// Story groups as JSON for machines: groups with their theme and the items in the SDK's item coding.
nlohmann::json storiesJson(const std::vector<StoryGroup>& groups);
/// Banners as JSON for machines, in the SDK's banner coding.
nlohmann::json bannersJson(const std::vector<Banner>& banners);
nlohmann::json voteJson(const VoteResponse& response);

/// Readable tables.
std::string storiesTable(const std::vector<StoryGroup>& groups);
std::string bannersTable(const std::vector<Banner>& banners);
std::string voteText(const VoteResponse& response);

/// "#RRGGBB" (or "#RRGGBBAA" when not opaque).
std::string colorHex(const Color& color);

}  // namespace quenmark::cli
