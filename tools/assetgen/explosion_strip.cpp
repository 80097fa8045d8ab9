// The explosion: sixteen frames of a fireball that flares, spreads into
// smoke and fades, side by side in one strip.
#include "layout.h"
#include "noise.h"
#include "pictures.h"

namespace assetgen {

Canvas MakeExplosionStrip() {
  Canvas canvas(kExplosionCell * kExplosionCells, kExplosionCell);
  Random random(77);
  struct Spark {
    float angle, speed, size;
  };
  Spark sparks[28];
  for (Spark& spark : sparks) spark = {random.Range(0, 6.2831853f), random.Range(0.5f, 1.0f), random.Range(2, 5)};
  for (int frame = 0; frame < kExplosionCells; ++frame) {
    const float p = frame / static_cast<float>(kExplosionCells);  // the last frame still shows a wisp
    const float cx = frame * kExplosionCell + kExplosionCell / 2.0f, cy = kExplosionCell / 2.0f;
    const float radius = 14 + 62 * std::sqrt(p), fade = std::pow(1 - p, 1.3f);
    const Box cell{frame * kExplosionCell, 0, (frame + 1) * kExplosionCell, kExplosionCell};
    // The fireball: a ragged disc, white at the heart, through yellow and
    // orange to a dark red edge, turning to smoke as it grows.
    canvas.ForEachPixel(cell, [&](int x, int y, float px, float py) {
      const float dx = px - cx, dy = py - cy, r = std::hypot(dx, dy);
      const float edge = radius * (0.8f + 0.4f * FractalNoise(std::atan2(dy, dx) * 2.0f + 10, r / 30 + p * 3, 5, 3, 13, 0));
      const float inside = std::clamp((edge - r) / 6, 0.0f, 1.0f);
      if (inside <= 0) return;
      const float t = r / edge;
      const Color hot = Mix(Rgb(255, 255, 230), Rgb(255, 210, 70), Smoothstep(0.0f, 0.45f, t + p * 0.6f));
      const Color fire = Mix(hot, Rgb(240, 90, 30), Smoothstep(0.35f, 0.95f, t + p * 0.5f));
      const Color smoke = Mix(fire, Rgb(70, 50, 55), Smoothstep(0.45f, 1.0f, p));
      canvas.Blend(x, y, smoke.WithAlpha(fade), inside);
    });
    StrokeRing(canvas, cx, cy, 20 + 72 * p, 1 + 7 * (1 - p), Rgb(255, 230, 170, 0.7f * fade));
    for (const Spark& spark : sparks) {
      const float d = 10 + 84 * spark.speed * std::sqrt(p);
      FillCircle(canvas, cx + d * std::cos(spark.angle), cy + d * std::sin(spark.angle), spark.size * (1 - p) + 0.3f,
                 Rgb(255, 240, 180, fade));
    }
  }
  return canvas;
}

}  // namespace assetgen
