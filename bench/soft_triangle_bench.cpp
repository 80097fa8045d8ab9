// The textured triangles against the image blit from the same library doing
// the same work: a full screen of the game's size drawn as a quad of a
// screen-sized picture (two triangles) and as one blit of it, in mode 0
// without selectors and in mode 1 at half strength from a keyed source with
// alpha.
// The summary prints megapixels per second of destination on both sides
// and the ratio (triangles / blit, higher is better), then CPU and wall
// times.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "graphics/render_state.h"
#include "image/blend_tables.h"
#include "image/memimg.h"
#include "softrender/image_blit.h"
#include "softrender/triangle.h"
#include "support/game_screen.h"
#include "support/summary_reporter.h"

namespace {

using wqbench::kScreenHeight;
using wqbench::kScreenWidth;

struct Image {
  MEMIMG memimg{};
  Image(int alpha, std::uint32_t seed) {
    CreateMemImg(&memimg, kScreenWidth, kScreenHeight, -1, 0, kMemImgRgb32, 0, alpha, 0, nullptr);
    std::mt19937 random(seed);
    for (int y = 0; y < kScreenHeight; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(memimg.pixels + y * memimg.data->pitch);
      for (int x = 0; x < kScreenWidth; ++x) row[x] = random();
    }
  }
  ~Image() { ReleaseMemImg(&memimg); }
};

// Mode 0 plainly, or mode 1 at 128 from a source with alpha drawn with its
// transparency.
struct Setting {
  std::uint32_t mode;
  std::uint32_t param;
  int alpha;
};
constexpr Setting kCopy{0, 255, 0};
constexpr Setting kAlpha{1, 128, 1};

void PrepareState(MEMIMG* screen, const Setting& setting) {
  static const int tables = BuildBlendTables();
  (void)tables;
  ResetRenderState(screen, screen->width, screen->height);
  BlendMode = setting.mode;
  BlendParam = setting.param;
}

void SetMegapixels(benchmark::State& state) {
  state.counters["Mpix_per_s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kScreenWidth * kScreenHeight / 1e6, benchmark::Counter::kIsRate);
}

void Triangles(benchmark::State& state, const Setting& setting) {
  Image screen(0, 1), picture(setting.alpha, 2);
  PrepareState(&screen.memimg, setting);
  const std::int32_t corners[8] = {0, 0, kScreenWidth, 0, 0, kScreenHeight, kScreenWidth, kScreenHeight};
  for (auto _ : state) {
    MemImgDrawQuad(&screen.memimg, &picture.memimg, corners, setting.alpha, nullptr);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state);
}

void Blit(benchmark::State& state, const Setting& setting) {
  Image screen(0, 1), picture(setting.alpha, 2);
  PrepareState(&screen.memimg, setting);
  for (auto _ : state) {
    MemImgBlit(&screen.memimg, &picture.memimg, 0, 0, setting.alpha, nullptr);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state);
}

void BM_CopyTriangles(benchmark::State& state) { Triangles(state, kCopy); }
void BM_CopyBlit(benchmark::State& state) { Blit(state, kCopy); }
void BM_AlphaTriangles(benchmark::State& state) { Triangles(state, kAlpha); }
void BM_AlphaBlit(benchmark::State& state) { Blit(state, kAlpha); }

BENCHMARK(BM_CopyTriangles)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyBlit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AlphaTriangles)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AlphaBlit)->Unit(benchmark::kMicrosecond);

void PrintSummary(const wqbench::SummaryReporter& reporter) {
  std::printf("\nMegapixels of destination per second (CPU time), triangles / blit:\n");
  for (const char* name : {"Copy", "Alpha"}) {
    const double ours = reporter.Counter(std::string("BM_") + name + "Triangles", "Mpix_per_s");
    const double peer = reporter.Counter(std::string("BM_") + name + "Blit", "Mpix_per_s");
    if (ours <= 0 || peer <= 0) continue;
    std::printf("  %-6s triangles %8.1f  blit %8.1f  ratio %.2fx\n", name, ours, peer, ours / peer);
  }
  std::printf("\nTimes per screen, triangles / blit (below 1 is faster):\n");
  for (const char* name : {"Copy", "Alpha"})
    wqbench::PrintComparison(reporter, name, std::string("BM_") + name + "Triangles", std::string("BM_") + name + "Blit");
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
