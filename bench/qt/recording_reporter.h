// A benchmark reporter that also keeps each benchmark's real time per iteration, so that a Qt benchmark
// can compare two of its runs after they finished.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace quenmark::bench {

/// The console report, plus each benchmark's time per iteration for the comparison.
class RecordingReporter final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (!run.error_occurred) seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

}  // namespace quenmark::bench
