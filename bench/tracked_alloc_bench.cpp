// The tracked allocator against plain malloc/free: one allocation and its
// release per iteration, for a few block sizes. The header, the list links
// and the lock are the whole difference; the summary prints the ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tracked_allocator.h"

namespace {

constexpr int kLiveBlocks = 64;  // a few blocks stay live, as in a running program

template <typename Allocate, typename Release>
void AllocateAndRelease(benchmark::State& state, Allocate allocate, Release release) {
  const auto size = static_cast<std::size_t>(state.range(0));
  std::vector<void*> live(kLiveBlocks, nullptr);
  std::size_t slot = 0;
  for (auto _ : state) {
    release(live[slot]);
    live[slot] = allocate(size);
    benchmark::DoNotOptimize(live[slot]);
    slot = (slot + 1) % kLiveBlocks;
  }
  for (void* block : live) release(block);
  state.SetItemsProcessed(state.iterations());
}

void BM_TrackedAlloc(benchmark::State& state) {
  AllocateAndRelease(state, [](std::size_t size) { return TrackedAlloc(size, "", 0); }, TrackedFree);
}

void BM_Malloc(benchmark::State& state) {
  AllocateAndRelease(state, [](std::size_t size) { return std::malloc(size); }, std::free);
}

BENCHMARK(BM_TrackedAlloc)->Arg(16)->Arg(256)->Arg(4096)->Arg(65536);
BENCHMARK(BM_Malloc)->Arg(16)->Arg(256)->Arg(4096)->Arg(65536);

// Prints the usual table, then tracked time / malloc time for each size.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string name = run.benchmark_name();
      const std::size_t slash = name.find('/');
      if (slash == std::string::npos || run.iterations == 0) continue;
      times_[name.substr(slash + 1)][name.substr(0, slash)] = run.GetAdjustedRealTime();
    }
  }

  void PrintRatios() const {
    std::printf("\nTrackedAlloc+TrackedFree vs malloc+free (time ratio, lower is better):\n");
    for (const auto& [size, byName] : times_) {
      const auto tracked = byName.find("BM_TrackedAlloc");
      const auto plain = byName.find("BM_Malloc");
      if (tracked == byName.end() || plain == byName.end() || plain->second <= 0) continue;
      std::printf("  %6s bytes: %.2fx\n", size.c_str(), tracked->second / plain->second);
    }
  }

 private:
  std::map<std::string, std::map<std::string, double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
