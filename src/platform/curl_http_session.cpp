#include "platform/curl_http_session.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

namespace quenmark::platform {
namespace {

std::once_flag globalInitOnce;

constexpr long kCancelledCode = -1;

struct Transfer {
  Transfer(HttpRequest r, HttpCompletion c) : request(std::move(r)), completion(std::move(c)) {}
  HttpRequest request;
  HttpCompletion completion;
  CURL* easy = nullptr;
  curl_slist* headerList = nullptr;
  std::string body;
  bool sawBody = false;
  bool tooLarge = false;
  std::size_t maxBytes = 0;
  HttpHeaders headers;
  char errorBuffer[CURL_ERROR_SIZE] = {0};

  ~Transfer() {
    if (headerList != nullptr) curl_slist_free_all(headerList);
    if (easy != nullptr) curl_easy_cleanup(easy);
  }

  static size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Transfer*>(user);
    size_t bytes = size * count;
    if (self->body.size() + bytes > self->maxBytes) {
      self->tooLarge = true;
      return 0;  // aborts the transfer with CURLE_WRITE_ERROR
    }
    self->sawBody = true;
    self->body.append(data, bytes);
    return bytes;
  }

  static size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Transfer*>(user);
    size_t bytes = size * count;
    std::string_view line(data, bytes);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    if (line.starts_with("HTTP/")) {
      self->headers.clear();  // a new response (after a redirect or an interim 1xx)
    } else if (auto colon = line.find(':'); colon != std::string_view::npos) {
      std::string_view value = line.substr(colon + 1);
      while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
      while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
      self->headers.emplace_back(std::string(line.substr(0, colon)), std::string(value));
    }
    return bytes;
  }
};

}  // namespace

struct CurlHttpSession::Impl {
  Options options;
  CURLM* multi = nullptr;
  std::mutex mutex;
  std::deque<std::unique_ptr<Transfer>> incoming;
  bool stopping = false;
  std::unordered_map<CURL*, std::unique_ptr<Transfer>> active;
  std::size_t outstanding = 0;  // accepted and not yet completed; guarded by `mutex`
  std::condition_variable idle;
  std::thread worker;

  explicit Impl(Options opts) : options(opts) {
    std::call_once(globalInitOnce, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    multi = curl_multi_init();
    curl_multi_setopt(multi, CURLMOPT_MAXCONNECTS, options.maxConnections);
    curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, options.maxConnectionsPerHost);
    curl_multi_setopt(multi, CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX);
  }

  ~Impl() { curl_multi_cleanup(multi); }

  // The worker holds the state alive: a completion may release the last owner of the session (for
  // example the last reference to an installed platform), and the worker must then finish on its own.
  static void start(const std::shared_ptr<Impl>& self) {
    self->worker = std::thread([self] { self->loop(); });
  }

  void stop() {
    {
      std::lock_guard lock(mutex);
      stopping = true;
    }
    curl_multi_wakeup(multi);
    if (worker.get_id() == std::this_thread::get_id()) {
      worker.detach();  // destroyed from inside a completion: the loop ends after it returns
    } else {
      worker.join();
    }
  }

  static void complete(std::unique_ptr<Transfer> transfer, HttpResult&& result) {
    auto completion = std::move(transfer->completion);
    transfer.reset();
    if (completion) completion(std::move(result));
  }

  // Completes a transfer that this session accepted, then updates the in-flight count.
  void completeAccepted(std::unique_ptr<Transfer> transfer, HttpResult&& result) {
    complete(std::move(transfer), std::move(result));
    {
      std::lock_guard lock(mutex);
      --outstanding;
    }
    idle.notify_all();
  }

