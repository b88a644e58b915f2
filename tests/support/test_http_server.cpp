#include "test_http_server.h"

#include <httplib.h>

#include <algorithm>
#include <condition_variable>
#include <stdexcept>
#include <thread>

namespace quenmark::testsupport {

namespace {

std::string lowerCased(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::optional<std::string> RecordedRequest::header(const std::string& name) const {
  auto found = headers.find(lowerCased(name));
  if (found == headers.end()) return std::nullopt;
  return found->second;
}

struct TestHttpServer::Impl {
  httplib::Server server;
  std::thread thread;
  int port = 0;
  bool keepAlive = false;
  bool stopping = false;  // set by the destructor; ends answers that are being held back
  mutable std::mutex mutex;
  mutable std::condition_variable arrived;
  std::vector<RecordedRequest> requests;
  std::set<int> remotePorts;
  std::map<std::pair<std::string, std::string>, std::function<ScriptedResponse(const RecordedRequest&)>> routes;

  void handle(const httplib::Request& request, httplib::Response& response) {
    RecordedRequest recorded;
    recorded.method = request.method;
    recorded.path = request.path;
    const auto question = request.target.find('?');
    recorded.rawPath = request.target.substr(0, question);
    if (question != std::string::npos) recorded.rawQuery = request.target.substr(question + 1);
    for (const auto& [name, value] : request.headers) recorded.headers.emplace(lowerCased(name), value);
    recorded.body = request.body;
    recorded.remotePort = request.remote_port;

    std::function<ScriptedResponse(const RecordedRequest&)> route;
    {
      std::lock_guard lock(mutex);
      auto found = routes.find({request.method, request.path});
      if (found != routes.end()) route = found->second;
    }
    ScriptedResponse scripted;
    if (route) {
      scripted = route(recorded);
    } else {
      scripted.status = 404;
      scripted.body = R"({"error":"not found"})";
    }
    {
      std::lock_guard lock(mutex);
      requests.push_back(recorded);
      remotePorts.insert(recorded.remotePort);
    }
    arrived.notify_all();
    if (scripted.delay.count() > 0) {
      std::unique_lock lock(mutex);
      // Waits on the condition variable for the delay; the server's destruction ends the wait early
      // (httplib reports itself running until every handler has returned, so that cannot be the test).
      arrived.wait_for(lock, scripted.delay, [&] { return stopping; });
    }
    response.status = scripted.status;
    for (const auto& [name, value] : scripted.headers) response.set_header(name, value);
    if (!keepAlive) response.set_header("Connection", "close");
    if (scripted.trickle.count() == 0) {
      response.set_content(scripted.body, scripted.contentType.c_str());
      return;
    }
    const std::size_t piece = scripted.body.size() / 10 + 1;
    response.set_content_provider(
        scripted.body.size(), scripted.contentType.c_str(),
        [this, body = scripted.body, piece, pause = scripted.trickle](std::size_t offset, std::size_t, auto& sink) {
          std::unique_lock lock(mutex);
          if (arrived.wait_for(lock, pause, [&] { return stopping; })) return false;
          lock.unlock();
          return sink.write(body.data() + offset, std::min(piece, body.size() - offset));
        });
  }
};

TestHttpServer::TestHttpServer(bool keepAlive) : impl_(std::make_unique<Impl>()) {
  impl_->keepAlive = keepAlive;
  impl_->server.set_keep_alive_max_count(1000);
  auto handler = [this](const httplib::Request& request, httplib::Response& response) {
    impl_->handle(request, response);
  };
  impl_->server.Get(".*", handler);
  impl_->server.Post(".*", handler);
  impl_->port = impl_->server.bind_to_any_port("127.0.0.1");
  if (impl_->port <= 0) throw std::runtime_error("test server could not bind");
  impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
  // stop() only takes effect once the accept loop runs; a server destroyed before that would hang.
  while (!impl_->server.is_running()) std::this_thread::yield();
  // The socket listens from bind_to_any_port on, so clients may connect before the accept loop starts.
}

TestHttpServer::~TestHttpServer() {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->stopping = true;
  }
  impl_->arrived.notify_all();
  impl_->server.stop();
  impl_->thread.join();
}

int TestHttpServer::port() const { return impl_->port; }

Url TestHttpServer::baseUrl() const { return *Url::parse("http://127.0.0.1:" + std::to_string(impl_->port)); }

void TestHttpServer::on(const std::string& method, const std::string& path, ScriptedResponse response) {
  on(method, path, [response](const RecordedRequest&) { return response; });
}

void TestHttpServer::on(const std::string& method, const std::string& path,
                        std::function<ScriptedResponse(const RecordedRequest&)> handler) {
  std::lock_guard lock(impl_->mutex);
  impl_->routes[{method, path}] = std::move(handler);
}

std::vector<RecordedRequest> TestHttpServer::requests() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->requests;
}

std::vector<RecordedRequest> TestHttpServer::requestsTo(const std::string& path) const {
  std::lock_guard lock(impl_->mutex);
  std::vector<RecordedRequest> matching;
  for (const auto& request : impl_->requests) {
    if (request.path == path) matching.push_back(request);
  }
  return matching;
}

std::size_t TestHttpServer::requestCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->requests.size();
}

std::size_t TestHttpServer::connectionCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->remotePorts.size();
}

void TestHttpServer::clear() {
  std::lock_guard lock(impl_->mutex);
  impl_->requests.clear();
  impl_->remotePorts.clear();
}

bool TestHttpServer::waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->mutex);
  return impl_->arrived.wait_for(lock, timeout, [&] { return impl_->requests.size() >= count; });
}

bool TestHttpServer::waitForRequestsTo(const std::string& path, std::size_t count,
                                       std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->mutex);
  return impl_->arrived.wait_for(lock, timeout, [&] {
    const auto arrived = std::count_if(impl_->requests.begin(), impl_->requests.end(),
                                       [&](const RecordedRequest& request) { return request.path == path; });
    return static_cast<std::size_t>(arrived) >= count;
  });
}

}  // namespace quenmark::testsupport
