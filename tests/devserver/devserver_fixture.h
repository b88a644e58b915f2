#pragma once

#include <httplib.h>

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "devserver/content_catalog.h"
#include "devserver/dev_server.h"
#include "devserver/dev_store.h"

namespace quenmark::devserver::testing {

/// The sample content the repository ships; route tests run against it so that it keeps loading. Found from
/// the absolute test data directory: `__FILE__` may be relative to the build directory (a compiler cache with a
/// base directory rewrites paths so), and the tests do not run there.
inline std::filesystem::path sampleDir() {
  return std::filesystem::path(QUENMARK_TEST_DATA_DIR).parent_path().parent_path() / "devserver" / "sample";
}

/// A directory of its own under the system's temporary directory, removed with everything in it.
class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenmark-devserver-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

/// A server without apps on a store of its own in `directory`, not yet bound: for tests of starting and stopping.
inline std::unique_ptr<DevServer> serverWithoutApps(const TemporaryDirectory& directory, ServerOptions options = {}) {
  static int made = 0;
  auto store = DevStore::open(directory.path() / ("dev-" + std::to_string(made++) + ".db"));
  auto catalog = ContentCatalog::fromJson(nlohmann::json{{"apps", nlohmann::json::object()}});
  EXPECT_TRUE(store && catalog) << store.error() << catalog.error();  // value() throws then, failing the test
  return std::make_unique<DevServer>(std::move(catalog).value(), std::move(store).value(), std::move(options));
}

/// The sample content served in-process on a free port of 127.0.0.1 with a fresh database.
class DevServerTest : public ::testing::Test {
 protected:
  static constexpr const char* kApp = "demo-app";
  static constexpr const char* kKey = "demo-sdk-key";

  void SetUp() override { startServer(ServerOptions{}); }

  void startServer(ServerOptions options) {
    auto catalog = ContentCatalog::loadFile(sampleDir() / "content.json");
    ASSERT_TRUE(catalog) << catalog.error();
    auto opened = DevStore::open(directory.path() / "dev.db");
    ASSERT_TRUE(opened) << opened.error();
    store = std::move(opened).value();
    if (options.mediaDir.empty()) options.mediaDir = sampleDir() / "media";
    server = std::make_unique<DevServer>(std::move(catalog).value(), store, options);
    auto port = server->start();
    ASSERT_TRUE(port) << port.error();
    client = std::make_unique<httplib::Client>("127.0.0.1", port.value());
  }

  httplib::Headers headers(const std::string& user = "") const {
    httplib::Headers result{{"X-Talewyn-SDK-Key", kKey}};
    if (!user.empty()) result.emplace("X-Talewyn-UserId", user);
    return result;
  }

  /// Status and parsed JSON body of a GET or POST; status 0 when no answer came.
  static std::pair<int, nlohmann::json> parsed(const httplib::Result& result) {
    if (!result) return {0, nullptr};
    return {result->status, nlohmann::json::parse(result->body, nullptr, false)};
  }
  std::pair<int, nlohmann::json> get(const std::string& path, const httplib::Headers& requestHeaders) {
    return parsed(client->Get(path, requestHeaders));
  }
  std::pair<int, nlohmann::json> post(const std::string& path, const std::string& body,
                                      const httplib::Headers& requestHeaders) {
    return parsed(client->Post(path, requestHeaders, body, "application/json"));
  }

  std::string storiesPath(const std::string& placement = "home") const {
    return std::string("/sdk/v1/apps/") + kApp + "/placements/" + placement + "/stories";
  }
  std::string votePath(const std::string& item) const {
    return std::string("/sdk/v1/apps/") + kApp + "/story-items/" + item + "/vote";
  }

  TemporaryDirectory directory;
  std::shared_ptr<DevStore> store;
  std::unique_ptr<DevServer> server;
  std::unique_ptr<httplib::Client> client;
};

}  // namespace quenmark::devserver::testing
