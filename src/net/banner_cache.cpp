#include "net/banner_cache.h"

#include <utility>

namespace quenmark {

BannerCache& BannerCache::shared() {
  // Never destroyed: content clients may still finish on the HTTP thread while the process exits.
  static BannerCache* cache = new BannerCache();
  return *cache;
}

namespace {

// A "|" or a backslash inside a value is written after a backslash, so that no two identities share a key
// (a bundle id "b|u" with user "v" would otherwise read as bundle "b" with user "u|v"). Other values stay as
// they are.
std::string escaped(const std::string& value) {
  if (value.find_first_of("|\\") == std::string::npos) return value;
  std::string out;
  out.reserve(value.size() + 4);
  for (char c : value) {
    if (c == '|' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string BannerCache::key(const std::string& appKey, const std::string& placementKey, const std::string& environment,
                             const std::optional<std::string>& appId, const std::optional<std::string>& bundleId,
                             const std::optional<std::string>& userId) {
  return escaped(appKey) + "|" + escaped(placementKey) + "|" + escaped(environment) + "|" +
         escaped(appId.value_or("")) + "|" + escaped(bundleId.value_or("")) + "|" + escaped(userId.value_or(""));
}

void BannerCache::store(const std::string& key, std::vector<Banner> banners) {
  std::lock_guard lock(mutex_);
  lists_.insert_or_assign(key, std::move(banners));
}

std::optional<std::vector<Banner>> BannerCache::lookup(const std::string& key) const {
  std::lock_guard lock(mutex_);
  auto found = lists_.find(key);
  if (found == lists_.end()) return std::nullopt;
  return found->second;
}

}  // namespace quenmark
