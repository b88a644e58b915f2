#include "platform/curl_http_session.h"

#include <quenmark/platform/platform.h>
#include <quenmark/testing/test_platform.h>

#include "test_http_server.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <tuple>

namespace quenmark::platform {
namespace {

using testsupport::reply;
using testsupport::ScriptedResponse;
using testsupport::TestHttpServer;

// Collects completions that arrive on the session's thread.
class Completions {
 public:
  HttpCompletion callback() {
    return [this](HttpResult result) {
      std::lock_guard lock(mutex_);
      results_.push_back(std::move(result));
      callerThreadMatches_ = callerThreadMatches_ && std::this_thread::get_id() != caller_;
      arrived_.notify_all();
    };
  }
  bool waitFor(std::size_t count) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::seconds{10}, [&] { return results_.size() >= count; });
  }
  std::vector<HttpResult> results() {
    std::lock_guard lock(mutex_);
    return results_;
  }
  bool completedOffCallerThread() const { return callerThreadMatches_; }
  /// The error of the first result; a success fails the test with an empty error.
  Error error() {
    auto first = results().at(0);
    EXPECT_FALSE(first.ok()) << "expected a failure";
    return first.ok() ? Error{} : first.error();
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<HttpResult> results_;
  std::thread::id caller_ = std::this_thread::get_id();
  bool callerThreadMatches_ = true;
};

// An answer the server holds back for `delay` before sending it.
ScriptedResponse delayedBy(std::chrono::milliseconds delay) {
  ScriptedResponse response = reply(200, "late");
  response.delay = delay;
  return response;
}

HttpRequest get(const Url& url) { return HttpRequest{url, "GET", {}, std::nullopt, 10.0}; }

TEST(CurlHttpSession, DeliversStatusHeadersAndBodyAndSendsWhatItWasGiven) {
  TestHttpServer server;
  ScriptedResponse created = reply(201, R"({"ok":true})");
  created.headers = {{"X-Reply", "yes"}};
  server.on("POST", "/echo", created);
  server.on("GET", "/empty", reply(204, "", "text/plain"));

  CurlHttpSession session;
  Completions completions;
  HttpRequest post{server.baseUrl().appendingPathComponent("echo"),
                   "POST",
                   {{"Content-Type", "application/json"}, {"X-Custom", "v"}},
                   std::string(R"({"a":1})"),
                   10.0};
  session.send(post, completions.callback());
  session.send(get(server.baseUrl().appendingPathComponent("empty")), completions.callback());
  session.send(get(server.baseUrl().appendingPathComponent("missing")), completions.callback());
  ASSERT_TRUE(completions.waitFor(3));

  auto requests = server.requestsTo("/echo");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ((std::tuple{requests[0].method, requests[0].body, requests[0].header("x-custom"),
                        requests[0].header("content-type"), requests[0].header("expect")}),
            (std::tuple{"POST", R"({"a":1})", "v", "application/json", std::nullopt}));

  std::map<int, HttpResponse> byStatus;
  for (auto& result : completions.results()) {
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

TEST(CurlHttpSession, ReportsTransportFailuresAsErrors) {
  std::optional<Url> closed;
  {
    TestHttpServer server;  // learn a free port, then close it
    closed = server.baseUrl().appendingPathComponent("x");
  }
  TestHttpServer slow;
  slow.on("GET", "/slow", delayedBy(std::chrono::milliseconds{3000}));

  CurlHttpSession session;
  Completions refused;
  session.send(get(*closed), refused.callback());
  ASSERT_TRUE(refused.waitFor(1));
  EXPECT_EQ(refused.error().kind, ErrorKind::transport);
  EXPECT_FALSE(refused.error().description.empty());

  Completions timedOut;
  HttpRequest request = get(slow.baseUrl().appendingPathComponent("slow"));
  request.timeoutSeconds = 0.2;
  session.send(request, timedOut.callback());
  ASSERT_TRUE(timedOut.waitFor(1));
  EXPECT_EQ(timedOut.error().code, 28) << "curl's operation-timed-out code";
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
    HttpRequest made = get(server.baseUrl().appendingPathComponent(path));
    made.timeoutSeconds = 3.0;
    made.timeoutOnlyWhenStalled = stall;
    return made;
  };
  Completions whole, stalled, silent;
  session.send(request("steady", false), whole.callback());
  session.send(request("steady", true), stalled.callback());
  session.send(request("silent", true), silent.callback());
  ASSERT_TRUE(whole.waitFor(1) && stalled.waitFor(1) && silent.waitFor(1));
  EXPECT_EQ(whole.error().code, 28);
  ASSERT_TRUE(stalled.results()[0].ok()) << stalled.error().description;
  EXPECT_EQ(stalled.results()[0].value().body->size(), 1000u);
  EXPECT_EQ(silent.error().code, 28) << "no data at all still times out";
}

TEST(CurlHttpSession, FailsResponsesLargerThanTheBodyCap) {
  TestHttpServer server;
  server.on("GET", "/big", reply(200, std::string(64 * 1024, 'x'), "text/plain"));
  server.on("GET", "/small", reply(200, std::string(1000, 'y'), "text/plain"));
  CurlHttpSession::Options options;
  options.maxResponseBytes = 4096;
  CurlHttpSession session(options);
  Completions completions;
  session.send(get(server.baseUrl().appendingPathComponent("big")), completions.callback());
  ASSERT_TRUE(completions.waitFor(1));
  session.send(get(server.baseUrl().appendingPathComponent("small")), completions.callback());
  ASSERT_TRUE(completions.waitFor(2));
  auto results = completions.results();
  ASSERT_FALSE(results[0].ok());
  EXPECT_EQ(results[0].error().kind, ErrorKind::transport);
  EXPECT_NE(results[0].error().description.find("4096"), std::string::npos);
  ASSERT_TRUE(results[1].ok());
  EXPECT_EQ(results[1].value().body->size(), 1000u);
}

TEST(CurlHttpSession, ReusesOneConnectionForSequentialRequests) {
  TestHttpServer server(/*keepAlive=*/true);
  server.on("GET", "/r", reply(200, "ok", "text/plain"));
  CurlHttpSession session;
  Completions completions;
  for (std::size_t i = 1; i <= 5; ++i) {
    session.send(get(server.baseUrl().appendingPathComponent("r")), completions.callback());
    ASSERT_TRUE(completions.waitFor(i));
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
  session.send(get(server.baseUrl().appendingPathComponent("slow")), completions.callback());
  EXPECT_FALSE(session.waitUntilIdle(std::chrono::milliseconds{1}));
  EXPECT_TRUE(session.waitUntilIdle(std::chrono::seconds{10}));
  EXPECT_EQ(completions.results().size(), 1u) << "idle means the completion has already run";
}

TEST(CurlHttpSession, MayBeReleasedByItsOwnCompletion) {
  // A completion may hold the last reference to the session (through a platform it captured), so the
  // session can end up destroyed on its own worker thread.
  TestHttpServer server;
  server.on("GET", "/r", reply(200, "ok", "text/plain"));
  std::mutex mutex;
  std::condition_variable destroyed;
  std::optional<std::thread::id> destroyedOn;
  std::shared_ptr<CurlHttpSession> session(new CurlHttpSession(), [&](CurlHttpSession* doomed) {
    delete doomed;
    std::lock_guard lock(mutex);
    destroyedOn = std::this_thread::get_id();
    destroyed.notify_all();
  });
  session->send(get(server.baseUrl().appendingPathComponent("r")), [keep = session](HttpResult) {});
  session.reset();
  std::unique_lock lock(mutex);
  ASSERT_TRUE(destroyed.wait_for(lock, std::chrono::seconds{10}, [&] { return destroyedOn.has_value(); }));
  EXPECT_TRUE(*destroyedOn != std::this_thread::get_id()) << "destroyed on the worker thread";
}

TEST(CurlHttpSession, CompletesRequestsInFlightWhenShutDown) {
  TestHttpServer slow;
  slow.on("GET", "/slow", delayedBy(std::chrono::milliseconds{5000}));
  Completions completions;
  {
    CurlHttpSession session;
    session.send(get(slow.baseUrl().appendingPathComponent("slow")), completions.callback());
    ASSERT_TRUE(slow.waitForRequests(1));
  }
  ASSERT_TRUE(completions.waitFor(1));
  EXPECT_EQ(completions.error().kind, ErrorKind::cancelled);
}

TEST(SendRequest, RefusesToSendTheSdkKeyOverPlainHttpExceptToLoopback) {
  TestHttpServer server;
  server.on("GET", "/ok", reply(200, "ok", "text/plain"));
  testing::TestPlatform platform;
  platform.install(server.baseUrl());

  Completions completions;
  HttpRequest remote = get(*Url::parse("http://example.com/sdk"));
  remote.headers = {{"X-Talewyn-SDK-Key", "secret"}};
  sendRequest(remote, completions.callback());
  ASSERT_TRUE(completions.waitFor(1));
  EXPECT_EQ(completions.error().kind, ErrorKind::insecureTransport);
  EXPECT_TRUE(completions.completedOffCallerThread());

  HttpRequest local = get(server.baseUrl().appendingPathComponent("ok"));
  local.headers = {{"x-talewyn-sdk-key", "secret"}};
  sendRequest(local, completions.callback());
  ASSERT_TRUE(completions.waitFor(2));
  EXPECT_TRUE(completions.results()[1].ok());
  EXPECT_EQ(server.requestsTo("/ok").at(0).header("X-Talewyn-SDK-Key"), "secret");
}

TEST(SendRequest, RequestsWithTheSdkKeyFollowNoRedirectWhileMediaFollowThemAnywhere) {
  TestHttpServer service;
  TestHttpServer elsewhere;
  auto redirect = [&](const char* path) {
    ScriptedResponse moved{302, "", "text/plain", {}, {}};
    moved.headers = {{"Location", elsewhere.baseUrl().appendingPathComponent(path).string()}};
    return moved;
  };
  service.on("GET", "/stories", redirect("stories"));
  service.on("GET", "/picture.png", redirect("picture.png"));
  elsewhere.on("GET", "/stories", ScriptedResponse{200, "{}", "application/json", {}, {}});
  elsewhere.on("GET", "/picture.png", ScriptedResponse{200, "png", "image/png", {}, {}});
  testing::TestPlatform platform;
  platform.install(service.baseUrl());

  Completions keyed, media;
  HttpRequest stories = get(service.baseUrl().appendingPathComponent("stories"));
  stories.headers = {{"X-Talewyn-SDK-Key", "secret"}, {"X-Talewyn-UserId", "user-1"}};
  sendRequest(stories, keyed.callback());
  sendRequest(get(service.baseUrl().appendingPathComponent("picture.png")), media.callback());
  ASSERT_TRUE(keyed.waitFor(1) && media.waitFor(1));
  ASSERT_TRUE(keyed.results()[0].ok());
  EXPECT_EQ(keyed.results()[0].value().status, 302) << "the redirect itself is the answer";
  ASSERT_TRUE(media.results()[0].ok());
  EXPECT_EQ(media.results()[0].value().body, "png");
  EXPECT_TRUE(elsewhere.requestsTo("/stories").empty()) << "the key and identity went nowhere else";
}

}  // namespace
}  // namespace quenmark::platform
