#pragma once

#include <quenmark/export.h>
#include <quenmark/model/banner_cta_type.h>
#include <quenmark/url.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace quenmark {

/// One slide of a banner. An immutable value; `id` is its identity.
class QUENMARK_EXPORT BannerItem {
 public:
  /// Stores every field unchanged.
  BannerItem(std::string id, std::optional<std::string> mediaAssetId, Url mediaURL, std::int64_t orderIndex,
             BannerCtaType ctaType, std::optional<Url> ctaURL)
      : id_(std::move(id)),
        mediaAssetId_(std::move(mediaAssetId)),
        mediaURL_(std::move(mediaURL)),
        orderIndex_(orderIndex),
        ctaType_(ctaType),
        ctaURL_(std::move(ctaURL)) {}

  const std::string& id() const noexcept { return id_; }
  /// Identifier of the media asset in the service.
  const std::optional<std::string>& mediaAssetId() const noexcept { return mediaAssetId_; }
  /// Image to show.
  const Url& mediaURL() const noexcept { return mediaURL_; }
  /// Position of the item as the service orders it.
  std::int64_t orderIndex() const noexcept { return orderIndex_; }
  /// Action on tap.
  BannerCtaType ctaType() const noexcept { return ctaType_; }
  /// Target of the action.
  const std::optional<Url>& ctaURL() const noexcept { return ctaURL_; }

  friend bool operator==(const BannerItem&, const BannerItem&) = default;

 private:
  std::string id_;
  std::optional<std::string> mediaAssetId_;
  Url mediaURL_;
  std::int64_t orderIndex_;
  BannerCtaType ctaType_;
  std::optional<Url> ctaURL_;
};

}  // namespace quenmark
