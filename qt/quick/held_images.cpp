#include "held_images.h"

#include <unordered_map>

namespace quenmark::qt {
namespace {

std::unordered_map<std::string, std::weak_ptr<const Image>>& table() {
  static auto* const images = new std::unordered_map<std::string, std::weak_ptr<const Image>>();
  return *images;
}

}  // namespace

void HeldImages::remember(const std::string& url, const std::shared_ptr<const Image>& image) {
  auto& images = table();
  std::erase_if(images, [](const auto& entry) { return entry.second.expired(); });
  images[url] = image;
}

std::shared_ptr<const Image> HeldImages::find(const std::string& url) {
  auto& images = table();
  auto found = images.find(url);
  return found == images.end() ? nullptr : found->second.lock();
}

}  // namespace quenmark::qt
