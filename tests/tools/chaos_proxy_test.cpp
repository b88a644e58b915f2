// The content client behind `quenmark-chaos-proxy` spoiling every request with one fault: whatever the fault,
// each request ends exactly once with its own error. (The views treat every error alike; their tests cover that.)
#include "child_process.h"
#include "sdk_test_fixture.h"

#include "net/story_api.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace quenmark::testsupport {
namespace {

/// Cuts every timeout to `seconds`, stall timeouts included, so that faults that stall end quickly.
class ShortTimeouts final : public platform::HttpSession {
 public:
  ShortTimeouts(std::shared_ptr<platform::HttpSession> inner, double seconds)
      : inner_(std::move(inner)), seconds_(seconds) {}
  void send(platform::HttpRequest request, platform::HttpCompletion completion) override {
    request.timeoutSeconds = std::min(request.timeoutSeconds, seconds_);
    request.timeoutOnlyWhenStalled = false;
    inner_->send(std::move(request), std::move(completion));
  }
  bool waitUntilIdle(std::chrono::milliseconds timeout) override { return inner_->waitUntilIdle(timeout); }

 private:
  std::shared_ptr<platform::HttpSession> inner_;
  double seconds_;
};

struct Expected {
  const char* fault;
  ErrorKind kind;
  std::set<long> codes;  ///< libcurl's error code, or the HTTP status
  bool stalls = false;   ///< holds transfers until they time out (a drip of 50 ms a byte takes a second)
};

void PrintTo(const Expected& expected, std::ostream* out) { *out << expected.fault; }

const Expected kFaults[] = {
    {"reset", ErrorKind::transport, {56}},           // failure when receiving data
    {"drip", ErrorKind::transport, {28}, true},      // operation timed out
    {"garbage", ErrorKind::httpStatus, {500, 503}},  //
    {"truncate", ErrorKind::transport, {18}},        // partial file
    {"oversize", ErrorKind::transport, {63}},        // maximum file size exceeded
    {"stall", ErrorKind::transport, {28}, true},     //
    {"close", ErrorKind::transport, {52}},           // empty reply
    {"redirect", ErrorKind::httpStatus, {302}},      // requests with the key follow no redirect
};

class ChaosProxyFault : public ::testing::TestWithParam<Expected> {
 protected:
  void SetUp() override {
    resetStorySDKForTesting();
    proxy = std::make_unique<BackgroundProcess>(
        QUENMARK_CHAOS_PROXY_PATH, std::vector<std::string>{"--upstream", service.baseUrl().string(), "--probability",
                                                            "1", "--faults", GetParam().fault});
    auto listening = proxy->readLine(std::chrono::seconds{20});
    ASSERT_TRUE(listening && listening->find("http://") != std::string::npos);
    tp.http = std::make_shared<ShortTimeouts>(tp.http, GetParam().stalls ? 0.5 : 60.0);
    tp.install(*Url::parse(listening->substr(listening->find("http://"))));
    StorySDK::shared().configure(sdktest::makeConfiguration(std::nullopt, std::nullopt, "user-chaos"));
  }

  void TearDown() override {
    settle();
    resetStorySDKForTesting();
  }

  /// Lets every transfer end, then runs what their completions queued on the main thread.
  void settle() {
    ASSERT_TRUE(tp.http->waitUntilIdle(std::chrono::seconds{20}));
    tp.mainThread->runPending();
  }

  testing::TestPlatform tp;
  TestHttpServer service;
  std::unique_ptr<BackgroundProcess> proxy;
};

TEST_P(ChaosProxyFault, EveryRequestEndsOnceWithItsOwnError) {
  StoryAPI api;
  std::vector<Result<std::vector<StoryGroup>>> results;
  api.fetchStories("home", [&](Result<std::vector<StoryGroup>> result) { results.push_back(std::move(result)); });
  ASSERT_TRUE(tp.mainThread->runUntil([&] { return !results.empty(); }));
  settle();
  ASSERT_EQ(results.size(), 1u);
  ASSERT_FALSE(results[0].ok());
  const Error& error = results[0].error();
  EXPECT_EQ(error.kind, GetParam().kind) << error.description;
  EXPECT_TRUE(GetParam().codes.count(error.code)) << error.description;
}

INSTANTIATE_TEST_SUITE_P(Faults, ChaosProxyFault, ::testing::ValuesIn(kFaults),
                         [](const auto& test) { return std::string(test.param.fault); });

}  // namespace
}  // namespace quenmark::testsupport
