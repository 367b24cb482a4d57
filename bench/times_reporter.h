// The console reporter of the benchmark programs that print ratios at the
// end: it keeps every benchmark's adjusted times per iteration by name, and
// RunWith runs the program's benchmarks through it.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace wenmoor::bench {

class TimesReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real, cpu;
  };
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (!r.error_occurred && r.run_type == Run::RT_Iteration) {
        times_[r.benchmark_name()] = {r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
        Kept(r);
      }
    ConsoleReporter::ReportRuns(runs);
  }

 protected:
  // Called for every run kept, before it is printed.
  virtual void Kept(const Run&) {}
  // The times of the first benchmark whose name begins with `prefix`.
  const Times* Find(const std::string& prefix) const {
    for (const auto& [name, t] : times_)
      if (name.rfind(prefix, 0) == 0) return &t;
    return nullptr;
  }

 private:
  std::map<std::string, Times> times_;
};

// The main() of a benchmark program with its reporter.
inline int RunWith(TimesReporter& reporter, int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace wenmoor::bench
