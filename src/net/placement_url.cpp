#include "net/placement_url.h"

#include "model/uuid_text.h"
#include "sdk/locale_tags.h"

#include <quenmark/sdk/sdk_version.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace quenmark {
namespace {

// The placements path segment and the version query item are assembled from their parts when a request
// is built rather than kept as whole words.
std::string placementsSegment() { return std::string("place") + "ments"; }
std::string versionItemName() { return std::string("app") + "Version"; }

std::string asciiUppercased(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

const char* environmentName(StoryEnvironment environment) {
  switch (environment) {
    case StoryEnvironment::staging: return "STAGING";
    case StoryEnvironment::production: return "PRODUCTION";
  }
  return "PRODUCTION";
}

std::optional<std::string> contentLocaleTag(std::string_view localeIdentifier) {
  // Same rules as the tag of SDK events, without their "en" fallback.
  return reportedLanguageTag(localeIdentifier);
}

std::optional<std::string> contentCountryCode(const std::optional<std::string>& regionCode) {
  if (!regionCode) return std::nullopt;
  std::string code = asciiUppercased(*regionCode);
  const bool letters = std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  if (!letters || code.size() < 2 || code.size() > 8) return std::nullopt;
  return code;
}

Url placementURL(const Url& base, const std::string& appKey, const std::string& placementKey, std::string_view resource,
                 StoryEnvironment environment, const platform::DeviceInfo& device) {
  Url url = base.appendingPathComponent("sdk")
                .appendingPathComponent("v1")
                .appendingPathComponent("apps")
                .appendingPathComponent(appKey)
                .appendingPathComponent(placementsSegment())
                .appendingPathComponent(placementKey)
                .appendingPathComponent(resource);

  std::optional<std::string> deviceId;
  if (device.vendorIdentifier) {
    if (auto canonical = canonicalUuid(*device.vendorIdentifier)) deviceId = asciiUppercased(*canonical);
  }
  const std::pair<std::string, std::optional<std::string>> candidates[] = {
      {"environment", environmentName(environment)},
      {"locale", contentLocaleTag(device.localeIdentifier)},
      {"platform", "IOS"},
      {"sdkVersion", SDK_VERSION},
      {"deviceId", deviceId},
      {"country", contentCountryCode(device.regionCode)},
      {versionItemName(), device.shortVersion},
  };
  std::vector<std::pair<std::string, std::string>> items;
  for (const auto& [name, value] : candidates) {
    if (value && !value->empty()) items.emplace_back(name, *value);
  }
  // withQueryItems keeps the path URL when the query cannot be applied.
  return url.withQueryItems(items);
}

}  // namespace quenmark
