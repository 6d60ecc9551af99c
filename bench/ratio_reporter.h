// A console reporter that keeps each benchmark's time per iteration, so that a program can print
// ratios against a baseline measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {} // plain text: the tables are kept in files
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  // The time of a benchmark by its full name ("NameGet/250"), the median of its repetitions when
  // it was repeated, 0 when it did not run.
  double Time(const std::string& name) const {
    const std::string repeated = name + "/repeats:";
    for (auto it = times_.lower_bound(repeated); it != times_.end() && it->first.rfind(repeated, 0) == 0; ++it) {
      if (it->first.size() > 7 && it->first.compare(it->first.size() - 7, 7, "_median") == 0) return it->second;
    }
    const auto it = times_.find(name);
    return it == times_.end() ? 0.0 : it->second;
  }

private:
  std::map<std::string, double> times_;
};

// The main of a benchmark program: runs its benchmarks, then lets print write the ratios.
template <class PrintRatios>
int RunBenchmarksAndPrintRatios(int argc, char** argv, PrintRatios&& print) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::cout << "\n-- ratios" << std::flush; // scripts/bench.sh prints what follows
  print(reporter, std::cout);
  benchmark::Shutdown();
  return 0;
}

// The same with the runs of every benchmark interleaved in random order, so that a drift of the
// machine's speed falls on all of them alike.
template <class PrintRatios>
int RunInterleavedBenchmarksAndPrintRatios(int argc, char** argv, PrintRatios&& print) {
  std::vector<char*> arguments(argv, argv + argc);
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  arguments.insert(arguments.begin() + 1, interleave.data());
  int count = static_cast<int>(arguments.size());
  return RunBenchmarksAndPrintRatios(count, arguments.data(), std::forward<PrintRatios>(print));
}
