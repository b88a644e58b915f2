#include "held_images.h"

#include <mutex>
#include <unordered_map>

namespace quenmark::qt {
namespace {

struct Table {
  std::mutex mutex;
  std::unordered_map<std::string, std::weak_ptr<const Image>> images;  // guarded by mutex
};

Table& table() {
  static auto* const instance = new Table();  // lives until the process ends
  return *instance;
}

}  // namespace

void HeldImages::remember(const std::string& url, const std::shared_ptr<const Image>& image) {
  auto& held = table();
  std::lock_guard lock(held.mutex);
  std::erase_if(held.images, [](const auto& entry) { return entry.second.expired(); });
  held.images[url] = image;
}

std::shared_ptr<const Image> HeldImages::find(const std::string& url) {
  auto& held = table();
  std::lock_guard lock(held.mutex);
  auto found = held.images.find(url);
  return found == held.images.end() ? nullptr : found->second.lock();
}

}  // namespace quenmark::qt
