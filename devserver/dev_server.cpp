#include "devserver/dev_server.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

#include "devserver/byte_range.h"
#include "devserver/media_files.h"
#include "devserver/record_check.h"
#include "devserver/wire_records.h"

namespace quenmark::devserver {
namespace {

constexpr const char* kJson = "application/json";
constexpr const char* kSdkKeyHeader = "X-Talewyn-SDK-Key";
constexpr const char* kUserIdHeader = "X-Talewyn-UserId";

HttpAnswer answer(int status, const nlohmann::json& body) {
  HttpAnswer result;
  result.status = status;
  result.contentType = kJson;
  result.body = dumpJson(body);
  return result;
}

HttpAnswer answerError(int status, const std::string& message) {
  return answer(status, nlohmann::json{{"error", message}});
}

std::string trimmed(const std::string& text) {
  auto begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  auto end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

std::string now() { return formatUtc(std::chrono::system_clock::now()); }

/// The user a request speaks for: the "X-Talewyn-UserId" header, else the body's `userId`.
std::optional<std::string> requestUser(const HttpRequest& request, const nlohmann::json* body) {
  std::string header = trimmed(request.header(kUserIdHeader));
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

std::optional<std::string> readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
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

DevServer::~DevServer() { stop(); }

bool DevServer::usesTls() const { return !options_.certFile.empty() && !options_.keyFile.empty(); }

std::string DevServer::origin() const {
  std::string host = options_.host.find(':') != std::string::npos ? "[" + options_.host + "]" : options_.host;
  return std::string(usesTls() ? "https" : "http") + "://" + host + ":" + std::to_string(port_);
}

std::string DevServer::requestOrigin(const HttpRequest& request) const {
  std::string host = request.header("Host");
  if (!isPlainHost(host)) return origin();
  return std::string(usesTls() ? "https" : "http") + "://" + host;
}

Outcome<int> DevServer::bind() {
  std::lock_guard lock(stateMutex_);
  if (stopRequested_) return Outcome<int>::failure("the server has been stopped");
  if (socket_ || daemon_) return Outcome<int>::failure("the server is bound already");
  if (options_.certFile.empty() != options_.keyFile.empty()) {
    return Outcome<int>::failure("TLS needs both a certificate and a key");
  }
  if (usesTls()) {
    auto certificate = readFile(options_.certFile);
    auto key = readFile(options_.keyFile);
    if (!certificate || !key) {
      return Outcome<int>::failure("cannot load the certificate " + options_.certFile.string() + " and key " +
                                   options_.keyFile.string());
    }
    tls_ = TlsCredentials{std::move(*certificate), std::move(*key)};
  }
  auto socket = ListenSocket::open(options_.host, options_.port);
  if (!socket) return Outcome<int>::failure(socket.error());
  port_ = socket.value().port;
  socket_ = std::move(socket).value();
  return port_;
}

Outcome<Done> DevServer::serve() {
  std::lock_guard lock(stateMutex_);
  if (stopRequested_ || daemon_) return Done{};
  if (!socket_) return Outcome<Done>::failure("the server is not bound");
  auto daemon = std::make_unique<HttpDaemon>([this](const HttpRequest& request) { return route(request); },
                                             options_.limits, options_.accessLog);
  auto started = daemon->start(std::move(*socket_), tls_ ? &*tls_ : nullptr);
  socket_.reset();
  if (!started) return started;
  daemon_ = std::move(daemon);
  return Done{};
}

Outcome<Done> DevServer::run() {
  auto served = serve();
  if (!served) return served;
  std::unique_lock lock(stateMutex_);
  ++running_;
  stateChanged_.wait(lock, [this] { return stopped_; });
  --running_;
  stateChanged_.notify_all();
  return Done{};
}

Outcome<int> DevServer::start() {
  auto bound = bind();
  if (!bound) return bound;
  auto served = serve();
  if (!served) return Outcome<int>::failure(served.error());
  return bound;
}

void DevServer::stop() {
  std::unique_lock lock(stateMutex_);
  stopRequested_ = true;
  if (!stopping_) {
    stopping_ = true;
    std::unique_ptr<HttpDaemon> daemon = std::move(daemon_);
    socket_.reset();
    lock.unlock();
    daemon.reset();
    lock.lock();
    stopped_ = true;
    stateChanged_.notify_all();
  }
  // Until every `run` has left, so that the server may be destroyed as soon as this returns.
  stateChanged_.wait(lock, [this] { return stopped_ && running_ == 0; });
}

HttpAnswer DevServer::route(const HttpRequest& request) {
  std::vector<std::string> segments;
  for (std::size_t start = 1; start <= request.path.size();) {
    std::size_t end = std::min(request.path.find('/', start), request.path.size());
    segments.push_back(request.path.substr(start, end - start));
    start = end + 1;
  }
  // Whether the path is `pattern`, where "*" stands for any segment but an empty one.
  auto is = [&segments](std::initializer_list<std::string_view> pattern) {
    if (segments.size() != pattern.size()) return false;
    auto segment = segments.begin();
    for (std::string_view part : pattern) {
      if (segment->empty() || (part != "*" && *segment != part)) return false;
      ++segment;
    }
    return true;
  };
  const auto& s = segments;
  if (request.method == "GET" || request.method == "HEAD") {
    if (is({"sdk", "v1", "apps", "*", "placements", "*", "stories"})) return handleStories(request, s[3], s[5]);
    if (is({"sdk", "v1", "apps", "*", "placements", "*", "banners"})) return handleBanners(request, s[3], s[5]);
    constexpr std::string_view media = "/media/";
    if (request.path.size() > media.size() && request.path.compare(0, media.size(), media) == 0) {
      return handleMedia(request, request.path.substr(media.size()));
    }
  } else if (request.method == "POST") {
    if (is({"sdk", "v1", "apps", "*", "story-items", "*", "vote"})) return handleVote(request, s[3], s[5]);
    if (is({"sdk", "v1", "events"})) return handleSdkEvent(request);
    if (is({"sdk", "v1", "apps", "*", "events"})) return handleAnalyticsEvent(request, s[3]);
  }
  return answerError(404, "Not found");
}

const ContentApp* DevServer::authorizedApp(const std::string& appKey, const HttpRequest& request,
                                           HttpAnswer& refusal) const {
  const ContentApp* app = catalog_.app(appKey);
  if (!app) {
    refusal = answerError(404, "Unknown app '" + appKey + "'");
    return nullptr;
  }
  if (request.header(kSdkKeyHeader) != app->sdkKey) {
    refusal = answerError(401, std::string("Missing or wrong ") + kSdkKeyHeader + " for app '" + appKey + "'");
    return nullptr;
  }
  return app;
}

HttpAnswer DevServer::handleStories(const HttpRequest& request, const std::string& appKey,
                                    const std::string& placementKey) {
  HttpAnswer refusal;
  const ContentApp* app = authorizedApp(appKey, request, refusal);
  if (!app) return refusal;
  const ContentPlacement* placement = app->placement(placementKey);
  if (!placement) return answerError(404, "Unknown placement '" + placementKey + "'");

  auto counts = store_->voteCounts(app->appKey);
  if (!counts) return answerError(500, "Cannot read votes: " + counts.error());
  std::map<std::string, StoredVote> userVotes;
  if (auto user = requestUser(request, nullptr)) {
    auto votes = store_->votesOf(app->appKey, *user);
    if (!votes) return answerError(500, "Cannot read votes: " + votes.error());
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
  return answer(200, nlohmann::json{{"groups", std::move(groups)}});
}

HttpAnswer DevServer::handleBanners(const HttpRequest& request, const std::string& appKey,
                                    const std::string& placementKey) {
  HttpAnswer refusal;
  const ContentApp* app = authorizedApp(appKey, request, refusal);
  if (!app) return refusal;
  const ContentPlacement* placement = app->placement(placementKey);
  if (!placement) return answerError(404, "Unknown placement '" + placementKey + "'");
  nlohmann::json banners = placement->banners;
  substituteBase(banners, requestOrigin(request));
  return answer(200, nlohmann::json{{"banners", std::move(banners)}});
}

HttpAnswer DevServer::handleVote(const HttpRequest& request, const std::string& appKey, const std::string& itemId) {
  HttpAnswer refusal;
  const ContentApp* app = authorizedApp(appKey, request, refusal);
  if (!app) return refusal;
  std::string itemKey = identifierKey(itemId);
  if (!app->itemRecords.count(itemKey)) {
    return answerError(404, "Unknown story item '" + itemId + "'");
  }
  auto body = parseBodyObject(request.body);
  if (!body) return answerError(400, "Invalid VoteRequestPayload: " + body.error());
  if (auto failure = checkVoteRequest(body.value())) {
    return answerError(400, "Invalid VoteRequestPayload: " + *failure);
  }
  std::string optionId = body.value()["optionId"].get<std::string>();
  auto votable = app->votableItems.find(itemKey);
  const ContentOption* option = votable == app->votableItems.end() ? nullptr : votable->second.option(optionId);
  if (!option) {
    return answerError(404, "Story item '" + itemId + "' has no option '" + optionId + "'");
  }
  auto count =
      store_->recordVote(app->appKey, itemKey, requestUser(request, &body.value()), identifierKey(option->id), now());
  if (!count) return answerError(500, "Cannot store the vote: " + count.error());
  return answer(
      200, nlohmann::json{{"voted", true}, {"optionId", option->id}, {"voteCount", option->voteCount + count.value()}});
}

HttpAnswer DevServer::handleSdkEvent(const HttpRequest& request) {
  auto body = parseBodyObject(request.body);
  if (!body) return answerError(400, "Invalid SdkEventRequest: " + body.error());
  if (auto failure = checkSdkEventRequest(body.value())) {
    return answerError(400, "Invalid SdkEventRequest: " + *failure);
  }
  std::string appKey = body.value()["appKey"].get<std::string>();
  HttpAnswer refusal;
  if (!authorizedApp(appKey, request, refusal)) return refusal;
  auto id = store_->addEvent("sdk_event", appKey, now(), request.body);
  if (!id) return answerError(500, "Cannot store the event: " + id.error());
  return answer(202, nlohmann::json{{"received", true}, {"id", id.value()}});
}

HttpAnswer DevServer::handleAnalyticsEvent(const HttpRequest& request, const std::string& appKey) {
  HttpAnswer refusal;
  if (!authorizedApp(appKey, request, refusal)) return refusal;
  auto body = parseBodyObject(request.body);
  if (!body) return answerError(400, "Invalid AnalyticsEventPayload: " + body.error());
  if (auto failure = checkAnalyticsEventPayload(body.value())) {
    return answerError(400, "Invalid AnalyticsEventPayload: " + *failure);
  }
  auto id = store_->addEvent("analytics", appKey, now(), request.body);
  if (!id) return answerError(500, "Cannot store the event: " + id.error());
  return answer(202, nlohmann::json{{"received", true}, {"id", id.value()}});
}

HttpAnswer DevServer::handleMedia(const HttpRequest& request, const std::string& relative) {
  auto file = resolveMediaFile(options_.mediaDir, relative);
  if (!file) return answerError(404, "No media at " + request.path);
  FileDescriptor descriptor(::open(file->c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (!descriptor.valid() || ::fstat(descriptor.get(), &status) != 0) {
    return answerError(404, "Cannot read media at " + request.path);
  }
  auto size = static_cast<std::uint64_t>(status.st_size);
  // Video players ask for ranges; the answer is sent from the file, never read into memory.
  ByteRange range = parseByteRange(request.header("Range"), size);
  if (range.kind == ByteRange::Kind::unsatisfiable) {
    HttpAnswer refused = answerError(416, "The range lies outside the " + std::to_string(size) + " bytes of the file");
    refused.headers.emplace_back("Content-Range", "bytes */" + std::to_string(size));
    return refused;
  }
  HttpAnswer answer;
  answer.contentType = mediaContentType(*file);
  answer.headers.emplace_back("Accept-Ranges", "bytes");
  answer.file = std::move(descriptor);
  answer.fileLength = size;
  if (range.kind == ByteRange::Kind::partial) {
    answer.status = 206;
    answer.fileOffset = range.first;
    answer.fileLength = range.length;
    answer.headers.emplace_back("Content-Range", "bytes " + std::to_string(range.first) + "-" +
                                                     std::to_string(range.first + range.length - 1) + "/" +
                                                     std::to_string(size));
  }
  return answer;
}

}  // namespace quenmark::devserver
