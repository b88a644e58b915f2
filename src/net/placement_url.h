#pragma once

#include <quenmark/platform/device_info.h>
#include <quenmark/sdk/story_environment.h>
#include <quenmark/url.h>

#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

/// "PRODUCTION" or "STAGING": how the content service names the environment.
const char* environmentName(StoryEnvironment environment);

/// The language tag content requests carry: the locale identifier's language (2 to 8 letters,
/// lower-cased) and, when its second subtag is 2 to 8 letters, that subtag upper-cased ("en_US" ->
/// "en-US", "zh_Hans_CN" -> "zh-HANS", "es_419" -> "es"). Absent when there is no usable language;
/// there is no fallback.
std::optional<std::string> contentLocaleTag(std::string_view localeIdentifier);

/// The region code upper-cased when it is 2 to 8 ASCII letters; absent otherwise ("419", none).
std::optional<std::string> contentCountryCode(const std::optional<std::string>& regionCode);

/// The URL of a placement's `resource` ("stories" or "banners"):
/// base/sdk/v1/apps/{appKey}/placements/{placementKey}/{resource} with the query items environment,
/// locale, platform, sdkVersion, deviceId, country and appVersion in that order, leaving out those
/// without a value. Path components are percent-encoded; nothing else is escaped or validated.
Url placementURL(const Url& base, const std::string& appKey, const std::string& placementKey, std::string_view resource,
                 StoryEnvironment environment, const platform::DeviceInfo& device);

}  // namespace quenmark
