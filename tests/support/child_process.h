#pragma once

#include <sys/types.h>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quenmark::testsupport {

/// What a finished child printed and how it ended.
struct ProcessResult {
  int exitCode = -1;  ///< -1 when it did not finish in time (it is then killed)
  std::string out;
  std::string err;
};

/// Runs `program` with `args` (no shell) to completion, or kills it after `timeout`.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         std::chrono::seconds timeout = std::chrono::seconds{120});

/// A child that keeps running (a server); killed and reaped when destroyed.
class BackgroundProcess {
 public:
  BackgroundProcess(const std::string& program, const std::vector<std::string>& args);
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  /// Reads standard output until a whole line arrives or `timeout` passes.
  std::optional<std::string> readLine(std::chrono::milliseconds timeout);
  bool running() const { return pid_ > 0; }
  /// Kills the child with SIGKILL, wherever it is, and reaps it.
  void kill();

 private:
  pid_t pid_ = -1;
  int outFd_ = -1;
  std::string buffered_;
};

}  // namespace quenmark::testsupport
