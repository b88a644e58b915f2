#include "platform/system_device_info.h"

#include <uuid/uuid.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

namespace quenmark::platform {
namespace {

// Namespace of the SDK's vendor identifiers; fixed forever, since changing it changes every id.
constexpr const char* kVendorNamespace = "5b0c7a4e-3f2d-5e8a-9c1b-7d6e4f3a2b10";

std::optional<std::string> environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

std::optional<std::string> readMachineId() {
  for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
    std::ifstream in(path);
    std::string id;
    if (in && std::getline(in, id)) {
      id.erase(std::remove_if(id.begin(), id.end(), [](unsigned char c) { return std::isspace(c) != 0; }), id.end());
      if (!id.empty()) return id;
    }
  }
  return std::nullopt;
}

// The first two labels of a reverse-DNS bundle id ("com.example" of "com.example.app").
std::string vendorOfBundle(const std::optional<std::string>& bundle) {
  if (!bundle) return {};
  auto first = bundle->find('.');
  if (first == std::string::npos) return *bundle;
  auto second = bundle->find('.', first + 1);
  return bundle->substr(0, second);
}

}  // namespace

std::optional<std::string> localeIdentifierFromPosix(std::string_view posix) {
  if (posix.empty()) return std::nullopt;
  if (posix == "C" || posix == "POSIX" || posix.starts_with("C.")) return std::string("en_US_POSIX");
  std::string modifier;
  if (auto at = posix.find('@'); at != std::string_view::npos) {
    modifier = std::string(posix.substr(at));
    posix = posix.substr(0, at);
  }
  if (auto dot = posix.find('.'); dot != std::string_view::npos) posix = posix.substr(0, dot);
  if (posix.empty()) return std::nullopt;
  return std::string(posix) + modifier;
}

std::optional<std::string> regionFromLocaleIdentifier(std::string_view identifier) {
  if (auto at = identifier.find('@'); at != std::string_view::npos) identifier = identifier.substr(0, at);
  auto underscore = identifier.find('_');
  if (underscore == std::string_view::npos) return std::nullopt;
  std::string_view rest = identifier.substr(underscore + 1);
  if (auto next = rest.find('_'); next != std::string_view::npos) rest = rest.substr(0, next);
  bool valid =
      (rest.size() == 2 && std::all_of(rest.begin(), rest.end(), [](unsigned char c) { return std::isalpha(c); })) ||
      (rest.size() == 3 && std::all_of(rest.begin(), rest.end(), [](unsigned char c) { return std::isdigit(c); }));
  if (!valid) return std::nullopt;
  return upper(std::string(rest));
}

std::string vendorIdentifierFor(std::string_view machineId, std::string_view vendor) {
  uuid_t ns;
  uuid_parse(kVendorNamespace, ns);
  std::string name = std::string(vendor) + "\n" + std::string(machineId);
  uuid_t out;
  uuid_generate_sha1(out, ns, name.data(), name.size());
  char text[37];
  uuid_unparse_upper(out, text);
  return text;
}

SystemDeviceInfo::SystemDeviceInfo(DeviceInfoOverrides overrides) : overrides_(std::move(overrides)) {
  if (overrides_.vendorIdentifier) {
    vendorIdentifier_ = overrides_.vendorIdentifier;
  } else if (auto machine = readMachineId()) {
    vendorIdentifier_ =
        vendorIdentifierFor(*machine, overrides_.vendorName.value_or(vendorOfBundle(overrides_.bundleIdentifier)));
  }
}

DeviceInfo SystemDeviceInfo::current() const {
  DeviceInfo info;
  if (overrides_.localeIdentifier) {
    info.localeIdentifier = *overrides_.localeIdentifier;
  } else {
    std::optional<std::string> posix = environment("LC_ALL");
    if (!posix) posix = environment("LC_MESSAGES");
    if (!posix) posix = environment("LANG");
    info.localeIdentifier = localeIdentifierFromPosix(posix.value_or("")).value_or("en_US_POSIX");
  }
  info.regionCode = overrides_.regionCode ? overrides_.regionCode : regionFromLocaleIdentifier(info.localeIdentifier);
  info.vendorIdentifier = vendorIdentifier_;
  info.bundleIdentifier = overrides_.bundleIdentifier;
  info.shortVersion = overrides_.shortVersion;
  return info;
}

}  // namespace quenmark::platform
