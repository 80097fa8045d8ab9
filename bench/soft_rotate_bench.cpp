// The rotated blit against pixman doing the same composite: 2,000 16 x 16
// alpha sprites, each turned by its own angle (a 32-bit source with alpha
// drawn with its transparency, against OVER with a premultiplied source),
// and one background of the screen's size turned about its centre (a plain
// copy, against OVER with an opaque source, which leaves the pixels the
// turned image does not cover alone, as the kernel does). pixman samples
// through the same inverse mapping with the nearest filter, over the same
// destination box. The summary prints source megapixels per second on both
// sides, and wall and CPU time with their ratios.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "softrender/rotate_blit.h"
#include "softrender/rotate_mapping.h"
#include "support/game_screen.h"
#include "support/pixman_memimg.h"
#include "support/summary_reporter.h"

namespace {

using wqbench::DrawScene;
using wqbench::SetMegapixels;

using wqbench::kScreenHeight;
using wqbench::kScreenWidth;
constexpr int kSprite = 16;
constexpr int kSprites = 2000;
constexpr float kBackgroundAngle = 0.3f;

struct Placement {
  int x, y;
  float angle;
  float scale;
};

// The destination box the kernel scans, clipped to the screen, and pixman's
// transform from destination to source positions for the same turn.
struct PixmanDraw {
  pixman_transform_t transform;
  int left, top, width, height;
};

PixmanDraw PixmanFor(const Placement& place, int sourceWidth, int sourceHeight) {
  PixmanDraw draw{};
  const auto setUp = SetUpRotation(place.angle, place.scale, sourceWidth, sourceHeight);
  const WideBox box = CoveringBox(*TurnCorners(*setUp, place.x, place.y));
  draw.left = static_cast<int>(std::max<std::int64_t>(box.left, 0));
  draw.top = static_cast<int>(std::max<std::int64_t>(box.top, 0));
  draw.width = static_cast<int>(std::min<std::int64_t>(box.right, kScreenWidth)) - draw.left;
  draw.height = static_cast<int>(std::min<std::int64_t>(box.bottom, kScreenHeight)) - draw.top;
  // source = turn back by the angle, divide by the scale, offset by the
  // source's centre texel.
  const double cosine = std::cos(place.angle) / place.scale, sine = std::sin(place.angle) / place.scale;
  pixman_f_transform inverse;
  pixman_f_transform_init_identity(&inverse);
  inverse.m[0][0] = cosine;
  inverse.m[0][1] = sine;
  inverse.m[0][2] = -(place.x * cosine + place.y * sine) + sourceWidth / 2;
  inverse.m[1][0] = -sine;
  inverse.m[1][1] = cosine;
  inverse.m[1][2] = place.x * sine - place.y * cosine + sourceHeight / 2;
  pixman_transform_from_pixman_f_transform(&draw.transform, &inverse);
  return draw;
}

// Composites with the source sampled at destination coordinates.
void CompositePixman(DrawScene& scene, const PixmanDraw& draw) {
  pixman_image_set_transform(scene.source.pixman, &draw.transform);
  pixman_image_composite32(PIXMAN_OP_OVER, scene.source.pixman, nullptr, scene.screen.pixman, draw.left, draw.top, 0,
                           0, draw.left, draw.top, draw.width, draw.height);
}

std::vector<Placement> SpritePlaces() {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> angle(0.0f, 6.2831853f);
  std::vector<Placement> places(kSprites);
  for (Placement& place : places) {
    place.x = static_cast<int>(random() % (kScreenWidth - 2 * kSprite)) + kSprite;
    place.y = static_cast<int>(random() % (kScreenHeight - 2 * kSprite)) + kSprite;
    place.angle = angle(random);
    place.scale = 1.0f;
  }
  return places;
}

// --- sprites ---

void BM_SpritesOurs(benchmark::State& state) {
  DrawScene scene(DrawScene::Side::kOurs, kScreenWidth, kScreenHeight, kSprite, kSprite, 1, 2);
  const auto places = SpritePlaces();
  for (auto _ : state) {
    for (const Placement& place : places)
      MemImgRotateBlit(&scene.screen.memimg, &scene.source.memimg, place.x, place.y, place.angle, place.scale, 1, 0,
                       nullptr);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kSprites * kSprite * kSprite);
}

void BM_SpritesPixman(benchmark::State& state) {
  DrawScene scene(DrawScene::Side::kPixman, kScreenWidth, kScreenHeight, kSprite, kSprite, 1, 2);
  pixman_image_set_filter(scene.source.pixman, PIXMAN_FILTER_NEAREST, nullptr, 0);
  std::vector<PixmanDraw> draws;
  for (const Placement& place : SpritePlaces()) draws.push_back(PixmanFor(place, kSprite, kSprite));
  for (auto _ : state) {
    for (const PixmanDraw& draw : draws) CompositePixman(scene, draw);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kSprites * kSprite * kSprite);
}

// --- background ---

constexpr Placement kBackground{kScreenWidth / 2, kScreenHeight / 2, kBackgroundAngle, 1.0f};

void BM_BackgroundOurs(benchmark::State& state) {
  DrawScene scene(DrawScene::Side::kOurs, kScreenWidth, kScreenHeight, kScreenWidth, kScreenHeight, 0, 3);
  for (auto _ : state) {
    MemImgRotateBlit(&scene.screen.memimg, &scene.source.memimg, kBackground.x, kBackground.y, kBackground.angle,
                     kBackground.scale, 0, 0, nullptr);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kScreenWidth * kScreenHeight);
}

void BM_BackgroundPixman(benchmark::State& state) {
  DrawScene scene(DrawScene::Side::kPixman, kScreenWidth, kScreenHeight, kScreenWidth, kScreenHeight, 0, 3);
  pixman_image_set_filter(scene.source.pixman, PIXMAN_FILTER_NEAREST, nullptr, 0);
  const PixmanDraw draw = PixmanFor(kBackground, kScreenWidth, kScreenHeight);
  for (auto _ : state) {
    CompositePixman(scene, draw);
    benchmark::ClobberMemory();
  }
  SetMegapixels(state, kScreenWidth * kScreenHeight);
}

BENCHMARK(BM_SpritesOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpritesPixman)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BackgroundOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BackgroundPixman)->Unit(benchmark::kMicrosecond);

void PrintSummary(const wqbench::SummaryReporter& reporter) {
  std::printf("\nSource megapixels per second (CPU time), ours / pixman (above 1 is faster):\n");
  for (const char* name : {"Sprites", "Background"}) {
    const double ours = reporter.Counter(std::string("BM_") + name + "Ours", "Mpix_per_s");
    const double peer = reporter.Counter(std::string("BM_") + name + "Pixman", "Mpix_per_s");
    if (ours <= 0 || peer <= 0) continue;
    std::printf("  %-10s ours %9.1f  pixman %9.1f  ratio %.2fx\n", name, ours, peer, ours / peer);
  }
  std::printf("\nTime per frame, ours / pixman (below 1 is faster):\n");
  for (const char* name : {"Sprites", "Background"})
    wqbench::PrintComparison(reporter, name, std::string("BM_") + name + "Ours", std::string("BM_") + name + "Pixman");
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
