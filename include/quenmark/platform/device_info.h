#pragma once

#include <quenmark/export.h>

#include <optional>
#include <string>

namespace quenmark::platform {

/// Facts about the device and the host application.
struct DeviceInfo {
  /// The current locale identifier: "en_US", "pt_BR@calendar=gregorian", "zh-Hans_CN".
  std::string localeIdentifier = "en_US";
  /// The region code of the current locale ("US"), if known.
  std::optional<std::string> regionCode;
  /// A UUID that identifies this device to one vendor's apps; absent when unavailable.
  std::optional<std::string> vendorIdentifier;
  /// The host application's bundle identifier ("com.example.app").
  std::optional<std::string> bundleIdentifier;
  /// The host application's short version string ("2.3.1").
  std::optional<std::string> shortVersion;
};

/// Host-chosen replacements for any field of the detected `DeviceInfo`.
struct DeviceInfoOverrides {
  std::optional<std::string> localeIdentifier;
  std::optional<std::string> regionCode;
  std::optional<std::string> vendorIdentifier;
  std::optional<std::string> bundleIdentifier;
  std::optional<std::string> shortVersion;
  /// Names the vendor whose apps share `vendorIdentifier`; defaults to the bundle id's first two labels.
  std::optional<std::string> vendorName;
};

/// Source of `DeviceInfo`. Safe to call from any thread.
class QUENMARK_EXPORT DeviceInfoProvider {
 public:
  virtual ~DeviceInfoProvider();
  virtual DeviceInfo current() const = 0;
};

}  // namespace quenmark::platform
