// The reference content service's two speed and memory goals, measured through libcurl as the SDK uses it:
// - a request on a reused connection: a small answer must not wait for the client's delayed acknowledgement
//   (about 40 ms on Linux); the goal is under 20 ms per request;
// - two ranges of a 512 MiB video: they are sent from the file, so the process's peak resident memory must
//   grow by less than 32 MiB (the counter "peak_resident_growth").
// The program fails when a goal is missed, a request fails or a connection is not reused. Measure with the
// release preset.
#include <sys/resource.h>

#include <curl/curl.h>

#include "devserver/content_catalog.h"
#include "devserver/dev_server.h"
#include "devserver/dev_store.h"
#include "recording_reporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace quenmark::devserver;

constexpr double kReusedRequestGoalSeconds = 0.020;
constexpr double kRangesMemoryGoalBytes = 32.0 * 1024 * 1024;
constexpr std::uint64_t kLargeSize = 512ull * 1024 * 1024;
constexpr std::uint64_t kMarkOffset = 300ull * 1024 * 1024;

/// The peak resident memory of this process so far, in bytes.
std::size_t peakResidentBytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

/// The service without apps on 127.0.0.1, serving a media directory of its own: "small.png" (800 bytes, which
/// fit in one segment behind the header) and the sparse "large.mp4" with "MARK" at 300 MiB and "TAIL" at its
/// end. Everything is removed with it.
class Service {
 public:
  Service() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenmark-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      error_ = "cannot make a temporary directory";
      return;
    }
    directory_ = pattern;
    std::ofstream(directory_ / "small.png", std::ios::binary) << std::string(800, 'p');
    {
      std::ofstream video(directory_ / "large.mp4", std::ios::binary);
      video.seekp(static_cast<std::streamoff>(kMarkOffset));
      video << "MARK";
      video.seekp(static_cast<std::streamoff>(kLargeSize - 4));
      video << "TAIL";
    }
    auto store = DevStore::open(directory_ / "dev.db");
    auto catalog = ContentCatalog::fromJson(nlohmann::json{{"apps", nlohmann::json::object()}});
    if (!store || !catalog) {
      error_ = store.error() + catalog.error();
      return;
    }
    ServerOptions options;
    options.mediaDir = directory_;
    server_ = std::make_unique<DevServer>(std::move(catalog).value(), std::move(store).value(), options);
    if (auto port = server_->start(); !port) error_ = port.error();
  }
  ~Service() {
    server_.reset();
    std::error_code ignored;
    if (!directory_.empty()) std::filesystem::remove_all(directory_, ignored);
  }
  Service(const Service&) = delete;
  Service& operator=(const Service&) = delete;

  /// Why the service is not serving; empty when it is.
  const std::string& error() const { return error_; }
  std::string mediaUrl(const std::string& name) const { return server_->origin() + "/media/" + name; }

 private:
  std::filesystem::path directory_;
  std::unique_ptr<DevServer> server_;
  std::string error_;
};

/// Made on first use and stopped before the program ends.
std::unique_ptr<Service> theService;

Service& service() {
  if (!theService) theService = std::make_unique<Service>();
  return *theService;
}

/// One libcurl handle: it keeps its connection open between transfers.
class Client {
 public:
  Client() : handle_(curl_easy_init(), curl_easy_cleanup) {
    curl_easy_setopt(handle_.get(), CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(handle_.get(), CURLOPT_WRITEDATA, &body_);
    curl_easy_setopt(
        handle_.get(), CURLOPT_WRITEFUNCTION, +[](char* data, size_t size, size_t count, void* body) {
          static_cast<std::string*>(body)->append(data, size * count);
          return size * count;
        });
  }

  /// GETs `url`, the byte range `range` of it ("first-last" or "-suffix") when given; the status, or 0 when no
  /// answer came.
  long get(const std::string& url, const char* range = nullptr) {
    body_.clear();
    curl_easy_setopt(handle_.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle_.get(), CURLOPT_RANGE, range);
    long status = 0;
    if (curl_easy_perform(handle_.get()) != CURLE_OK) return 0;
    curl_easy_getinfo(handle_.get(), CURLINFO_RESPONSE_CODE, &status);
    return status;
  }
  /// The connections the last transfer opened: 0 when it reused one.
  long newConnections() const {
    long count = 0;
    curl_easy_getinfo(handle_.get(), CURLINFO_NUM_CONNECTS, &count);
    return count;
  }
  const std::string& body() const { return body_; }

 private:
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle_;
  std::string body_;
};

void BM_ReusedConnectionRequest(benchmark::State& state) {
  Service& on = service();
  if (!on.error().empty()) return state.SkipWithError(on.error().c_str());
  const std::string url = on.mediaUrl("small.png");
  Client client;
  if (client.get(url) != 200) return state.SkipWithError("the service did not answer");  // opens the connection
  for (auto _ : state) {
    if (client.get(url) != 200 || client.newConnections() != 0) {
      state.SkipWithError("a request failed or did not reuse the connection");
      break;
    }
  }
}
BENCHMARK(BM_ReusedConnectionRequest)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_RangesOfALargeFile(benchmark::State& state) {
  Service& on = service();
  if (!on.error().empty()) return state.SkipWithError(on.error().c_str());
  // Before the first range ever asked: a later run would otherwise miss what an earlier one grew.
  static const std::size_t peakBefore = peakResidentBytes();
  const std::string url = on.mediaUrl("large.mp4");
  const std::string mark = std::to_string(kMarkOffset) + "-" + std::to_string(kMarkOffset + 3);
  Client client;
  for (auto _ : state) {
    if (client.get(url, mark.c_str()) != 206 || client.body() != "MARK" || client.get(url, "-4") != 206 ||
        client.body() != "TAIL") {
      state.SkipWithError("a range came back wrong");
      break;
    }
  }
  state.counters["peak_resident_growth"] =
      benchmark::Counter(static_cast<double>(peakResidentBytes() - peakBefore), benchmark::Counter::kDefaults,
                         benchmark::Counter::kIs1024);
}
BENCHMARK(BM_RangesOfALargeFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  benchmark::Initialize(&argc, argv);
  quenmark::bench::RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  theService.reset();
  curl_global_cleanup();

  bool met = reporter.printFailures();
  if (auto request = reporter.seconds.find("BM_ReusedConnectionRequest/real_time"); request != reporter.seconds.end()) {
    std::printf("request on a reused connection: %.3f ms (under %.0f ms)\n", request->second * 1e3,
                kReusedRequestGoalSeconds * 1e3);
    met = met && request->second < kReusedRequestGoalSeconds;
  }
  if (auto ranges = reporter.counters.find("BM_RangesOfALargeFile/real_time"); ranges != reporter.counters.end()) {
    const double growth = ranges->second["peak_resident_growth"];
    std::printf("peak resident growth serving ranges: %.1f MiB (under %.0f MiB)\n", growth / (1024 * 1024),
                kRangesMemoryGoalBytes / (1024 * 1024));
    met = met && growth < kRangesMemoryGoalBytes;
  }
  return met ? 0 : 1;
}
