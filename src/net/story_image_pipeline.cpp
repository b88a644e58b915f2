#include <quenmark/net/story_image_pipeline.h>

#include <quenmark/platform/http_session.h>
#include <quenmark/platform/platform.h>

#include "net/image_cache.h"
#include "net/image_decode_worker.h"
#include "platform/image_decoding.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

namespace quenmark {
namespace {

/// Decoding threads: two keep a second picture moving while one decodes, without crowding the host.
constexpr unsigned kDecodeThreads = 2;

/// A caller of `imageFor` waiting for a load, with the main thread that was current when it asked.
struct Waiter {
  StoryImagePipeline::ImageCompletion completion;
  std::shared_ptr<platform::MainThread> mainThread;
};

/// One transfer and decode for one URL, and everyone waiting for it.
struct Load {
  std::vector<Waiter> waiters;  // guarded by State::mutex
};

Waiter makeWaiter(StoryImagePipeline::ImageCompletion completion) {
  return Waiter{std::move(completion), platform::currentPlatform()->mainThread};
}

}  // namespace

struct StoryImagePipeline::State : std::enable_shared_from_this<StoryImagePipeline::State> {
  mutable std::mutex mutex;  // held for bookkeeping only: never across I/O, decoding or callbacks
  ImageCache cache{kDefaultCacheByteLimit};
  std::unordered_map<std::string, std::shared_ptr<Load>> inFlight;
  ImageDecodeWorker decoder{kDecodeThreads};

  /// Sends the GET for `url`; the response is decoded on the worker and then settles `load`.
  void startLoad(const Url& url, std::shared_ptr<Load> load) {
    // A plain GET: no SDK key, no identity headers. Pictures and videos may be large and links slow, so the
    // transfer fails only when no data has come for the timeout, however long it takes as a whole.
    platform::HttpRequest request{url, "GET", {}, std::nullopt, 60.0};
    request.timeoutOnlyWhenStalled = true;
    std::string key = url.string();
    platform::sendRequest(std::move(request), [self = shared_from_this(), key = std::move(key),
                                               load = std::move(load)](platform::HttpResult result) mutable {
      // On the HTTP session's thread: only hand the bytes on.
      if (!result.ok() || !result->body) {
        self->settle(key, load, nullptr);
        return;
      }
      auto* state = self.get();
      state->decoder.post(
          [self = std::move(self), key = std::move(key), load = std::move(load), bytes = std::move(*result->body)]() {
            // On a decoding thread.
            auto decoded = platform::decodeImage(bytes);
            self->settle(key, load, decoded.ok() ? std::move(decoded).value() : nullptr);
          });
    });
  }

  /// Ends `load`: takes it out of the table if it is still the URL's entry (a reset may have replaced
  /// it), caches the image when there is one, and hands the image to every waiter on the main thread.
  void settle(const std::string& key, const std::shared_ptr<Load>& load, std::shared_ptr<const Image> image) {
    std::vector<Waiter> waiters;
    {
      std::lock_guard lock(mutex);
      waiters = std::move(load->waiters);
      load->waiters.clear();
      auto found = inFlight.find(key);
      if (found != inFlight.end() && found->second == load) {
        inFlight.erase(found);
        if (image) cache.insert(key, image);
      }
    }
    deliver(std::move(waiters), image);
  }

  static void deliver(std::vector<Waiter> waiters, const std::shared_ptr<const Image>& image) {
    for (auto& waiter : waiters) {
      waiter.mainThread->post([completion = std::move(waiter.completion), image]() {
        // On the main thread.
        auto callback = completion;
        callback(image);
      });
    }
  }

  /// Under the lock: a cached image, or joins/starts a load. Returns the load to start, if any.
  std::shared_ptr<Load> lookupOrJoin(const std::string& key, Waiter* waiter, std::shared_ptr<const Image>* hit) {
    if (hit != nullptr) {
      if (auto image = cache.get(key)) {
        *hit = std::move(image);
        return nullptr;
      }
    } else if (cache.contains(key)) {
      return nullptr;
    }
    if (auto found = inFlight.find(key); found != inFlight.end()) {
      if (waiter != nullptr) found->second->waiters.push_back(std::move(*waiter));
      return nullptr;
    }
    auto load = std::make_shared<Load>();
    if (waiter != nullptr) load->waiters.push_back(std::move(*waiter));
    inFlight.emplace(key, load);
    return load;
  }
};

StoryImagePipeline& StoryImagePipeline::shared() {
  // Lives until the process ends: completions of transfers still running may reach it at any time.
  static StoryImagePipeline* const instance = new StoryImagePipeline();
  return *instance;
}

StoryImagePipeline::StoryImagePipeline() : state_(std::make_shared<State>()) {}

StoryImagePipeline::~StoryImagePipeline() = default;

void StoryImagePipeline::imageFor(const Url& url, ImageCompletion completion) {
  if (!completion) {
    prefetch(url);
    return;
  }
  Waiter waiter = makeWaiter(std::move(completion));
  std::shared_ptr<const Image> hit;
  std::shared_ptr<Load> load;
  {
    std::lock_guard lock(state_->mutex);
    load = state_->lookupOrJoin(url.string(), &waiter, &hit);
  }
  if (hit) {
    std::vector<Waiter> waiters;
    waiters.push_back(std::move(waiter));
    State::deliver(std::move(waiters), hit);
    return;
  }
  if (load) state_->startLoad(url, std::move(load));
}

std::shared_ptr<const Image> StoryImagePipeline::cachedImage(const Url& url) {
  std::lock_guard lock(state_->mutex);
  return state_->cache.get(url.string());
}

void StoryImagePipeline::prefetch(const std::optional<Url>& url) {
  if (!url) return;
  std::shared_ptr<Load> load;
  {
    std::lock_guard lock(state_->mutex);
    load = state_->lookupOrJoin(url->string(), nullptr, nullptr);
  }
  if (load) state_->startLoad(*url, std::move(load));
}

void StoryImagePipeline::prefetch(const std::vector<std::optional<Url>>& urls) {
  for (const auto& url : urls) prefetch(url);
}

void StoryImagePipeline::setCacheByteLimit(std::size_t bytes) {
  std::lock_guard lock(state_->mutex);
  state_->cache.setByteLimit(bytes);
}

std::size_t StoryImagePipeline::cacheByteLimit() const {
  std::lock_guard lock(state_->mutex);
  return state_->cache.byteLimit();
}

void StoryImagePipeline::purge() {
  std::lock_guard lock(state_->mutex);
  state_->cache.clear();
}

bool StoryImagePipeline::isCached(const Url& url) const {
  std::lock_guard lock(state_->mutex);
  return state_->cache.contains(url.string());
}

bool StoryImagePipeline::isLoading(const Url& url) const {
  std::lock_guard lock(state_->mutex);
  return state_->inFlight.count(url.string()) != 0;
}

std::size_t StoryImagePipeline::cachedByteCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->cache.byteCount();
}

void StoryImagePipeline::resetForTesting() {
  std::lock_guard lock(state_->mutex);
  state_->cache.clear();
  state_->cache.setByteLimit(kDefaultCacheByteLimit);
  state_->inFlight.clear();
}

}  // namespace quenmark
