#include "devserver/dev_server.h"

#include <httplib.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "devserver/media_files.h"
#include "devserver/record_check.h"
#include "devserver/wire_records.h"

namespace quenmark::devserver {
namespace {

constexpr const char* kJson = "application/json";
constexpr const char* kSdkKeyHeader = "X-Talewyn-SDK-Key";
constexpr const char* kUserIdHeader = "X-Talewyn-UserId";

void answer(httplib::Response& response, int status, const nlohmann::json& body) {
  response.status = status;
  response.set_content(dumpJson(body), kJson);
}

void answerError(httplib::Response& response, int status, const std::string& message) {
  answer(response, status, nlohmann::json{{"error", message}});
}

std::string trimmed(const std::string& text) {
  auto begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  auto end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

std::string now() { return formatUtc(std::chrono::system_clock::now()); }

/// The user a request speaks for: the "X-Talewyn-UserId" header, else the body's `userId`.
std::optional<std::string> requestUser(const httplib::Request& request, const nlohmann::json* body) {
  std::string header = trimmed(request.get_header_value(kUserIdHeader));
  if (!header.empty()) return header;
  if (body) {
    auto it = body->find("userId");
    if (it != body->end() && it->is_string()) {
      std::string fromBody = trimmed(it->get<std::string>());
      if (!fromBody.empty()) return fromBody;
    }
  }
  return std::nullopt;
}

bool isPlainHost(const std::string& host) {
  if (host.empty() || host.size() > 255) return false;
  for (char c : host) {
    bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
                   c == ':' || c == '[' || c == ']';
    if (!allowed) return false;
  }
  return true;
}

const char* statusText(int status) {
  switch (status) {
    case 400: return "Bad request";
    case 401: return "Missing or wrong SDK key";
    case 404: return "Not found";
    case 405: return "Method not allowed";
    case 413: return "Request body too large";
    case 414: return "Request URI too long";
    default: return status >= 500 ? "Internal error" : "Request refused";
  }
}

}  // namespace

void substituteBase(nlohmann::json& value, const std::string& origin) {
  static const std::string placeholder = "{base}";
  if (value.is_string()) {
    auto& text = value.get_ref<std::string&>();
    for (auto at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + origin.size())) {
      text.replace(at, placeholder.size(), origin);
    }
  } else if (value.is_structured()) {
    for (auto& child : value) substituteBase(child, origin);
  }
}

DevServer::DevServer(ContentCatalog catalog, std::shared_ptr<DevStore> store, ServerOptions options)
    : catalog_(std::move(catalog)), store_(std::move(store)), options_(std::move(options)) {}

DevServer::~DevServer() {
  stop();
  if (thread_.joinable()) thread_.join();
}

bool DevServer::usesTls() const { return !options_.certFile.empty() && !options_.keyFile.empty(); }

std::string DevServer::origin() const {
  std::string host = options_.host.find(':') != std::string::npos ? "[" + options_.host + "]" : options_.host;
  return std::string(usesTls() ? "https" : "http") + "://" + host + ":" + std::to_string(port_);
}

std::string DevServer::requestOrigin(const httplib::Request& request) const {
  std::string host = request.get_header_value("Host");
  if (!isPlainHost(host)) return origin();
  return std::string(usesTls() ? "https" : "http") + "://" + host;
}

Outcome<int> DevServer::bind() {
  if (server_) return Outcome<int>::failure("the server is bound already");
  if (options_.certFile.empty() != options_.keyFile.empty()) {
    return Outcome<int>::failure("TLS needs both a certificate and a key");
  }
  if (usesTls()) {
    auto tls = std::make_unique<httplib::SSLServer>(options_.certFile.c_str(), options_.keyFile.c_str());
    if (!tls->is_valid()) {
      return Outcome<int>::failure("cannot load the certificate " + options_.certFile.string() + " and key " +
                                   options_.keyFile.string());
    }
    server_ = std::move(tls);
  } else {
    server_ = std::make_unique<httplib::Server>();
  }
  installRoutes();
  // The library's default also sets SO_REUSEPORT, which lets a second instance bind the same port and
  // silently take half of the requests. Only SO_REUSEADDR, so a busy port is an error.
  server_->set_socket_options([](socket_t socket) {
    int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  int bound = options_.port == 0 ? server_->bind_to_any_port(options_.host)
                                 : (server_->bind_to_port(options_.host, options_.port) ? options_.port : -1);
  if (bound <= 0) {
    server_.reset();
    return Outcome<int>::failure("cannot listen on " + options_.host + ":" + std::to_string(options_.port));
  }
  port_ = bound;
  return port_;
}

void DevServer::run() {
  {
    std::lock_guard lock(stateMutex_);
    if (!server_ || stopRequested_ || serving_) {
      finished_ = true;
      stateChanged_.notify_all();
      return;
    }
    serving_ = true;
  }
  server_->listen_after_bind();
  std::lock_guard lock(stateMutex_);
  finished_ = true;
  stateChanged_.notify_all();
}

Outcome<int> DevServer::start() {
  auto bound = bind();
  if (!bound) return bound;
  thread_ = std::thread([this] { run(); });
  return bound;
}

void DevServer::stop() {
  std::unique_lock lock(stateMutex_);
  stopRequested_ = true;
  if (!serving_) return;
  // The accept loop may not have started yet when stop arrives; the library ignores a stop before then, so
  // keep asking until the loop has ended.
  while (!finished_) {
    server_->stop();
    stateChanged_.wait_for(lock, std::chrono::milliseconds(20));
  }
}

void DevServer::installRoutes() {
  auto& server = *server_;
  server.set_payload_max_length(options_.maxBodyBytes);
  server.Get(R"(/sdk/v1/apps/([^/]+)/placements/([^/]+)/stories)",
             [this](const httplib::Request& rq, httplib::Response& rs) { handleStories(rq, rs); });
  server.Get(R"(/sdk/v1/apps/([^/]+)/placements/([^/]+)/banners)",
             [this](const httplib::Request& rq, httplib::Response& rs) { handleBanners(rq, rs); });
  server.Post(R"(/sdk/v1/apps/([^/]+)/story-items/([^/]+)/vote)",
              [this](const httplib::Request& rq, httplib::Response& rs) { handleVote(rq, rs); });
  server.Post(R"(/sdk/v1/events)",
              [this](const httplib::Request& rq, httplib::Response& rs) { handleSdkEvent(rq, rs); });
  server.Post(R"(/sdk/v1/apps/([^/]+)/events)",
              [this](const httplib::Request& rq, httplib::Response& rs) { handleAnalyticsEvent(rq, rs); });
  server.Get(R"(/media/(.+))", [this](const httplib::Request& rq, httplib::Response& rs) { handleMedia(rq, rs); });

  // Answers the library produces itself (no route, body too large) get a JSON body like every other error.
  httplib::Server::HandlerWithResponse errorBody = [](const httplib::Request&, httplib::Response& response) {
    if (!response.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    answerError(response, response.status, statusText(response.status));
    return httplib::Server::HandlerResponse::Handled;
  };
  server.set_error_handler(errorBody);
  server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
    answerError(response, 500, "Internal error");
  });
  if (options_.accessLog) {
    server.set_logger([this](const httplib::Request& request, const httplib::Response& response) {
      std::lock_guard lock(logMutex_);
      *options_.accessLog << request.method << ' ' << request.path << ' ' << response.status << '\n' << std::flush;
    });
  }
}

const ContentApp* DevServer::authorizedApp(const std::string& appKey, const httplib::Request& request,
                                           httplib::Response& response) const {
  const ContentApp* app = catalog_.app(appKey);
  if (!app) {
    answerError(response, 404, "Unknown app '" + appKey + "'");
    return nullptr;
  }
  if (request.get_header_value(kSdkKeyHeader) != app->sdkKey) {
    answerError(response, 401, std::string("Missing or wrong ") + kSdkKeyHeader + " for app '" + appKey + "'");
    return nullptr;
  }
  return app;
}

void DevServer::handleStories(const httplib::Request& request, httplib::Response& response) {
  const ContentApp* app = authorizedApp(request.matches[1], request, response);
  if (!app) return;
  const ContentPlacement* placement = app->placement(request.matches[2].str());
  if (!placement) return answerError(response, 404, "Unknown placement '" + request.matches[2].str() + "'");

  auto counts = store_->voteCounts(app->appKey);
  if (!counts) return answerError(response, 500, "Cannot read votes: " + counts.error());
  std::map<std::string, StoredVote> userVotes;
  if (auto user = requestUser(request, nullptr)) {
    auto votes = store_->votesOf(app->appKey, *user);
    if (!votes) return answerError(response, 500, "Cannot read votes: " + votes.error());
    userVotes = std::move(votes).value();
  }

  nlohmann::json groups = placement->groups;
  for (auto& group : groups) {
    for (auto& item : group["items"]) {
      std::string itemKey = identifierKey(item["id"].get<std::string>());
      auto options = item.find("widgetOptions");
      if (options == item.end() || !options->is_array()) continue;
      for (auto& option : *options) {
        std::string optionKey = identifierKey(option["id"].get<std::string>());
        auto stored = counts.value().find({itemKey, optionKey});
        if (stored == counts.value().end()) continue;
        auto base = option.find("voteCount");
        std::int64_t start = base == option.end() || base->is_null() ? 0 : base->get<std::int64_t>();
        option["voteCount"] = start + stored->second;
      }
      auto vote = userVotes.find(itemKey);
      if (vote == userVotes.end()) continue;
      for (const auto& option : *options) {
        if (identifierKey(option["id"].get<std::string>()) == vote->second.optionId) {
          item["userVote"] = {{"optionId", option["id"]}, {"votedAt", vote->second.votedAt}};
        }
      }
    }
  }
  substituteBase(groups, requestOrigin(request));
  answer(response, 200, nlohmann::json{{"groups", std::move(groups)}});
}

void DevServer::handleBanners(const httplib::Request& request, httplib::Response& response) {
  const ContentApp* app = authorizedApp(request.matches[1], request, response);
  if (!app) return;
  const ContentPlacement* placement = app->placement(request.matches[2].str());
  if (!placement) return answerError(response, 404, "Unknown placement '" + request.matches[2].str() + "'");
  nlohmann::json banners = placement->banners;
  substituteBase(banners, requestOrigin(request));
  answer(response, 200, nlohmann::json{{"banners", std::move(banners)}});
}

void DevServer::handleVote(const httplib::Request& request, httplib::Response& response) {
  const ContentApp* app = authorizedApp(request.matches[1], request, response);
  if (!app) return;
  std::string itemKey = identifierKey(request.matches[2].str());
  if (!app->itemRecords.count(itemKey)) {
    return answerError(response, 404, "Unknown story item '" + request.matches[2].str() + "'");
  }
  auto body = parseBodyObject(request.body);
  if (!body) return answerError(response, 400, "Invalid VoteRequestPayload: " + body.error());
  if (auto failure = checkVoteRequest(body.value())) {
    return answerError(response, 400, "Invalid VoteRequestPayload: " + *failure);
  }
  std::string optionId = body.value()["optionId"].get<std::string>();
  auto votable = app->votableItems.find(itemKey);
  const ContentOption* option = votable == app->votableItems.end() ? nullptr : votable->second.option(optionId);
  if (!option) {
    return answerError(response, 404, "Story item '" + request.matches[2].str() + "' has no option '" + optionId + "'");
  }
  auto count =
      store_->recordVote(app->appKey, itemKey, requestUser(request, &body.value()), identifierKey(option->id), now());
  if (!count) return answerError(response, 500, "Cannot store the vote: " + count.error());
  answer(response, 200,
         nlohmann::json{{"voted", true}, {"optionId", option->id}, {"voteCount", option->voteCount + count.value()}});
}

void DevServer::handleSdkEvent(const httplib::Request& request, httplib::Response& response) {
  auto body = parseBodyObject(request.body);
  if (!body) return answerError(response, 400, "Invalid SdkEventRequest: " + body.error());
  if (auto failure = checkSdkEventRequest(body.value())) {
    return answerError(response, 400, "Invalid SdkEventRequest: " + *failure);
  }
  std::string appKey = body.value()["appKey"].get<std::string>();
  if (!authorizedApp(appKey, request, response)) return;
  auto id = store_->addEvent("sdk_event", appKey, now(), request.body);
  if (!id) return answerError(response, 500, "Cannot store the event: " + id.error());
  answer(response, 202, nlohmann::json{{"received", true}, {"id", id.value()}});
}

void DevServer::handleAnalyticsEvent(const httplib::Request& request, httplib::Response& response) {
  std::string appKey = request.matches[1];
  if (!authorizedApp(appKey, request, response)) return;
  auto body = parseBodyObject(request.body);
  if (!body) return answerError(response, 400, "Invalid AnalyticsEventPayload: " + body.error());
  if (auto failure = checkAnalyticsEventPayload(body.value())) {
    return answerError(response, 400, "Invalid AnalyticsEventPayload: " + *failure);
  }
  auto id = store_->addEvent("analytics", appKey, now(), request.body);
  if (!id) return answerError(response, 500, "Cannot store the event: " + id.error());
  answer(response, 202, nlohmann::json{{"received", true}, {"id", id.value()}});
}

void DevServer::handleMedia(const httplib::Request& request, httplib::Response& response) {
  auto file = resolveMediaFile(options_.mediaDir, request.matches[1].str());
  if (!file) return answerError(response, 404, "No media at " + request.path);
  std::ifstream in(*file, std::ios::binary);
  if (!in.is_open()) return answerError(response, 404, "Cannot read media at " + request.path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  // The status is left to the library: 200, or 206 for a byte range (video players ask for ranges).
  response.set_content(bytes.str(), mediaContentType(*file).c_str());
}

}  // namespace quenmark::devserver
