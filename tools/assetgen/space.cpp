// Space backgrounds: gradient, tileable nebula and stars.
#include "space.h"

#include "noise.h"

namespace assetgen {

void Sparkle(Canvas& canvas, float x, float y, float size, const Color& color) {
  AddGlow(canvas, x, y, size * 0.6f, color);
  const Color ray = color.WithAlpha(color.a * 0.7f);
  canvas.ForEachPixel(BoxAround(x, y, size * 1.6f, size * 1.6f), [&](int px, int py, float cx, float cy) {
    const float dx = std::abs(cx - x), dy = std::abs(cy - y);
    const float across = std::min(dx, dy), along = std::max(dx, dy);
    const float amount = std::max(0.0f, 1.0f - across / 1.2f) * std::max(0.0f, 1.0f - along / (size * 1.6f));
    if (amount > 0) canvas.AddLight(px, py, ray, amount * amount);
  });
}

void PaintSpace(Canvas& canvas, const SpaceStyle& style) {
  const int width = canvas.width(), height = canvas.height();
  // Noise cells of about 100 pixels; when tiling, a whole number of them
  // spans the height so the clouds meet themselves.
  const int cellsDown = std::max(1, height / 100);
  const float cell = style.tileVertically ? static_cast<float>(height) / cellsDown : 100.0f;
  const int period = style.tileVertically ? cellsDown : 0;
  canvas.ForEachPixel(canvas.Whole(), [&](int x, int y, float px, float py) {
    const float t = py / height;
    Color base = Mix(style.top, style.bottom, style.tileVertically ? 0.5f - 0.5f * std::cos(t * 6.2831853f) : t);
    base.a = 1;
    const float n = FractalNoise(px / cell, py / cell, style.seed, 5, 0, period);
    const float m = FractalNoise(px / cell + 17.3f, py / cell, style.seed + 101, 4, 0, period);
    const float cloud = Smoothstep(0.42f, 0.8f, n) * style.nebulaStrength;
    const Color nebula = Mix(style.nebulaA, style.nebulaB, Smoothstep(0.3f, 0.7f, m));
    canvas.Blend(x, y, base, 1.0f);
    canvas.Blend(x, y, nebula, cloud);
  });
  Random random(style.seed);
  for (int i = 0; i < style.stars; ++i) {
    const float x = random.Range(0, static_cast<float>(width));
    const float y = random.Range(0, static_cast<float>(height));
    const float size = random.Uniform();
    const float warmth = random.Uniform();
    const Color color = Mix(Rgb(170, 200, 255), Rgb(255, 230, 190), warmth);
    const float sparkleSize = 9.0f + 6.0f * random.Uniform();
    const int copies = style.tileVertically ? 3 : 1;
    for (int copy = 0; copy < copies; ++copy) {
      const float cy = y + (copy == 1 ? height : copy == 2 ? -height : 0);
      if (size > 0.985f) {
        Sparkle(canvas, x, cy, sparkleSize, color);
      } else {
        AddGlow(canvas, x, cy, 1.2f + 2.6f * size * size, color.WithAlpha(0.35f + 0.65f * size));
      }
    }
  }
}

}  // namespace assetgen
