#include "support/summary_reporter.h"

#include <algorithm>
#include <cstdio>

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

double SummaryReporter::CpuSecondsPerIteration(const std::string& name) const {
  const Run* run = Find(name);
  return run ? run->cpu_accumulated_time / static_cast<double>(run->iterations) : 0;
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

namespace {

// Seconds in the unit that suits them, aligned for a table.
std::string FormatSeconds(double seconds) {
  const struct {
    double scale;
    const char* unit;
  } units[] = {{1, "s"}, {1e3, "ms"}, {1e6, "us"}, {1e9, "ns"}};
  for (const auto& unit : units) {
    if (seconds * unit.scale >= 1 || unit.scale == 1e9) {
      char text[32];
      std::snprintf(text, sizeof text, "%8.3f %-2s", seconds * unit.scale, unit.unit);
      return text;
    }
  }
  return {};
}

}  // namespace

void PrintComparison(const SummaryReporter& reporter, const std::string& label, const std::string& ours,
                     const std::string& peer) {
  const double oursWall = reporter.SecondsPerIteration(ours);
  const double peerWall = reporter.SecondsPerIteration(peer);
  const double oursCpu = reporter.CpuSecondsPerIteration(ours);
  const double peerCpu = reporter.CpuSecondsPerIteration(peer);
  if (oursWall <= 0 || peerWall <= 0 || oursCpu <= 0 || peerCpu <= 0) return;
  std::printf("  %-28s wall %s vs %s = %5.2fx   cpu %s vs %s = %5.2fx\n", label.c_str(),
              FormatSeconds(oursWall).c_str(), FormatSeconds(peerWall).c_str(), oursWall / peerWall,
              FormatSeconds(oursCpu).c_str(), FormatSeconds(peerCpu).c_str(), oursCpu / peerCpu);
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