  bool start(std::unique_ptr<Transfer>& transfer) {
    CURL* easy = curl_easy_init();
    if (easy == nullptr) return false;
    transfer->easy = easy;
    transfer->maxBytes = options.maxResponseBytes;
    const HttpRequest& request = transfer->request;
    curl_easy_setopt(easy, CURLOPT_URL, request.url.string().c_str());
    curl_easy_setopt(easy, CURLOPT_PRIVATE, transfer.get());
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer->errorBuffer);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
    const auto timeoutMs = static_cast<long>(std::clamp(request.timeoutSeconds, 0.001, 86400.0) * 1000.0);
    if (request.timeoutOnlyWhenStalled) {
      // Fails when less than a byte a second arrives for the timeout (curl counts whole seconds).
      curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
      curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
      curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, std::max(1L, (timeoutMs + 999) / 1000));
    } else {
      curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, timeoutMs);
    }
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer.get());
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, transfer.get());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");

    bool hasExpect = false;
    for (const auto& [name, value] : request.headers) {
      std::string line = name + ": " + value;
      if (value.empty()) line = name + ";";  // curl's way of sending an empty header
      transfer->headerList = curl_slist_append(transfer->headerList, line.c_str());
      std::string lower = name;
      std::transform(lower.begin(), lower.end(), lower.begin(),
                     [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      hasExpect = hasExpect || lower == "expect";
    }
    if (!hasExpect) transfer->headerList = curl_slist_append(transfer->headerList, "Expect:");
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, transfer->headerList);

    if (request.method == "GET") {
      curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else if (request.method == "HEAD") {
      curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else {
      curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
    if (request.body) {
      curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body->size()));
      curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body->data());
    }
    return curl_multi_add_handle(multi, easy) == CURLM_OK;
  }

  void finish(CURL* easy, CURLcode code) {
    auto found = active.find(easy);
    if (found == active.end()) return;
    std::unique_ptr<Transfer> transfer = std::move(found->second);
    active.erase(found);
    curl_multi_remove_handle(multi, easy);

    if (transfer->tooLarge) {
      completeAccepted(std::move(transfer), Error{ErrorKind::transport,
                                                  "The response body exceeds the limit of " +
                                                      std::to_string(options.maxResponseBytes) + " bytes.",
                                                  static_cast<long>(CURLE_FILESIZE_EXCEEDED)});
      return;
    }
    if (code != CURLE_OK) {
      std::string message = transfer->errorBuffer[0] != '\0' ? transfer->errorBuffer : curl_easy_strerror(code);
      completeAccepted(std::move(transfer), Error{ErrorKind::transport, message, static_cast<long>(code)});
      return;
    }
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    HttpResponse response;
    response.status = static_cast<int>(status);
    response.headers = std::move(transfer->headers);
    if (transfer->sawBody) response.body = std::move(transfer->body);
    completeAccepted(std::move(transfer), std::move(response));
  }

  void loop() {
    for (;;) {
      std::deque<std::unique_ptr<Transfer>> batch;
      bool stop;
      {
        std::lock_guard lock(mutex);
        batch.swap(incoming);
        stop = stopping;
      }
      if (stop) {
        cancelAll(std::move(batch));
        return;
      }
      for (auto& transfer : batch) {
        if (start(transfer)) {
          CURL* easy = transfer->easy;
          active.emplace(easy, std::move(transfer));
        } else {
          completeAccepted(std::move(transfer), Error{ErrorKind::transport, "The request could not be started.", 0});
        }
      }

      int running = 0;
      curl_multi_perform(multi, &running);
      int queued = 0;
      while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE) finish(message->easy_handle, message->data.result);
      }
      curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
  }

  void cancelAll(std::deque<std::unique_ptr<Transfer>> pending) {
    for (auto& [easy, transfer] : active) {
      curl_multi_remove_handle(multi, easy);
      pending.push_back(std::move(transfer));
    }
    active.clear();
    for (auto& transfer : pending) {
      completeAccepted(std::move(transfer),
                       Error{ErrorKind::cancelled, "The HTTP session was shut down.", kCancelledCode});
    }
  }
};

CurlHttpSession::CurlHttpSession(Options options) : impl_(std::make_shared<Impl>(options)) { Impl::start(impl_); }

CurlHttpSession::~CurlHttpSession() { impl_->stop(); }

void CurlHttpSession::send(HttpRequest request, HttpCompletion completion) {
  auto transfer = std::make_unique<Transfer>(std::move(request), std::move(completion));
  bool accepted = false;
  {
    std::lock_guard lock(impl_->mutex);
    if (!impl_->stopping) {
      impl_->incoming.push_back(std::move(transfer));
      ++impl_->outstanding;
      accepted = true;
    }
  }
  if (accepted) {
    curl_multi_wakeup(impl_->multi);
  } else {
    // Shut down: complete off the caller's stack so callers never see a synchronous callback.
    std::thread([t = std::move(transfer)]() mutable {
      Impl::complete(std::move(t), Error{ErrorKind::cancelled, "The HTTP session was shut down.", kCancelledCode});
    }).detach();
  }
}

bool CurlHttpSession::waitUntilIdle(std::chrono::milliseconds timeout) {
  std::unique_lock lock(impl_->mutex);
  return impl_->idle.wait_for(lock, timeout, [&] { return impl_->outstanding == 0; });
}

}  // namespace quenmark::platform
