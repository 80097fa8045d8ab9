// What the software-renderer benchmarks share: a 32-bit MEMIMG and a pixman
// image over the same pixels, the render state a kernel call reads, the
// round soft-edged sprite both sides draw, and the megapixel rate counter.
// Header-only: only the benchmarks that link pixman include it.
#pragma once

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "graphics/render_state.h"
#include "image/blend_tables.h"
#include "image/memimg.h"

namespace wqbench {

struct SharedImage {
  MEMIMG memimg{};
  pixman_image_t* pixman = nullptr;

  SharedImage(int width, int height, int alpha) {
    CreateMemImg(&memimg, width, height, -1, 0, kMemImgRgb32, 0, alpha, 0, nullptr);
    pixman = pixman_image_create_bits(alpha ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, width, height,
                                      reinterpret_cast<std::uint32_t*>(memimg.pixels), memimg.data->pitch);
  }
  SharedImage(const SharedImage&) = delete;
  SharedImage& operator=(const SharedImage&) = delete;
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
  // A round sprite with a soft edge: alpha 0 outside, 255 in the middle,
  // in between on the rim; premultiplied for pixman, whose OVER expects it.
  void FillRoundSprite(bool premultiplied) {
    const int size = memimg.width;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const int dx = 2 * x - size + 1, dy = 2 * y - size + 1;
        const int distance = dx * dx + dy * dy;
        const int limit = size * size;
        const std::uint32_t alpha = distance >= limit ? 0 : std::min(255, (limit - distance) * 255 / (limit / 2));
        std::uint32_t red = 0xFF, green = 0xC0, blue = 0x40;
        if (premultiplied) red = red * alpha / 255, green = green * alpha / 255, blue = blue * alpha / 255;
        Row(y)[x] = alpha << 24 | red << 16 | green << 8 | blue;
      }
  }
};

// The blend tables and a fresh render state drawing into target.
inline void PrepareState(SharedImage& target) {
  static const int tables = BuildBlendTables();
  (void)tables;
  ResetRenderState(&target.memimg, target.memimg.width, target.memimg.height);
}

inline void SetMegapixels(benchmark::State& state, double pixelsPerIteration) {
  state.counters["Mpix_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()) * pixelsPerIteration / 1e6,
                                                    benchmark::Counter::kIsRate);
}

// A screen of noise and the source a benchmark draws onto it: a picture of
// noise, or (alpha) the round sprite, premultiplied for pixman. Our side
// also gets a fresh render state drawing into the screen.
struct DrawScene {
  SharedImage screen;
  SharedImage source;
  enum class Side { kOurs, kPixman };
  DrawScene(Side side, int screenWidth, int screenHeight, int sourceWidth, int sourceHeight, int alpha,
            std::uint32_t seed)
      : screen(screenWidth, screenHeight, 0), source(sourceWidth, sourceHeight, alpha) {
    screen.FillNoise(seed);
    if (alpha) source.FillRoundSprite(side == Side::kPixman);
    else source.FillNoise(seed + 1);
    if (side == Side::kOurs) PrepareState(screen);
  }
};

}  // namespace wqbench
