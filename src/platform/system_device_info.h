#pragma once

#include <quenmark/platform/device_info.h>

#include <optional>
#include <string>
#include <string_view>

namespace quenmark::platform {

/// Turns a POSIX locale name ("pt_BR.UTF-8@euro", "C") into a locale identifier ("pt_BR@euro",
/// "en_US_POSIX"). Empty input gives nothing.
std::optional<std::string> localeIdentifierFromPosix(std::string_view posix);

/// The region part of a locale identifier ("US" of "en_US", "CN" of "zh-Hans_CN"), if it has one.
std::optional<std::string> regionFromLocaleIdentifier(std::string_view identifier);

/// A name-based (SHA-1, version 5) UUID of `machineId` within `vendor`'s namespace, upper-case text.
std::string vendorIdentifierFor(std::string_view machineId, std::string_view vendor);

/// Device info from the process environment (LC_ALL, LC_MESSAGES, LANG) and /etc/machine-id, with the
/// host's overrides applied field by field.
class SystemDeviceInfo final : public DeviceInfoProvider {
 public:
  explicit SystemDeviceInfo(DeviceInfoOverrides overrides = {});
  DeviceInfo current() const override;

 private:
  DeviceInfoOverrides overrides_;
  std::optional<std::string> vendorIdentifier_;
};

}  // namespace quenmark::platform
