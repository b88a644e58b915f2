#pragma once

#include <quenmark/sdk/story_sdk_event.h>

#include <nlohmann/json.hpp>

#include <string>

namespace quenmark::cli {

/// The event's case name ("storyOpen", "bannerClick", ...).
std::string eventName(const StorySDKEvent& event);
/// {"event": case name, then the payload's labelled fields}; absent optionals are left out.
nlohmann::json eventJson(const StorySDKEvent& event);
/// One readable line: "storyOpen groupId=... itemId=...".
std::string eventLine(const StorySDKEvent& event);

}  // namespace quenmark::cli
