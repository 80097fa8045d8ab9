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
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "graphics/render_state.h"
#include "image/blend_tables.h"
#include "image/memimg.h"
#include "softrender/image_blit.h"
#include "support/summary_reporter.h"

namespace {

constexpr int kScreenWidth = 882;
constexpr int kScreenHeight = 820;
constexpr int kSprite = 16;
constexpr int kSprites = 2000;

// A 32-bit MEMIMG and a pixman image over the same pixels.
struct SharedImage {
  MEMIMG memimg{};
  pixman_image_t* pixman = nullptr;

  SharedImage(int width, int height, int alpha) {
    CreateMemImg(&memimg, width, height, -1, 0, kMemImgRgb32, 0, alpha, 0, nullptr);
    pixman = pixman_image_create_bits(alpha ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, width, height,
                                      reinterpret_cast<std::uint32_t*>(memimg.pixels), memimg.data->pitch);
  }
  ~SharedImage() {
    pixman_image_unref(pixman);
    ReleaseMemImg(&memimg);
  }
  std::uint32_t* Row(int y) { return reinterpret_cast<std::uint32_t*>(memimg.pixels + y * memimg.data->pitch); }
  void FillNoise(std::uint32_t seed) {
    std::mt19937 random(seed);
    for (int y = 0; y < memimg.height; ++y)
      for (int x = 0; x < memimg.width; ++x) Row(y)[x] = random() | 0xFF000000u;
  }
};

void PrepareState(SharedImage& target) {
  static const int tables = BuildBlendTables();
  (void)tables;
  ResetRenderState(&target.memimg, target.memimg.width, target.memimg.height);
}

void SetMegapixels(benchmark::State& state, double pixelsPerIteration) {
  state.counters["Mpix_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * pixelsPerIteration / 1e6, benchmark::Counter::kIsRate);
}

// --- full-screen copy ---

void BM_CopyOurs(benchmark::State& state) {
  SharedImage screen(kScreenWidth, kScreenHeight, 0), picture(kScreenWidth, kScreenHeight, 0);
  picture.FillNoise(1);
  PrepareState(screen);
  for (auto _ : state) {
    MemImgBlit(&screen.memimg, &picture.memimg, 0, 0, 0, nullptr);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kScreenWidth * kScreenHeight);
}

void BM_CopyPixman(benchmark::State& state) {
  SharedImage screen(kScreenWidth, kScreenHeight, 0), picture(kScreenWidth, kScreenHeight, 0);
  picture.FillNoise(1);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, picture.pixman, nullptr, screen.pixman, 0, 0, 0, 0, 0, 0, kScreenWidth,
                             kScreenHeight);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kScreenWidth * kScreenHeight);
}

// --- alpha sprites ---

// A round sprite with a soft edge: alpha 0 outside, 255 in the middle, in
// between on the rim; premultiplied for pixman, whose OVER expects it.
void FillSprite(SharedImage& sprite, bool premultiplied) {
  for (int y = 0; y < kSprite; ++y)
    for (int x = 0; x < kSprite; ++x) {
      const int dx = 2 * x - kSprite + 1, dy = 2 * y - kSprite + 1;
      const int distance = dx * dx + dy * dy;
      const int limit = kSprite * kSprite;
      const std::uint32_t alpha = distance >= limit ? 0 : std::min(255, (limit - distance) * 255 / (limit / 2));
      std::uint32_t red = 0xFF, green = 0xC0, blue = 0x40;
      if (premultiplied) red = red * alpha / 255, green = green * alpha / 255, blue = blue * alpha / 255;
      sprite.Row(y)[x] = alpha << 24 | red << 16 | green << 8 | blue;
    }
}

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
  SharedImage screen(kScreenWidth, kScreenHeight, 0), sprite(kSprite, kSprite, 1);
  screen.FillNoise(2);
  FillSprite(sprite, false);
  PrepareState(screen);
  const auto places = SpritePlaces();
  for (auto _ : state) {
    for (const auto& [x, y] : places) MemImgBlit(&screen.memimg, &sprite.memimg, x, y, 1, nullptr);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kSprites * kSprite * kSprite);
}

void BM_SpritesPixman(benchmark::State& state) {
  SharedImage screen(kScreenWidth, kScreenHeight, 0), sprite(kSprite, kSprite, 1);
  screen.FillNoise(2);
  FillSprite(sprite, true);
  const auto places = SpritePlaces();
  for (auto _ : state) {
    for (const auto& [x, y] : places)
      pixman_image_composite32(PIXMAN_OP_OVER, sprite.pixman, nullptr, screen.pixman, 0, 0, 0, 0, x, y, kSprite,
                               kSprite);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kSprites * kSprite * kSprite);
}

// --- 2x stretch ---

void BM_StretchOurs(benchmark::State& state) {
  SharedImage screen(kScreenWidth, kScreenHeight, 0), picture(kScreenWidth / 2, kScreenHeight / 2, 0);
  picture.FillNoise(3);
  PrepareState(screen);
  const RECT whole{0, 0, kScreenWidth, kScreenHeight};
  for (auto _ : state) {
    MemImgStretchBlit(&screen.memimg, &picture.memimg, &whole, 0, nullptr);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kScreenWidth * kScreenHeight);
}

void BM_StretchPixman(benchmark::State& state) {
  SharedImage screen(kScreenWidth, kScreenHeight, 0), picture(kScreenWidth / 2, kScreenHeight / 2, 0);
  picture.FillNoise(3);
  pixman_transform_t half;
  pixman_transform_init_scale(&half, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
  pixman_image_set_transform(picture.pixman, &half);
  pixman_image_set_filter(picture.pixman, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, picture.pixman, nullptr, screen.pixman, 0, 0, 0, 0, 0, 0, kScreenWidth,
                             kScreenHeight);
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
