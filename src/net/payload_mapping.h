#pragma once

#include "model/iso8601.h"
#include "net/content_payloads.h"

#include <quenmark/model/banner.h>
#include <quenmark/model/story_group.h>
#include <quenmark/model/story_item.h>
#include <quenmark/url.h>

#include <optional>
#include <string_view>

namespace quenmark {

// Turns decoded wire records into the content model. These functions never fail and keep no state:
// they fill in defaults, accept the service's enumeration texts in any letter case (all but the widget
// type, which must match exactly), and silently leave out what cannot be shown. The records are taken
// by value so that their texts can be moved into the model.

/// The group, or nothing when it has no items. `now` stands in for a recorded vote without a time.
std::optional<StoryGroup> makeStoryGroup(SdkStoryGroupPayload payload, SystemTime now);

/// Always an item. `now` stands in for a recorded vote without a time.
StoryItem makeStoryItem(SdkStoryItemPayload payload, SystemTime now);

/// The banner, or nothing when none of its items has a media URL that parses.
std::optional<Banner> makeBanner(SdkBannerPayload payload);

/// A call-to-action or swipe URL from the service's text: trimmed of white space and line breaks
/// (blank gives nothing), kept when it parses with a scheme of its own (deep links included),
/// otherwise read as "https://" followed by the text.
std::optional<Url> normalizedURL(std::optional<std::string_view> text);

}  // namespace quenmark
