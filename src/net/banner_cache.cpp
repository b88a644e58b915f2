#include "net/banner_cache.h"

#include <utility>

namespace quenmark {

BannerCache& BannerCache::shared() {
  // Never destroyed: content clients may still finish on the HTTP thread while the process exits.
  static BannerCache* cache = new BannerCache();
  return *cache;
}

std::string BannerCache::key(const std::string& appKey, const std::string& placementKey, const std::string& environment,
                             const std::optional<std::string>& appId, const std::optional<std::string>& bundleId,
                             const std::optional<std::string>& userId) {
  return appKey + "|" + placementKey + "|" + environment + "|" + appId.value_or("") + "|" + bundleId.value_or("") +
         "|" + userId.value_or("");
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
