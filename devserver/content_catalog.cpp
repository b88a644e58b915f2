#include "devserver/content_catalog.h"

#include <fstream>
#include <sstream>

#include "devserver/record_check.h"
#include "devserver/wire_records.h"

namespace quenmark::devserver {
namespace {

using Failure = Outcome<ContentCatalog>;

/// Indexes the items of one placement's groups; the same item may appear in several placements only with
/// the same content, because votes are kept per app and item.
bool indexItems(const nlohmann::json& groups, const std::string& path, ContentApp& app, std::string* failure) {
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const auto& items = groups[g]["items"];
    for (std::size_t i = 0; i < items.size(); ++i) {
      const auto& item = items[i];
      std::string itemPath = path + "[" + std::to_string(g) + "].items[" + std::to_string(i) + "]";
      std::string key = identifierKey(item["id"].get<std::string>());
      auto [known, inserted] = app.itemRecords.emplace(key, dumpJson(item));
      if (!inserted && known->second != dumpJson(item)) {
        *failure = itemPath + ".id: the same story item id appears elsewhere with different content";
        return false;
      }
      auto options = item.find("widgetOptions");
      if (options == item.end() || !options->is_array() || options->empty()) continue;
      VotableItem votable{item["id"].get<std::string>(), {}};
      for (std::size_t o = 0; o < options->size(); ++o) {
        const auto& option = (*options)[o];
        std::string optionId = option["id"].get<std::string>();
        if (votable.option(optionId)) {
          *failure = itemPath + ".widgetOptions[" + std::to_string(o) + "].id: repeats an option id of the item";
          return false;
        }
        auto count = option.find("voteCount");
        votable.options.push_back(
            {optionId, count == option.end() || count->is_null() ? 0 : count->get<std::int64_t>()});
      }
      app.votableItems.emplace(key, std::move(votable));
    }
  }
  return true;
}

bool loadPlacement(const std::string& placementKey, const nlohmann::json& source, const std::string& path,
                   ContentApp& app, std::string* failure) {
  RecordCheck check(source, path, failure);
  const auto* stories = check.optionalArray("stories");
  const auto* banners = check.optionalArray("banners");
  if (!check.ok()) return false;
  ContentPlacement placement;
  if (stories) {
    for (std::size_t i = 0; i < stories->size(); ++i) {
      checkStoryGroupContent((*stories)[i], check.childPath("stories", i), failure);
      if (!failure->empty()) return false;
    }
    placement.groups = *stories;
    if (!indexItems(placement.groups, check.childPath("stories"), app, failure)) return false;
  }
  if (banners) {
    for (std::size_t i = 0; i < banners->size(); ++i) {
      checkBannerContent((*banners)[i], check.childPath("banners", i), failure);
      if (!failure->empty()) return false;
    }
    placement.banners = *banners;
    for (auto& banner : placement.banners) {
      if (!banner.contains("placementKey") || banner["placementKey"].is_null()) banner["placementKey"] = placementKey;
    }
  }
  app.placements.emplace(placementKey, std::move(placement));
  return true;
}

}  // namespace

const ContentOption* VotableItem::option(std::string_view optionId) const {
  std::string key = identifierKey(optionId);
  for (const auto& candidate : options) {
    if (identifierKey(candidate.id) == key) return &candidate;
  }
  return nullptr;
}

const ContentPlacement* ContentApp::placement(std::string_view placementKey) const {
  auto it = placements.find(placementKey);
  return it == placements.end() ? nullptr : &it->second;
}

const ContentApp* ContentCatalog::app(std::string_view appKey) const {
  auto it = apps_.find(appKey);
  return it == apps_.end() ? nullptr : &it->second;
}

Outcome<ContentCatalog> ContentCatalog::fromJson(const nlohmann::json& document) {
  std::string failure;
  RecordCheck top(document, "", &failure);
  const nlohmann::json* apps = top.optionalObject("apps");
  if (top.ok() && !apps) top.fail("apps", "required key is missing or null");
  if (!top.ok()) return Failure::failure(failure);

  ContentCatalog catalog;
  for (const auto& [appKey, source] : apps->items()) {
    std::string path = "apps." + appKey;
    if (appKey.empty()) return Failure::failure("apps: an app key must not be empty");
    RecordCheck check(source, path, &failure);
    const auto* sdkKey = check.requiredText("sdkKey");
    const auto* placements = check.optionalObject("placements");
    if (!check.ok()) return Failure::failure(failure);
    ContentApp app{appKey, sdkKey->get<std::string>(), {}, {}, {}};
    if (placements) {
      for (const auto& [placementKey, placement] : placements->items()) {
        if (!loadPlacement(placementKey, placement, path + ".placements." + placementKey, app, &failure)) {
          return Failure::failure(failure);
        }
      }
    }
    catalog.apps_.emplace(appKey, std::move(app));
  }
  return catalog;
}

Outcome<ContentCatalog> ContentCatalog::loadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return Failure::failure("cannot read the content file " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  nlohmann::json document;
  try {
    document = nlohmann::json::parse(text.str());
  } catch (const std::exception& error) {
    return Failure::failure(file.string() + " is not valid JSON: " + error.what());
  }
  auto catalog = fromJson(document);
  if (!catalog) return Failure::failure(file.string() + ": " + catalog.error());
  return catalog;
}

}  // namespace quenmark::devserver
