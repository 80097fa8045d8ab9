#include "support/summary_reporter.h"

#include <algorithm>

namespace wqbench {

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  runs_.insert(runs_.end(), runs.begin(), runs.end());
}

const SummaryReporter::Run* SummaryReporter::Find(const std::string& name) const {
  const auto found = std::find_if(runs_.rbegin(), runs_.rend(), [&](const Run& run) {
    return run.iterations > 0 && run.benchmark_name() == name;
  });
  return found == runs_.rend() ? nullptr : &*found;
}

double SummaryReporter::SecondsPerIteration(const std::string& name) const {
  const Run* run = Find(name);
  return run ? run->real_accumulated_time / static_cast<double>(run->iterations) : 0;
}

double SummaryReporter::AdjustedRealTime(const std::string& name) const {
  const Run* run = Find(name);
  return run ? run->GetAdjustedRealTime() : 0;
}

double SummaryReporter::Counter(const std::string& name, const std::string& counter) const {
  const Run* run = Find(name);
  if (!run) return 0;
  const auto found = run->counters.find(counter);
  return found == run->counters.end() ? 0 : found->second.value;
}

int RunWithSummary(int argc, char** argv, SummaryFunction printSummary) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printSummary(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace wqbench
