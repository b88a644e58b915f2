#include "locale_device_info.h"

namespace quenmark::demo {

LocaleDeviceInfo::LocaleDeviceInfo(std::shared_ptr<platform::DeviceInfoProvider> detected)
    : detected_(std::move(detected)) {}

platform::DeviceInfo LocaleDeviceInfo::current() const {
  platform::DeviceInfo info = detected_->current();
  std::lock_guard lock(mutex_);
  if (locale_) {
    info.localeIdentifier = *locale_;
    const auto separator = locale_->find('_');
    if (separator != std::string::npos) {
      info.regionCode = locale_->substr(separator + 1);
    } else {
      info.regionCode.reset();
    }
  }
  return info;
}

void LocaleDeviceInfo::setLocaleIdentifier(const std::string& identifier) {
  std::lock_guard lock(mutex_);
  locale_ = identifier;
}

}  // namespace quenmark::demo
