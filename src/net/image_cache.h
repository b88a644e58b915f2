#pragma once

#include <quenmark/net/image.h>

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace quenmark {

/// Decoded images keyed by URL text, kept under a budget of pixel bytes with least-recently-used
/// eviction. Not thread-safe: the owner serialises access.
class ImageCache {
 public:
  explicit ImageCache(std::size_t byteLimit);

  /// The image for `key`, marked as the most recently used; nullptr when absent.
  std::shared_ptr<const Image> get(const std::string& key);
  /// Whether `key` is cached; does not count as a use.
  bool contains(const std::string& key) const;
  /// Stores `image` under `key` as the most recently used (replacing an older entry), then evicts the
  /// least recently used entries until the budget holds. An image larger than the whole budget is not
  /// stored.
  void insert(const std::string& key, std::shared_ptr<const Image> image);
  void remove(const std::string& key);
  void clear();

  void setByteLimit(std::size_t bytes);
  std::size_t byteLimit() const noexcept { return byteLimit_; }
  std::size_t byteCount() const noexcept { return byteCount_; }
  std::size_t count() const noexcept { return index_.size(); }

 private:
  using Entry = std::pair<std::string, std::shared_ptr<const Image>>;

  void evictToLimit();

  std::size_t byteLimit_;
  std::size_t byteCount_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};

}  // namespace quenmark
