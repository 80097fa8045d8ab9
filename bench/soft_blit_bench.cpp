// The software image blits against pixman doing the same work on images of
// the same size and layout: a full-screen copy (mode 0, no selectors,
// against SRC), a layer of 2,000 alpha sprites of 16 x 16 (a 32-bit source
// with alpha drawn with its transparency, against OVER with a premultiplied
// source) and a 2x stretch (against SRC through a nearest-filter scale).
// The summary prints megapixels per second of destination on both sides and
// their ratio (ours / pixman, higher is better).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "softrender/image_blit.h"
#include "support/game_screen.h"
#include "support/pixman_memimg.h"
#include "support/summary_reporter.h"

namespace {

using wqbench::kScreenHeight;
using wqbench::kScreenWidth;
constexpr int kSprite = 16;
constexpr int kSprites = 2000;

using wqbench::DrawScene;
using wqbench::SetMegapixels;

// --- full-screen copy ---

void BM_CopyOurs(benchmark::State& state) {
  DrawScene scene(DrawScene::Side::kOurs, kScreenWidth, kScreenHeight, kScreenWidth, kScreenHeight, 0, 1);
  for (auto _ : state) {
    MemImgBlit(&scene.screen.memimg, &scene.source.memimg, 0, 0, 0, nullptr);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kScreenWidth * kScreenHeight);
}

void BM_CopyPixman(benchmark::State& state) {
  DrawScene scene(DrawScene::Side::kPixman, kScreenWidth, kScreenHeight, kScreenWidth, kScreenHeight, 0, 1);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, scene.source.pixman, nullptr, scene.screen.pixman, 0, 0, 0, 0, 0, 0,
                             kScreenWidth, kScreenHeight);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kScreenWidth * kScreenHeight);
}

// --- alpha sprites ---

std::vector<std::pair<int, int>> SpritePlaces() {
  std::mt19937 random(7);
  std::vector<std::pair<int, int>> places(kSprites);
  for (auto& [x, y] : places) {
    x = static_cast<int>(random() % (kScreenWidth - kSprite));
    y = static_cast<int>(random() % (kScreenHeight - kSprite));
  }
  return places;
}

void BM_SpritesOurs(benchmark::State& state) {
  DrawScene scene(DrawScene::Side::kOurs, kScreenWidth, kScreenHeight, kSprite, kSprite, 1, 2);
  const auto places = SpritePlaces();
  for (auto _ : state) {
    for (const auto& [x, y] : places) MemImgBlit(&scene.screen.memimg, &scene.source.memimg, x, y, 1, nullptr);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kSprites * kSprite * kSprite);
}

void BM_SpritesPixman(benchmark::State& state) {
  DrawScene scene(DrawScene::Side::kPixman, kScreenWidth, kScreenHeight, kSprite, kSprite, 1, 2);
  const auto places = SpritePlaces();
  for (auto _ : state) {
    for (const auto& [x, y] : places)
      pixman_image_composite32(PIXMAN_OP_OVER, scene.source.pixman, nullptr, scene.screen.pixman, 0, 0, 0, 0, x, y,
                               kSprite, kSprite);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kSprites * kSprite * kSprite);
}

// --- 2x stretch ---

void BM_StretchOurs(benchmark::State& state) {
  DrawScene scene(DrawScene::Side::kOurs, kScreenWidth, kScreenHeight, kScreenWidth / 2, kScreenHeight / 2, 0, 3);
  const RECT whole{0, 0, kScreenWidth, kScreenHeight};
  for (auto _ : state) {
    MemImgStretchBlit(&scene.screen.memimg, &scene.source.memimg, &whole, 0, nullptr);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kScreenWidth * kScreenHeight);
}

void BM_StretchPixman(benchmark::State& state) {
  DrawScene scene(DrawScene::Side::kPixman, kScreenWidth, kScreenHeight, kScreenWidth / 2, kScreenHeight / 2, 0, 3);
  pixman_transform_t half;
  pixman_transform_init_scale(&half, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
  pixman_image_set_transform(scene.source.pixman, &half);
  pixman_image_set_filter(scene.source.pixman, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, scene.source.pixman, nullptr, scene.screen.pixman, 0, 0, 0, 0, 0, 0,
                             kScreenWidth, kScreenHeight);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kScreenWidth * kScreenHeight);
}

BENCHMARK(BM_CopyOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyPixman)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpritesOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpritesPixman)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchPixman)->Unit(benchmark::kMicrosecond);

void PrintSummary(const wqbench::SummaryReporter& reporter) {
  std::printf("\nMegapixels of destination per second (CPU time), ours / pixman:\n");
  for (const char* name : {"Copy", "Sprites", "Stretch"}) {
    const double ours = reporter.Counter(std::string("BM_") + name + "Ours", "Mpix_per_s");
    const double peer = reporter.Counter(std::string("BM_") + name + "Pixman", "Mpix_per_s");
    if (ours <= 0 || peer <= 0) continue;
    std::printf("  %-8s ours %9.1f  pixman %9.1f  ratio %.2fx\n", name, ours, peer, ours / peer);
  }
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
