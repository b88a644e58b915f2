#pragma once

#include <quenmark/export.h>
#include <quenmark/sdk/story_environment.h>
#include <quenmark/sdk/story_ui_strings.h>

#include <optional>
#include <string>
#include <utility>

namespace quenmark {

/// What a host hands to `StorySDK::configure`: its keys, environment, identity hints, widget words and
/// the preview switch.
///
/// A plain value; the SDK keeps its own copy. Values are stored as given (no trimming, no validation);
/// empty or blank identity hints count as absent when the SDK resolves identities.
class QUENMARK_EXPORT StoryConfiguration {
 public:
  /// All eight fields in order; none has a default. Pass `StoryUIStrings::defaultStrings()` for the
  /// stock words and `std::nullopt` for missing identity hints.
  StoryConfiguration(std::string sdkKey, std::string appKey, StoryEnvironment environment,
                     std::optional<std::string> appId, std::optional<std::string> bundleId,
                     std::optional<std::string> userId, StoryUIStrings uiStrings, bool isPreviewMode);

  /// Secret key of the host app; sent as "X-Talewyn-SDK-Key" on every request.
  const std::string& sdkKey() const noexcept { return sdkKey_; }
  /// Public key of the host app at the service.
  const std::string& appKey() const noexcept { return appKey_; }
  StoryEnvironment environment() const noexcept { return environment_; }
  /// Host-supplied application id (preferred source of the resolved app id).
  const std::optional<std::string>& appId() const noexcept { return appId_; }
  /// Host-supplied bundle id (preferred source of the resolved bundle id).
  const std::optional<std::string>& bundleId() const noexcept { return bundleId_; }
  /// Host-supplied id of the signed-in user (preferred source of the resolved user id).
  const std::optional<std::string>& userId() const noexcept { return userId_; }
  const StoryUIStrings& uiStrings() const noexcept { return uiStrings_; }
  /// When true, votes are answered locally instead of being sent; nothing else changes.
  bool isPreviewMode() const noexcept { return isPreviewMode_; }

  void setAppId(std::optional<std::string> appId) { appId_ = std::move(appId); }
  void setBundleId(std::optional<std::string> bundleId) { bundleId_ = std::move(bundleId); }
  void setUserId(std::optional<std::string> userId) { userId_ = std::move(userId); }
  void setUiStrings(StoryUIStrings uiStrings) { uiStrings_ = std::move(uiStrings); }
  void setIsPreviewMode(bool isPreviewMode) noexcept { isPreviewMode_ = isPreviewMode; }

  /// For older host code: the same as `sdkKey()`.
  const std::string& apiKey() const noexcept { return sdkKey_; }
  /// For older host code: returns `appKey()` (not `appId()`).
  const std::string& appId_DEPRECATED() const noexcept { return appKey_; }

 private:
  std::string sdkKey_;
  std::string appKey_;
  StoryEnvironment environment_;
  std::optional<std::string> appId_;
  std::optional<std::string> bundleId_;
  std::optional<std::string> userId_;
  StoryUIStrings uiStrings_;
  bool isPreviewMode_;
};

}  // namespace quenmark
