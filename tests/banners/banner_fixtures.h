#pragma once

#include <quenmark/model/banner.h>
#include <quenmark/model/banner_item.h>
#include <quenmark/url.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quenmark::testsupport {

inline Url urlOf(const std::string& text) { return *Url::parse(text); }

inline BannerItem bannerItem(const std::string& id, std::int64_t orderIndex,
                             const std::string& mediaURL = "https://cdn.example.com/a.png",
                             BannerCtaType ctaType = BannerCtaType::none,
                             std::optional<std::string> ctaURL = std::nullopt) {
  std::optional<Url> cta;
  if (ctaURL) cta = urlOf(*ctaURL);
  return BannerItem(id, std::nullopt, urlOf(mediaURL), orderIndex, ctaType, cta);
}

/// Items "1".."n" with orderIndex 1..n and pictures under `base` ("<base>/<id>.png").
inline std::vector<BannerItem> bannerItems(int count, const std::string& base = "https://cdn.example.com") {
  std::vector<BannerItem> items;
  for (int i = 1; i <= count; ++i) {
    items.push_back(bannerItem(std::to_string(i), i, base + "/" + std::to_string(i) + ".png"));
  }
  return items;
}

inline Banner banner(const std::string& id, BannerType type, std::vector<BannerItem> items,
                     std::int64_t autoplaySeconds = 5, BannerLayoutMode layout = BannerLayoutMode::auto_,
                     std::optional<std::string> ratio = std::nullopt, std::optional<std::int64_t> fixedHeight = std::nullopt,
                     BannerContentMode contentMode = BannerContentMode::cover) {
  return Banner(id, type, "home_top", 0, autoplaySeconds, layout, std::move(ratio), fixedHeight, contentMode,
                std::move(items));
}

inline Banner layoutBanner(BannerLayoutMode layout, std::optional<std::string> ratio,
                           std::optional<std::int64_t> fixedHeight = std::nullopt) {
  return banner("1", BannerType::carousel, bannerItems(1), 5, layout, std::move(ratio), fixedHeight);
}

}  // namespace quenmark::testsupport
