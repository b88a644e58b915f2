#pragma once

#include <quenmark/export.h>
#include <quenmark/model/banner_content_mode.h>
#include <quenmark/model/banner_item.h>
#include <quenmark/model/banner_layout_mode.h>
#include <quenmark/model/banner_type.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quenmark {

/// One banner of a placement. An immutable value; `id` is its identity.
class QUENMARK_EXPORT Banner {
 public:
  /// Stores every field unchanged (no checks: empty items, a negative `autoplaySeconds` and any
  /// combination of layout fields are kept as given).
  Banner(std::string id, BannerType type, std::string placementKey, std::int64_t viewOrder,
         std::int64_t autoplaySeconds, BannerLayoutMode bannerLayoutMode, std::optional<std::string> bannerAspectRatio,
         std::optional<std::int64_t> bannerFixedHeight, BannerContentMode bannerContentMode,
         std::vector<BannerItem> items)
      : id_(std::move(id)),
        type_(type),
        placementKey_(std::move(placementKey)),
        viewOrder_(viewOrder),
        autoplaySeconds_(autoplaySeconds),
        bannerLayoutMode_(bannerLayoutMode),
        bannerAspectRatio_(std::move(bannerAspectRatio)),
        bannerFixedHeight_(bannerFixedHeight),
        bannerContentMode_(bannerContentMode),
        items_(std::move(items)) {}

  const std::string& id() const noexcept { return id_; }
  BannerType type() const noexcept { return type_; }
  /// Placement the banner belongs to.
  const std::string& placementKey() const noexcept { return placementKey_; }
  /// Position among the placement's banners as the service orders them.
  std::int64_t viewOrder() const noexcept { return viewOrder_; }
  /// Seconds per item when the banner advances by itself.
  std::int64_t autoplaySeconds() const noexcept { return autoplaySeconds_; }
  BannerLayoutMode bannerLayoutMode() const noexcept { return bannerLayoutMode_; }
  /// Aspect ratio as text, interpreted by the layout.
  const std::optional<std::string>& bannerAspectRatio() const noexcept { return bannerAspectRatio_; }
  /// Height in points for the fixed-height layout.
  std::optional<std::int64_t> bannerFixedHeight() const noexcept { return bannerFixedHeight_; }
  BannerContentMode bannerContentMode() const noexcept { return bannerContentMode_; }
  /// The banner's items in the order given.
  const std::vector<BannerItem>& items() const noexcept { return items_; }

  friend bool operator==(const Banner&, const Banner&) = default;

 private:
  std::string id_;
  BannerType type_;
  std::string placementKey_;
  std::int64_t viewOrder_;
  std::int64_t autoplaySeconds_;
  BannerLayoutMode bannerLayoutMode_;
  std::optional<std::string> bannerAspectRatio_;
  std::optional<std::int64_t> bannerFixedHeight_;
  BannerContentMode bannerContentMode_;
  std::vector<BannerItem> items_;
};

}  // namespace quenmark
