#pragma once

#include <quenmark/error.h>
#include <quenmark/export.h>
#include <quenmark/model/banner.h>
#include <quenmark/model/banner_item.h>
#include <quenmark/model/story_item.h>
#include <quenmark/model/widget_option.h>
#include <quenmark/model/widget_user_vote.h>

#include <string>
#include <string_view>

namespace quenmark {

// JSON text of the content values, for hosts that store or pass them around themselves. The SDK
// itself never uses this form (the service's records are a different format).
//
// Keys are the field names ("id", "mediaURL", "widgetOptions", "bannerFixedHeight", ...). Required
// fields are always written; optional ones are written only when present and may be missing or null
// when read. Enumerations are their raw values, URLs their absolute text, `votedAt` ISO 8601 UTC text
// with whole seconds ("2026-01-31T09:05:00Z"; a finer time is cut to the second).
//
// Encoding fails with `ErrorKind::encoding` when a text is not valid UTF-8 or a duration is not a
// finite number. Decoding fails with `ErrorKind::decoding` and a description naming the key on the
// first missing required key, value of the wrong type, unknown enumeration text or URL that does not
// parse. Neither throws.

QUENMARK_EXPORT Result<std::string> encodeJson(const StoryItem& item);
QUENMARK_EXPORT Result<std::string> encodeJson(const WidgetOption& option);
QUENMARK_EXPORT Result<std::string> encodeJson(const WidgetUserVote& vote);
QUENMARK_EXPORT Result<std::string> encodeJson(const Banner& banner);
QUENMARK_EXPORT Result<std::string> encodeJson(const BannerItem& item);

QUENMARK_EXPORT Result<StoryItem> decodeStoryItemJson(std::string_view text);
QUENMARK_EXPORT Result<WidgetOption> decodeWidgetOptionJson(std::string_view text);
QUENMARK_EXPORT Result<WidgetUserVote> decodeWidgetUserVoteJson(std::string_view text);
QUENMARK_EXPORT Result<Banner> decodeBannerJson(std::string_view text);
QUENMARK_EXPORT Result<BannerItem> decodeBannerItemJson(std::string_view text);

}  // namespace quenmark
