// A benchmark reporter that also keeps what each benchmark measured, so that a benchmark program can hold
// its runs to a goal after they finished.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace quenmark::bench {

/// The console report, plus each benchmark's results by its name ("BM_Name", "BM_Name/real_time", ...).
class RecordingReporter final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) {
        failures.push_back(run.benchmark_name() + ": " + run.error_message);
        continue;
      }
      seconds[run.benchmark_name()] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      for (const auto& [name, counter] : run.counters) counters[run.benchmark_name()][name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  /// Real time per iteration, in seconds.
  std::map<std::string, double> seconds;
  /// The user counters of each run, by counter name.
  std::map<std::string, std::map<std::string, double>> counters;
  /// "name: message" for every run that stopped with an error.
  std::vector<std::string> failures;

  /// Prints every run that stopped with an error; true when none did, so that a program whose runs failed
  /// does not pass as having met its goals.
  bool printFailures() const {
    for (const std::string& failure : failures) std::printf("failed: %s\n", failure.c_str());
    return failures.empty();
  }
};

}  // namespace quenmark::bench
