#pragma once

#include <quenmark/model/banner.h>

#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quenmark {

/// The last good banner list per placement and identity, shared by every content client of the process.
///
/// Entries are only added or replaced, never removed, and never persisted. Safe to use from any thread:
/// the content client writes from the HTTP session's thread and reads on the main thread.
class BannerCache {
 public:
  /// The process-wide cache, created on first use.
  static BannerCache& shared();

  /// "appKey|placementKey|environment|appId|bundleId|userId", absent identity values as ""; a "|" or a
  /// backslash inside a value is preceded by a backslash.
  static std::string key(const std::string& appKey, const std::string& placementKey, const std::string& environment,
                         const std::optional<std::string>& appId, const std::optional<std::string>& bundleId,
                         const std::optional<std::string>& userId);

  /// Stores `banners` under `key`, replacing any earlier list (an empty list too).
  void store(const std::string& key, std::vector<Banner> banners);
  /// The list stored under `key`, if any.
  std::optional<std::vector<Banner>> lookup(const std::string& key) const;

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::string, std::vector<Banner>> lists_;
};

}  // namespace quenmark
