#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "devserver/outcome.h"

namespace quenmark::devserver {

/// One poll or quiz option as the content file gives it.
struct ContentOption {
  std::string id;              ///< As written in the file (either letter case).
  std::int64_t voteCount = 0;  ///< Votes the file starts the option with; stored votes come on top.
};

/// A story item that can be voted on, with its options in file order.
struct VotableItem {
  std::string id;  ///< As written in the file.
  std::vector<ContentOption> options;

  /// The option whose id matches `optionId` (UUIDs compared regardless of letter case).
  const ContentOption* option(std::string_view optionId) const;
};

/// What one placement serves. A placement without stories (or banners) serves an empty list of them.
struct ContentPlacement {
  nlohmann::json groups = nlohmann::json::array();   ///< `SdkStoryGroupPayload` records, without user votes.
  nlohmann::json banners = nlohmann::json::array();  ///< `SdkBannerPayload` records, placement keys filled in.
};

struct ContentApp {
  std::string appKey;
  std::string sdkKey;
  std::map<std::string, ContentPlacement, std::less<>> placements;
  /// Every story item with options, under `identifierKey` of its id.
  std::map<std::string, VotableItem, std::less<>> votableItems;
  /// Every story item of the app (with or without options) as compact JSON, under `identifierKey` of its id.
  std::map<std::string, std::string, std::less<>> itemRecords;

  const ContentPlacement* placement(std::string_view placementKey) const;
};

/// The content a service instance serves, loaded once from the content file and never changed.
/// File format (docs/devserver.md):
///   { "apps": { "<appKey>": { "sdkKey": "...",
///                             "placements": { "<placementKey>": { "stories": [...], "banners": [...] } } } } }
class ContentCatalog {
 public:
  /// Checks every record against the service's wire rules; the failure names the offending key's path.
  static Outcome<ContentCatalog> fromJson(const nlohmann::json& document);
  static Outcome<ContentCatalog> loadFile(const std::filesystem::path& file);

  const ContentApp* app(std::string_view appKey) const;
  const std::map<std::string, ContentApp, std::less<>>& apps() const { return apps_; }

 private:
  std::map<std::string, ContentApp, std::less<>> apps_;
};

}  // namespace quenmark::devserver
