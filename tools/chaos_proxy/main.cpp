// quenmark-chaos-proxy: stands between an SDK host and the content service and spoils requests by chance.
#include "chaos_proxy/chaos_proxy.h"

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <exception>
#include <sstream>
#include <string>
#include <thread>

namespace {

constexpr const char* kUsage = R"(Usage: quenmark-chaos-proxy --upstream http://HOST:PORT [options]

Listens on 127.0.0.1 and passes each request to the service, except that with the given probability it
meets one of the faults instead. Prints "listening on http://127.0.0.1:PORT", then one line per request
("GET /path pass", "POST /path reset"). Runs until SIGINT or SIGTERM.

  --port N           port to listen on (default 0: a free one)
  --probability P    chance from 0 to 1 that a request meets a fault (default 0.3)
  --faults LIST      comma-separated, from reset, drip, garbage, truncate, oversize, stall, close, redirect
                     (default: all of them)
  --seed N           seed of the random draws, so that a run can be repeated (default 1)
  --pass-first N     pass the first N requests untouched (default 0)
)";

int usage(const std::string& problem) {
  std::fprintf(stderr, "%s\n\n%s", problem.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quenmark::chaos;
  ProxyOptions options;
  options.faults = {Fault::reset,    Fault::drip,  Fault::garbage, Fault::truncate,
                    Fault::oversize, Fault::stall, Fault::close,   Fault::redirect};
  try {
    for (int i = 1; i < argc; ++i) {
      const std::string flag = argv[i];
      if (flag == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
      }
      if (i + 1 >= argc) return usage(flag + " needs a value.");
      const std::string value = argv[++i];
      if (flag == "--upstream") {
        const std::string prefix = "http://";
        const auto colon = value.rfind(':');
        if (value.rfind(prefix, 0) != 0 || colon < prefix.size()) return usage("--upstream must be http://HOST:PORT.");
        options.upstreamHost = value.substr(prefix.size(), colon - prefix.size());
        options.upstreamPort = std::stoi(value.substr(colon + 1));
      } else if (flag == "--port") {
        options.listenPort = std::stoi(value);
      } else if (flag == "--probability") {
        options.probability = std::stod(value);
        if (!(options.probability >= 0.0 && options.probability <= 1.0)) return usage("--probability is 0 to 1.");
      } else if (flag == "--faults") {
        options.faults.clear();
        std::istringstream names(value);
        for (std::string name; std::getline(names, name, ',');) {
          auto fault = faultNamed(name);
          if (!fault) return usage("Unknown fault '" + name + "'.");
          options.faults.push_back(*fault);
        }
      } else if (flag == "--seed") {
        options.seed = static_cast<std::uint32_t>(std::stoul(value));
      } else if (flag == "--pass-first") {
        options.passFirst = std::stoi(value);
      } else {
        return usage("Unknown option " + flag + ".");
      }
    }
  } catch (const std::exception&) {
    return usage("A number is not a number.");
  }
  if (options.upstreamPort <= 0) return usage("--upstream is required.");

  // Signals are taken by a thread of their own, so they are blocked before any other thread starts.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  try {
    ChaosProxy proxy(options, [](const std::string& line) {
      std::printf("%s\n", line.c_str());
      std::fflush(stdout);
    });
    std::printf("listening on http://127.0.0.1:%d\n", proxy.port());
    std::fflush(stdout);
    std::thread watcher([&] {
      int received = 0;
      sigwait(&signals, &received);
      proxy.stop();
    });
    proxy.run();
    watcher.join();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
