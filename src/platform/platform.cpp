#include <quenmark/platform/platform.h>
#include <quenmark/platform/run_loop.h>

#include "build_config.h"
#include "platform/curl_http_session.h"
#include "platform/sqlite_key_value_store.h"
#include "platform/system_device_info.h"
#include "platform/system_services.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace quenmark::platform {

Timer::~Timer() = default;
MainThread::~MainThread() = default;
Clock::~Clock() = default;
HttpSession::~HttpSession() = default;
bool HttpSession::waitUntilIdle(std::chrono::milliseconds) { return true; }
KeyValueStore::~KeyValueStore() = default;
DeviceInfoProvider::~DeviceInfoProvider() = default;
FontCatalog::~FontCatalog() = default;
UrlOpener::~UrlOpener() = default;
Console::~Console() = default;

double SystemClock::monotonicNow() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::chrono::system_clock::time_point SystemClock::wallNow() const { return std::chrono::system_clock::now(); }

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// The SDK key and the host's identity travel in headers with this prefix.
constexpr std::string_view kSdkHeaderPrefix = "X-Talewyn-";

std::mutex platformMutex;
std::shared_ptr<const Platform> installed;
bool installedByHost = false;

std::filesystem::path defaultDataDirectory() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
    return std::filesystem::path(xdg) / "quenmark";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::filesystem::path(home) / ".local" / "share" / "quenmark";
  }
  return std::filesystem::temp_directory_path() / "quenmark";
}

}  // namespace

std::optional<std::string> HttpResponse::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (equalsIgnoringCase(key, name)) return value;
  }
  return std::nullopt;
}

void sendRequest(HttpRequest request, HttpCompletion completion) {
  const bool carriesSdkHeaders = std::any_of(request.headers.begin(), request.headers.end(), [](const auto& header) {
    return header.first.size() >= kSdkHeaderPrefix.size() &&
           equalsIgnoringCase(std::string_view(header.first).substr(0, kSdkHeaderPrefix.size()), kSdkHeaderPrefix);
  });
  if (carriesSdkHeaders && request.url.scheme() != "https" && !request.url.isLoopback()) {
    Error error{ErrorKind::insecureTransport,
                "Refusing to send the SDK key over an unencrypted connection to " + request.url.host() + ".", 0};
    std::thread([completion = std::move(completion), error = std::move(error)]() mutable {
      if (completion) completion(std::move(error));
    }).detach();
    return;
  }
  // A redirect would take the key and identity to wherever it points, another host or plain HTTP.
  if (carriesSdkHeaders) request.followRedirects = false;
  currentPlatform()->http->send(std::move(request), std::move(completion));
}

std::shared_ptr<HttpSession> makeDefaultHttpSession(std::size_t maxResponseBytes) {
  CurlHttpSession::Options options;
  options.maxResponseBytes = maxResponseBytes;
  return std::make_shared<CurlHttpSession>(options);
}

Platform makeDefaultPlatform(const DefaultPlatformOptions& options) {
  auto store = std::make_shared<SqliteKeyValueStore>(options.dataDirectory.value_or(defaultDataDirectory()) /
                                                     "defaults.sqlite3");
  if (const auto& recovery = store->recovery()) {
    std::fprintf(stderr, "[Quenmark] %s\n", recovery->description.c_str());
  }
  return Platform{std::make_shared<RunLoop>(),
                  std::make_shared<SystemClock>(),
                  makeDefaultHttpSession(options.maxResponseBytes),
                  std::move(store),
                  std::make_shared<SystemDeviceInfo>(options.device),
                  std::make_shared<FontconfigCatalog>(),
                  std::make_shared<XdgUrlOpener>(),
                  std::make_shared<StdoutConsole>(),
                  options.serviceBaseUrl.value_or(*Url::parse(QUENMARK_DEFAULT_SERVICE_BASE_URL))};
}

void installPlatform(Platform platform) {
  auto shared = std::make_shared<const Platform>(std::move(platform));
  std::lock_guard lock(platformMutex);
  installed = std::move(shared);
  installedByHost = true;
}

bool isPlatformInstalled() {
  std::lock_guard lock(platformMutex);
  return installedByHost;
}

std::shared_ptr<const Platform> currentPlatform() {
  std::lock_guard lock(platformMutex);
  if (!installed) installed = std::make_shared<const Platform>(makeDefaultPlatform());
  return installed;
}

}  // namespace quenmark::platform
