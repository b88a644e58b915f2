#include <quenmark/testing/test_platform.h>

namespace quenmark::testing {

std::optional<std::string> MemoryKeyValueStore::get(std::string_view key) const {
  std::lock_guard lock(mutex_);
  auto found = values_.find(key);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

void MemoryKeyValueStore::set(std::string_view key, std::string_view value) {
  std::lock_guard lock(mutex_);
  values_[std::string(key)] = std::string(value);
}

void MemoryKeyValueStore::remove(std::string_view key) {
  std::lock_guard lock(mutex_);
  if (auto found = values_.find(key); found != values_.end()) values_.erase(found);
}

std::map<std::string, std::string> MemoryKeyValueStore::snapshot() const {
  std::lock_guard lock(mutex_);
  return {values_.begin(), values_.end()};
}

platform::DeviceInfo FixedDeviceInfo::current() const {
  std::lock_guard lock(mutex_);
  return info_;
}

void FixedDeviceInfo::set(platform::DeviceInfo info) {
  std::lock_guard lock(mutex_);
  info_ = std::move(info);
}

bool FixedFontCatalog::hasFamily(std::string_view family) const {
  std::lock_guard lock(mutex_);
  return families_.find(family) != families_.end();
}

void FixedFontCatalog::add(std::string family) {
  std::lock_guard lock(mutex_);
  families_.insert(std::move(family));
}

void RecordingUrlOpener::open(const Url& url) {
  std::lock_guard lock(mutex_);
  opened_.push_back(url);
}

std::vector<Url> RecordingUrlOpener::opened() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

void RecordingConsole::writeLine(std::string_view line) {
  std::lock_guard lock(mutex_);
  lines_.emplace_back(line);
}

std::vector<std::string> RecordingConsole::lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

TestPlatform::TestPlatform()
    : clock(std::make_shared<ManualClock>()),
      mainThread(std::make_shared<VirtualMainThread>(clock)),
      http(platform::makeDefaultHttpSession()),
      store(std::make_shared<MemoryKeyValueStore>()),
      device(std::make_shared<FixedDeviceInfo>()),
      fonts(std::make_shared<FixedFontCatalog>()),
      urlOpener(std::make_shared<RecordingUrlOpener>()),
      console(std::make_shared<RecordingConsole>()),
      transport_(http) {}

TestPlatform::~TestPlatform() { transport_->waitUntilIdle(std::chrono::seconds{10}); }

platform::Platform TestPlatform::platform(const Url& serviceBaseUrl) const {
  return platform::Platform{mainThread, clock, http, store, device, fonts, urlOpener, console, serviceBaseUrl};
}

void TestPlatform::install(const Url& serviceBaseUrl) const { platform::installPlatform(platform(serviceBaseUrl)); }

void TestPlatform::install() const { install(*Url::parse("http://127.0.0.1:9")); }

}  // namespace quenmark::testing
