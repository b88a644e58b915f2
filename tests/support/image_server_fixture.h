#pragma once

#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/testing/test_platform.h>

#include "test_http_server.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <string>

namespace quenmark::testsupport {

inline ScriptedResponse imageResponse(std::string bytes, int status = 200, std::string contentType = "image/png") {
  return reply(status, std::move(bytes), std::move(contentType));
}

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
