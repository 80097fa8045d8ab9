// The tracked allocator against plain malloc/free: one allocation and its
// release per iteration, for a few block sizes. The header, the list links
// and the lock are the whole difference; the summary prints the ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/summary_reporter.h"
#include "core/base/tracked_allocator.h"

namespace {

constexpr int kLiveBlocks = 64;  // a few blocks stay live, as in a running program
constexpr int kBlockSizes[] = {16, 256, 4096, 65536};

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

void AddBlockSizes(benchmark::internal::Benchmark* benchmark) {
  for (const int size : kBlockSizes) benchmark->Arg(size);
}

BENCHMARK(BM_TrackedAlloc)->Apply(AddBlockSizes);
BENCHMARK(BM_Malloc)->Apply(AddBlockSizes);

// Tracked time / malloc time for each block size.
void PrintSummary(const wqbench::SummaryReporter& reporter) {
  std::printf("\nTrackedAlloc+TrackedFree vs malloc+free (time ratio, lower is better):\n");
  for (const int size : kBlockSizes) {
    const std::string arg = std::string("/").append(std::to_string(size));
    const double tracked = reporter.AdjustedRealTime("BM_TrackedAlloc" + arg);
    const double plain = reporter.AdjustedRealTime("BM_Malloc" + arg);
    if (tracked <= 0 || plain <= 0) continue;
    std::printf("  %6d bytes: %.2fx\n", size, tracked / plain);
  }
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
