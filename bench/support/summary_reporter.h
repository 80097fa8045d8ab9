// The console table every benchmark prints, followed by a summary of its
// own computed from the finished runs (ratios to a peer, rates and so on).
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace wqbench {

// Prints the usual table and keeps every finished run for the summary. The
// queries take the full run name ("BM_Malloc/16", "BM_Sprites/real_time")
// and answer 0 when no run of that name completed an iteration; with
// repetitions the last run of a name wins.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;

  double SecondsPerIteration(const std::string& name) const;
  // CPU seconds of the benchmark's thread per iteration.
  double CpuSecondsPerIteration(const std::string& name) const;
  // Real time per iteration in the run's display unit, as in the table.
  double AdjustedRealTime(const std::string& name) const;
  double Counter(const std::string& name, const std::string& counter) const;

 private:
  const Run* Find(const std::string& name) const;

  std::vector<Run> runs_;
};

// One line of a comparison that did the same work on both sides: each
// side's wall and CPU time per iteration and their ratios, ours over the
// peer's (below 1 is faster). Prints nothing when either run is missing.
void PrintComparison(const SummaryReporter& reporter, const std::string& label, const std::string& ours,
                     const std::string& peer);

using SummaryFunction = void (*)(const SummaryReporter& reporter);

// The whole main() of a benchmark program: runs the benchmarks named on the
// command line, then prints the summary. Returns the process exit code.
int RunWithSummary(int argc, char** argv, SummaryFunction printSummary);

}  // namespace wqbench
