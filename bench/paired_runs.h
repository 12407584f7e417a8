#pragma once

// What the paired benchmarks share: the quickest-repetition statistic, a reporter that keeps each
// benchmark's aggregates for the ratios printed after the table, and the defaults that make the
// program and its reference run interleaved in one process.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace hakuvo::bench {

// The quickest repetition: what the code needs when nothing else takes the core or the cache.
inline double Minimum(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

// Keeps the aggregates (median, min...) of each benchmark, in CPU time: on a machine whose cores
// are shared it leaves out the time spent waiting for one.
class TAggregateReporter : public benchmark::ConsoleReporter {
 public:
  // `byFunction` keys the figures by the benchmark's function name, without its arguments.
  explicit TAggregateReporter(bool byFunction = false)
      // Colours only on a terminal, so that a saved report stays plain text.
      : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular), FByFunction(byFunction) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Aggregate) continue;
      const std::string name = FByFunction ? run.run_name.function_name : run.run_name.str();
      Cpu[name][run.aggregate_name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, std::map<std::string, double>> Cpu;

 private:
  bool FByFunction;
};

// Initializes Google Benchmark with `defaults` before the command line's own flags, which come
// later and so override them. False when a flag was not understood.
inline bool InitializeWithDefaults(int argc, char** argv, std::vector<std::string> defaults) {
  static std::vector<std::string> kept;
  kept = std::move(defaults);
  std::vector<char*> arguments(argv, argv + argc);
  for (auto it = kept.rbegin(); it != kept.rend(); ++it) arguments.insert(arguments.begin() + 1, it->data());
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  return !benchmark::ReportUnrecognizedArguments(count, arguments.data());
}

}  // namespace hakuvo::bench
