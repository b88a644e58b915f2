#pragma once

#include <quenmark/error.h>
#include <quenmark/model/banner.h>
#include <quenmark/model/banner_item.h>
#include <quenmark/model/story_item.h>
#include <quenmark/model/widget_option.h>
#include <quenmark/model/widget_user_vote.h>

#include <nlohmann/json.hpp>

namespace quenmark {

// The JSON objects behind the public text coding of the content values (quenmark/model/model_json.h).
// Building never throws; a non-finite duration is stored as given and refused when the text is made.
// Reading never throws either: every failure is an `ErrorKind::decoding` error naming the key.

nlohmann::json toJson(const WidgetOption& option);
nlohmann::json toJson(const WidgetUserVote& vote);
nlohmann::json toJson(const StoryItem& item);
nlohmann::json toJson(const BannerItem& item);
nlohmann::json toJson(const Banner& banner);

Result<WidgetOption> widgetOptionFromJson(const nlohmann::json& json);
Result<WidgetUserVote> widgetUserVoteFromJson(const nlohmann::json& json);
Result<StoryItem> storyItemFromJson(const nlohmann::json& json);
Result<BannerItem> bannerItemFromJson(const nlohmann::json& json);
Result<Banner> bannerFromJson(const nlohmann::json& json);

}  // namespace quenmark
