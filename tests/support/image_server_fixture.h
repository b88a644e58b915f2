#pragma once

#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/testing/test_platform.h>

#include "test_http_server.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

namespace quenmark::testsupport {

inline ScriptedResponse imageResponse(std::string bytes, int status = 200, std::string contentType = "image/png") {
  return reply(status, std::move(bytes), std::move(contentType));
}

/// Holds a route's answer until the test opens it, so that loads stay in flight while the test acts.
class Gate {
 public:
  /// Called by the route's handler (on a server thread) when a request reaches it.
  void arrive() {
    std::lock_guard lock(mutex_);
    ++arrived_;
    changed_.notify_all();
  }
  bool waitForArrivals(int count = 1) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds{5}, [&] { return arrived_ >= count; });
  }
  void open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void waitUntilOpen() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds{5}, [&] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int arrived_ = 0;
  bool open_ = false;
};

/// The test platform installed against a local image server, with the process-wide image pipeline
/// emptied before and after every test.
class ImageServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tp.install(server.baseUrl());
    StoryImagePipeline::shared().resetForTesting();
  }
  void TearDown() override {
    gate.open();
    StoryImagePipeline::shared().resetForTesting();
  }

  Url url(const std::string& path) const { return *Url::parse(server.baseUrl().string() + path); }

  /// Answers `path` with `bytes` as a PNG once the gate is open.
  void serveGated(const std::string& path, std::string bytes) {
    server.on("GET", path, [this, bytes = std::move(bytes)](const RecordedRequest&) {
      gate.arrive();
      gate.waitUntilOpen();
      return imageResponse(bytes);
    });
  }

  Gate gate;  // outlives the server, whose handlers wait on it
  TestHttpServer server;
  testing::TestPlatform tp;
};

}  // namespace quenmark::testsupport
