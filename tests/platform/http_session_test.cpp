#include "platform/curl_http_session.h"

#include <quenmark/platform/platform.h>
#include <quenmark/testing/test_platform.h>

#include "test_http_server.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>
#include <tuple>

namespace quenmark::platform {
namespace {

using testsupport::reply;
using testsupport::ScriptedResponse;
using testsupport::TestHttpServer;

// Collects completions, which must arrive on the session's thread.
class Completions {
 public:
  HttpCompletion callback() {
    return [this](HttpResult result) {
      std::lock_guard lock(mutex_);
      results_.push_back(std::move(result));
      offCallerThread_ = offCallerThread_ && std::this_thread::get_id() != caller_;
      arrived_.notify_all();
    };
  }
  /// The results so far, once `count` have arrived or ten seconds have passed.
  std::vector<HttpResult> await(std::size_t count = 1) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::seconds{10}, [&] { return results_.size() >= count; });
    return results_;
  }
  bool completedOffCallerThread() const { return offCallerThread_; }
  /// The error of the first result (waited for); a success or no result fails the test with an empty error.
  Error error() {
    auto results = await();
    EXPECT_TRUE(!results.empty() && !results[0].ok()) << "expected a failure";
    return results.empty() || results[0].ok() ? Error{} : results[0].error();
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<HttpResult> results_;
  std::thread::id caller_ = std::this_thread::get_id();
  bool offCallerThread_ = true;
};

// An answer the server holds back for `delay` before sending it.
ScriptedResponse delayedBy(std::chrono::milliseconds delay) {
  ScriptedResponse response = reply(200, "late");
  response.delay = delay;
  return response;
}

HttpRequest get(const TestHttpServer& server, const char* path, double timeoutSeconds = 10.0) {
  return HttpRequest{server.baseUrl().appendingPathComponent(path), "GET", {}, std::nullopt, timeoutSeconds};
}

TEST(CurlHttpSession, DeliversStatusHeadersAndBodyAndSendsWhatItWasGiven) {
  TestHttpServer server;
  ScriptedResponse created = reply(201, R"({"ok":true})");
  created.headers = {{"X-Reply", "yes"}};
  server.on("POST", "/echo", created);
  server.on("GET", "/empty", reply(204, "", "text/plain"));

  CurlHttpSession session;
  Completions completions;
  HttpRequest post = get(server, "echo");
  post.method = "POST";
  post.headers = {{"Content-Type", "application/json"}, {"X-Custom", "v"}};
  post.body = R"({"a":1})";
  session.send(post, completions.callback());
  session.send(get(server, "empty"), completions.callback());
  session.send(get(server, "missing"), completions.callback());
  auto results = completions.await(3);

  auto requests = server.requestsTo("/echo");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ((std::tuple{requests[0].method, requests[0].body, requests[0].header("x-custom"),
                        requests[0].header("content-type"), requests[0].header("expect")}),
            (std::tuple{"POST", R"({"a":1})", "v", "application/json", std::nullopt}));

  std::map<int, HttpResponse> byStatus;
  for (auto& result : results) {
    ASSERT_TRUE(result.ok()) << result.error().description;
    byStatus.emplace(result.value().status, result.value());
  }
  ASSERT_EQ(byStatus.size(), 3u);
  EXPECT_EQ((std::tuple{byStatus[201].body, byStatus[201].header("x-reply"), byStatus[201].header("X-REPLY")}),
            (std::tuple{R"({"ok":true})", "yes", "yes"}));
  EXPECT_FALSE(byStatus[204].body) << "a response without body bytes has no body";
  EXPECT_EQ(byStatus[404].body, R"({"error":"not found"})");
  EXPECT_TRUE(completions.completedOffCallerThread());
}

TEST(CurlHttpSession, ReportsARefusedConnectionAsATransportError) {
  std::optional<HttpRequest> closed;
  {
    TestHttpServer server;  // learn a free port, then close it
    closed = get(server, "x");
  }
  CurlHttpSession session;
  Completions refused;
  session.send(*closed, refused.callback());
  EXPECT_EQ(refused.error().kind, ErrorKind::transport);
  EXPECT_FALSE(refused.error().description.empty());
}

TEST(CurlHttpSession, AStallTimeoutLetsASlowButSteadyTransferFinish) {
  TestHttpServer server;
  ScriptedResponse steady;
  steady.body = std::string(1000, 'x');
  steady.trickle = std::chrono::milliseconds{400};  // four seconds in all
  server.on("GET", "/steady", steady);
  server.on("GET", "/silent", delayedBy(std::chrono::milliseconds{20000}));
  CurlHttpSession session;
  auto request = [&](const char* path, bool stall) {
    HttpRequest made = get(server, path, 3.0);
    made.timeoutOnlyWhenStalled = stall;
    return made;
  };
  Completions whole, stalled, silent;
  session.send(request("steady", false), whole.callback());
  session.send(request("steady", true), stalled.callback());
  session.send(request("silent", true), silent.callback());
  EXPECT_EQ(whole.error().code, 28) << "curl's operation-timed-out code";
  auto finished = stalled.await();
  ASSERT_TRUE(finished.at(0).ok()) << stalled.error().description;
  EXPECT_EQ(finished[0].value().body->size(), 1000u);
  EXPECT_EQ(silent.error().code, 28) << "no data at all still times out";
}

TEST(CurlHttpSession, FailsResponsesLargerThanTheBodyCap) {
  TestHttpServer server;
  server.on("GET", "/big", reply(200, std::string(64 * 1024, 'x'), "text/plain"));
  server.on("GET", "/small", reply(200, std::string(1000, 'y'), "text/plain"));
  CurlHttpSession::Options options;
  options.maxResponseBytes = 4096;
  CurlHttpSession session(options);
  Completions big, small;
  session.send(get(server, "big"), big.callback());
  EXPECT_EQ(big.error().kind, ErrorKind::transport);
  EXPECT_NE(big.error().description.find("4096"), std::string::npos);
  session.send(get(server, "small"), small.callback());
  auto results = small.await();
  ASSERT_TRUE(results.at(0).ok());
  EXPECT_EQ(results[0].value().body->size(), 1000u);
}

TEST(CurlHttpSession, ReusesOneConnectionForSequentialRequests) {
  TestHttpServer server(/*keepAlive=*/true);
  server.on("GET", "/r", reply(200, "ok", "text/plain"));
  CurlHttpSession session;
  Completions completions;
  for (std::size_t i = 1; i <= 5; ++i) {
    session.send(get(server, "r"), completions.callback());
    ASSERT_EQ(completions.await(i).size(), i);
  }
  EXPECT_EQ(server.requestCount(), 5u);
  EXPECT_EQ(server.connectionCount(), 1u);
}

TEST(CurlHttpSession, WaitUntilIdleReturnsOnceEveryCompletionHasRun) {
  TestHttpServer server;
  server.on("GET", "/slow", delayedBy(std::chrono::milliseconds{300}));
  CurlHttpSession session;
  EXPECT_TRUE(session.waitUntilIdle(std::chrono::milliseconds{0}));
  Completions completions;
  session.send(get(server, "slow"), completions.callback());
  EXPECT_FALSE(session.waitUntilIdle(std::chrono::milliseconds{1}));
  EXPECT_TRUE(session.waitUntilIdle(std::chrono::seconds{10}));
  EXPECT_EQ(completions.await(0).size(), 1u) << "idle means the completion has already run";
}

TEST(CurlHttpSession, MayBeReleasedByItsOwnCompletion) {
  // A completion may hold the last reference to the session (through a platform it captured), so the
  // session can end up destroyed on its own worker thread.
  TestHttpServer server;
  server.on("GET", "/r", reply(200, "ok", "text/plain"));
  std::promise<std::thread::id> destroyedOn;
  std::shared_ptr<CurlHttpSession> session(new CurlHttpSession(), [&](CurlHttpSession* doomed) {
    delete doomed;
    destroyedOn.set_value(std::this_thread::get_id());
  });
  session->send(get(server, "r"), [keep = session](HttpResult) {});
  session.reset();
  auto destroyed = destroyedOn.get_future();
  ASSERT_EQ(destroyed.wait_for(std::chrono::seconds{10}), std::future_status::ready);
  EXPECT_TRUE(destroyed.get() != std::this_thread::get_id()) << "destroyed on the worker thread";
}

TEST(CurlHttpSession, CompletesRequestsInFlightWhenShutDown) {
  TestHttpServer slow;
  slow.on("GET", "/slow", delayedBy(std::chrono::milliseconds{5000}));
  Completions completions;
  {
    CurlHttpSession session;
    session.send(get(slow, "slow"), completions.callback());
    ASSERT_TRUE(slow.waitForRequests(1));
  }
  EXPECT_EQ(completions.error().kind, ErrorKind::cancelled);
}

TEST(SendRequest, RefusesToSendTheSdkKeyOverPlainHttp) {
  // Loopback is allowed: every content client test sends the key to 127.0.0.1.
  testing::TestPlatform platform;
  platform.install(*Url::parse("http://127.0.0.1:9"));
  Completions remote;
  sendRequest(HttpRequest{*Url::parse("http://example.com/sdk"), "GET", {{"x-talewyn-sdk-key", "secret"}}, {}, 10.0},
              remote.callback());
  EXPECT_EQ(remote.error().kind, ErrorKind::insecureTransport);
  EXPECT_TRUE(remote.completedOffCallerThread());
}

TEST(SendRequest, RequestsWithTheSdkKeyFollowNoRedirectWhileMediaFollowThemAnywhere) {
  TestHttpServer service;
  TestHttpServer elsewhere;
  for (const char* path : {"stories", "picture.png"}) {
    ScriptedResponse moved = reply(302, "", "text/plain");
    moved.headers = {{"Location", elsewhere.baseUrl().appendingPathComponent(path).string()}};
    service.on("GET", std::string("/") + path, moved);
  }
  elsewhere.on("GET", "/stories", reply(200, "{}"));
  elsewhere.on("GET", "/picture.png", reply(200, "png", "image/png"));
  testing::TestPlatform platform;
  platform.install(service.baseUrl());

  Completions keyed, media;
  HttpRequest stories = get(service, "stories");
  stories.headers = {{"X-Talewyn-SDK-Key", "secret"}, {"X-Talewyn-UserId", "user-1"}};
  sendRequest(stories, keyed.callback());
  sendRequest(get(service, "picture.png"), media.callback());
  auto keyedResult = keyed.await().at(0);
  auto mediaResult = media.await().at(0);
  ASSERT_TRUE(keyedResult.ok() && mediaResult.ok());
  EXPECT_EQ(keyedResult.value().status, 302) << "the redirect itself is the answer";
  EXPECT_EQ(mediaResult.value().body, "png");
  EXPECT_TRUE(elsewhere.requestsTo("/stories").empty()) << "the key and identity went nowhere else";
}

}  // namespace
}  // namespace quenmark::platform
