#pragma once

#include <quenmark/platform/device_info.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace quenmark::demo {

/// The device facts the SDK reads, as the platform detects them, but with the locale the user picked
/// in the demo's settings. The SDK reads the locale when it sends a request, so a new pick shows in
/// the next content request and event. Safe from any thread.
class LocaleDeviceInfo : public platform::DeviceInfoProvider {
 public:
  explicit LocaleDeviceInfo(std::shared_ptr<platform::DeviceInfoProvider> detected);

  platform::DeviceInfo current() const override;

  /// An identifier such as "de_DE"; its region ("DE") becomes the region code.
  void setLocaleIdentifier(const std::string& identifier);

 private:
  std::shared_ptr<platform::DeviceInfoProvider> detected_;
  mutable std::mutex mutex_;
  std::optional<std::string> locale_;
};

}  // namespace quenmark::demo
