#include "platform/system_device_info.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quenmark::platform {
namespace {

// Sets environment variables for one test and restores them afterwards.
class ScopedEnvironment {
 public:
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      it->second ? ::setenv(it->first.c_str(), it->second->c_str(), 1) : ::unsetenv(it->first.c_str());
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(DeviceInfo, LocaleIdentifierComesFromTheEnvironmentInPrecedenceOrder) {
  ScopedEnvironment env;
  env.set("LC_ALL", nullptr);
  env.set("LC_MESSAGES", nullptr);
  env.set("LANG", "pt_BR.UTF-8");
  EXPECT_EQ(SystemDeviceInfo().current().localeIdentifier, "pt_BR");
  EXPECT_EQ(SystemDeviceInfo().current().regionCode, "BR");

  env.set("LC_MESSAGES", "de_DE.ISO-8859-1@euro");
  EXPECT_EQ(SystemDeviceInfo().current().localeIdentifier, "de_DE@euro");

  env.set("LC_ALL", "C.UTF-8");
  EXPECT_EQ(SystemDeviceInfo().current().localeIdentifier, "en_US_POSIX");

  env.set("LC_ALL", nullptr);
  env.set("LC_MESSAGES", nullptr);
  env.set("LANG", nullptr);
  EXPECT_EQ(SystemDeviceInfo().current().localeIdentifier, "en_US_POSIX");
}

TEST(DeviceInfo, PosixNamesAndRegionsConvert) {
  // Codesets and modifiers: see the environment test above.
  EXPECT_EQ(localeIdentifierFromPosix("fr"), "fr");
  EXPECT_FALSE(localeIdentifierFromPosix(""));
  EXPECT_EQ(regionFromLocaleIdentifier("zh-Hans_CN"), "CN");
  EXPECT_EQ(regionFromLocaleIdentifier("pt_BR@calendar=gregorian"), "BR");
  EXPECT_EQ(regionFromLocaleIdentifier("es_419"), "419");
  EXPECT_FALSE(regionFromLocaleIdentifier("de"));
}

TEST(DeviceInfo, VendorIdentifierIsAStableNameBasedUuidThatHidesTheMachineId) {
  std::string machine = "0123456789abcdef0123456789abcdef";
  std::string a = vendorIdentifierFor(machine, "com.example");
  EXPECT_EQ(a, vendorIdentifierFor(machine, "com.example"));
  EXPECT_NE(a, vendorIdentifierFor(machine, "com.other"));
  EXPECT_NE(a, vendorIdentifierFor("fedcba9876543210fedcba9876543210", "com.example"));
  ASSERT_EQ(a.size(), 36u);
  EXPECT_EQ(a[14], '5') << "version 5 (name-based, SHA-1)";
  EXPECT_EQ(a.find("0123456789"), std::string::npos);
}

TEST(DeviceInfo, HostOverridesReplaceEveryField) {
  DeviceInfoOverrides overrides{"zh-Hans_CN", "HK", "6F9619FF-8B86-D011-B42D-00C04FC964FF", "com.example.host",
                                "2.3.1"};
  DeviceInfo info = SystemDeviceInfo(overrides).current();
  EXPECT_EQ(std::vector<std::optional<std::string>>({info.localeIdentifier, info.regionCode, info.vendorIdentifier,
                                                     info.bundleIdentifier, info.shortVersion}),
            std::vector<std::optional<std::string>>({overrides.localeIdentifier, overrides.regionCode,
                                                     overrides.vendorIdentifier, overrides.bundleIdentifier,
                                                     overrides.shortVersion}));
  DeviceInfo plain = SystemDeviceInfo().current();
  EXPECT_FALSE(plain.bundleIdentifier);
  EXPECT_FALSE(plain.shortVersion);
}

}  // namespace
}  // namespace quenmark::platform
