#pragma once

// What the paired benchmarks share: the quickest-repetition statistic, a reporter that keeps each
// benchmark's aggregates for the ratios printed after the table, the defaults that make the
// program and its reference run interleaved in one process, and the one loop of paired runs whose
// figures count: pairs of (code, reference), the side that goes first taking turns, the ratio
// taken within each pair.

#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
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

inline double CpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct TPairedResult {
  std::vector<double> Code;
  std::vector<double> Reference;
  std::vector<double> Ratios;
};

// `pairs` pairs of (code, reference), each side called with `rounds` and answering the seconds of
// one run; the first side takes turns, and one of each runs first so that neither pays for a cold
// cache.
template <typename Code, typename Reference>
TPairedResult MeasurePairs(int pairs, int rounds, Code&& code, Reference&& reference) {
  TPairedResult result;
  code(rounds);
  reference(rounds);
  for (int pair = 0; pair < pairs; ++pair) {
    double a = 0, b = 0;
    if (pair % 2 == 0) {
      a = code(rounds);
      b = reference(rounds);
    } else {
      b = reference(rounds);
      a = code(rounds);
    }
    result.Code.push_back(a);
    result.Reference.push_back(b);
    result.Ratios.push_back(a / b);
  }
  return result;
}

// "CODE / REFERENCE, N pairs, WHAT per run: ratio min .., median ..; CODE min .. ms, median .. ms;
// REFERENCE min .. ms, median .. ms".
inline void PrintPairs(const std::string& code, const std::string& reference, const TPairedResult& result,
                       const char* what = "CPU time") {
  const auto ms = [](double seconds) { return seconds * 1e3; };
  std::cout << code << " / " << reference << ", " << result.Ratios.size() << " pairs, " << what
            << " per run: ratio min " << Minimum(result.Ratios) << ", median " << Median(result.Ratios) << "; " << code
            << " min " << ms(Minimum(result.Code)) << " ms, median " << ms(Median(result.Code)) << " ms; " << reference
            << " min " << ms(Minimum(result.Reference)) << " ms, median " << ms(Median(result.Reference)) << " ms\n";
}

}  // namespace hakuvo::bench
