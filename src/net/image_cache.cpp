#include "net/image_cache.h"

#include <utility>

namespace quenmark {

ImageCache::ImageCache(std::size_t byteLimit) : byteLimit_(byteLimit) {}

std::shared_ptr<const Image> ImageCache::get(const std::string& key) {
  auto found = index_.find(key);
  if (found == index_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, found->second);
  return found->second->second;
}

bool ImageCache::contains(const std::string& key) const { return index_.count(key) != 0; }

void ImageCache::insert(const std::string& key, std::shared_ptr<const Image> image) {
  remove(key);
  if (!image) return;
  const std::size_t cost = image->byteCount();
  if (cost > byteLimit_) return;
  entries_.emplace_front(key, std::move(image));
  index_.emplace(key, entries_.begin());
  byteCount_ += cost;
  evictToLimit();
}

void ImageCache::remove(const std::string& key) {
  auto found = index_.find(key);
  if (found == index_.end()) return;
  byteCount_ -= found->second->second->byteCount();
  entries_.erase(found->second);
  index_.erase(found);
}

void ImageCache::clear() {
  index_.clear();
  entries_.clear();
  byteCount_ = 0;
}

void ImageCache::setByteLimit(std::size_t bytes) {
  byteLimit_ = bytes;
  evictToLimit();
}

void ImageCache::evictToLimit() {
  while (byteCount_ > byteLimit_ && !entries_.empty()) {
    const Entry& last = entries_.back();
    byteCount_ -= last.second->byteCount();
    index_.erase(last.first);
    entries_.pop_back();
  }
}

}  // namespace quenmark
