#pragma once

#include <quenmark/platform/platform.h>
#include <quenmark/testing/virtual_main_thread.h>

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace quenmark::testing {

/// A key-value store held in memory.
class MemoryKeyValueStore final : public platform::KeyValueStore {
 public:
  std::optional<std::string> get(std::string_view key) const override;
  void set(std::string_view key, std::string_view value) override;
  void remove(std::string_view key) override;
  void flush() override {}
  std::map<std::string, std::string> snapshot() const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, std::string, std::less<>> values_;
};

/// Device info that the test sets.
class FixedDeviceInfo final : public platform::DeviceInfoProvider {
 public:
  platform::DeviceInfo current() const override;
  void set(platform::DeviceInfo info);

 private:
  mutable std::mutex mutex_;
  platform::DeviceInfo info_{"en_US", "US", "6F9619FF-8B86-D011-B42D-00C04FC964FF", "com.example.host", "1.2.3"};
};

/// A font catalog that knows the families the test names.
class FixedFontCatalog final : public platform::FontCatalog {
 public:
  bool hasFamily(std::string_view family) const override;
  void add(std::string family);

 private:
  mutable std::mutex mutex_;
  std::set<std::string, std::less<>> families_;
};

/// Records opened URLs instead of opening them.
class RecordingUrlOpener final : public platform::UrlOpener {
 public:
  void open(const Url& url) override;
  std::vector<Url> opened() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Url> opened_;
};

/// Records console lines instead of printing them.
class RecordingConsole final : public platform::Console {
 public:
  void writeLine(std::string_view line) override;
  std::vector<std::string> lines() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

/// A complete platform for tests: virtual time, memory store, fixed device, recording opener and
/// console, and the real libcurl session (tests talk to servers on 127.0.0.1).
struct TestPlatform {
  TestPlatform();
  /// Waits (bounded) for transfers still in flight on the libcurl session, so that none is still being
  /// decoded on the session's thread when the test process exits.
  ~TestPlatform();
  TestPlatform(const TestPlatform&) = delete;
  TestPlatform& operator=(const TestPlatform&) = delete;

  std::shared_ptr<ManualClock> clock;
  std::shared_ptr<VirtualMainThread> mainThread;
  std::shared_ptr<platform::HttpSession> http;
  std::shared_ptr<MemoryKeyValueStore> store;
  std::shared_ptr<FixedDeviceInfo> device;
  std::shared_ptr<FixedFontCatalog> fonts;
  std::shared_ptr<RecordingUrlOpener> urlOpener;
  std::shared_ptr<RecordingConsole> console;

  /// The platform made of the members above, with `serviceBaseUrl`.
  platform::Platform platform(const Url& serviceBaseUrl) const;
  /// Installs `platform(serviceBaseUrl)` for the process.
  void install(const Url& serviceBaseUrl) const;
  /// Installs with a base URL that no test server listens on ("http://127.0.0.1:9").
  void install() const;

 private:
  std::shared_ptr<platform::HttpSession> transport_;  // the libcurl session, even when `http` is wrapped
};

}  // namespace quenmark::testing
