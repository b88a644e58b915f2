#include "cli/event_output.h"

#include <type_traits>

namespace quenmark::cli {
namespace {

constexpr const char* kNames[] = {"storyGroupImpression", "storyOpen",  "storyItemImpression", "storyClose",
                                  "storyCompleted",       "pollViewed", "pollVoted",           "quizViewed",
                                  "quizAnswered",         "swipeUp",    "bannerImpression",    "bannerClick"};
static_assert(std::size(kNames) == std::variant_size_v<StorySDKEvent::variant>);

}  // namespace

std::string eventName(const StorySDKEvent& event) { return kNames[event.index()]; }

nlohmann::json eventJson(const StorySDKEvent& event) {
  nlohmann::json out{{"event", eventName(event)}};
  std::visit(
      [&](const auto& payload) {
        using T = std::decay_t<decltype(payload)>;
        if constexpr (requires { payload.groupId; }) out["groupId"] = payload.groupId;
        if constexpr (requires { payload.itemId; }) out["itemId"] = payload.itemId;
        if constexpr (requires { payload.bannerId; }) out["bannerId"] = payload.bannerId;
        if constexpr (requires { payload.bannerItemId; }) {
          if (payload.bannerItemId) out["bannerItemId"] = *payload.bannerItemId;
        }
        if constexpr (requires { payload.placementKey; }) out["placementKey"] = payload.placementKey;
        if constexpr (std::is_same_v<T, StorySDKEvent::BannerClick>) {
          if (payload.url) out["url"] = payload.url->string();
        }
      },
      event.asVariant());
  return out;
}

std::string eventLine(const StorySDKEvent& event) {
  nlohmann::json fields = eventJson(event);
  std::string line = fields["event"].get<std::string>();
  for (const auto& [key, value] : fields.items()) {
    if (key == "event") continue;
    line += " " + key + "=" + value.get<std::string>();
  }
  return line;
}

}  // namespace quenmark::cli
