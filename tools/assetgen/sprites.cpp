// Small sprites with alpha: the player, shots, bullets, stars, HUD icons,
// the menu cursor and the bosses' magic circle.
#include "layout.h"
#include "pictures.h"

namespace assetgen {
namespace {

// A glowing oval: a soft halo that fades out at the oval's edge, the
// coloured body and a white-hot core.
void PaintOrb(Canvas& canvas, float cx, float cy, float rx, float ry, const Color& color) {
  canvas.ForEachPixel(canvas.Whole(), [&](int x, int y, float px, float py) {
    const float k = std::hypot((px - cx) / rx, (py - cy) / ry);
    const float halo = 1.0f - Smoothstep(0.5f, 1.0f, k);
    if (halo > 0) canvas.Blend(x, y, color.WithAlpha(0.6f), halo * halo);
  });
  FillEllipse(canvas, cx, cy, rx * 0.72f, ry * 0.72f, color);
  FillEllipse(canvas, cx, cy, rx * 0.55f, ry * 0.55f, Mix(color, Rgb(255, 255, 255), 0.55f));
  FillEllipse(canvas, cx, cy, rx * 0.36f, ry * 0.36f, Rgb(255, 255, 255));
}

}  // namespace

Canvas MakePlayerSprite() {
  Canvas canvas(kPlayerWidth, kPlayerHeight);
  Glow(canvas, 19, 24, 24, Rgb(255, 190, 60, 0.55f));
  DrawBust(canvas, CharacterId::Soleil, Mood::Calm, 19, 1, 0.185f);
  return canvas;
}

Canvas MakeShot() {
  Canvas canvas(16, 48);
  PaintOrb(canvas, 8, 24, 7.5f, 23.5f, Rgb(255, 170, 40));
  return canvas;
}

Canvas MakeBullet(BulletShape shape) {
  struct Look {
    int width, height;
    float rx, ry;
    Color color;
  };
  // Small red, large blue, round violet, long cyan, needle yellow; the long
  // ones stand upright, as the game turns them to their heading.
  static const Look kLooks[] = {
      {32, 32, 15, 15, Rgb(255, 60, 90)},  {40, 40, 19.5f, 19.5f, Rgb(60, 120, 255)}, {24, 24, 11.5f, 11.5f, Rgb(190, 70, 255)},
      {14, 36, 6.5f, 17.5f, Rgb(40, 220, 230)}, {10, 44, 4.8f, 21.5f, Rgb(255, 230, 60)},
  };
  const Look& look = kLooks[static_cast<int>(shape)];
  Canvas canvas(look.width, look.height);
  PaintOrb(canvas, look.width / 2.0f, look.height / 2.0f, look.rx, look.ry, look.color);
  if (shape == BulletShape::Large) StrokeRing(canvas, 20, 20, 13.5f, 1.5f, Rgb(190, 220, 255, 0.9f));
  return canvas;
}

Canvas MakeStar(const Color& color) {
  Canvas canvas(32, 32);
  Glow(canvas, 16, 16, 16, color.WithAlpha(0.5f));
  auto star = [&](float outer, float inner, const Color& paint) {
    canvas.Fill(canvas.Whole(), [&](float x, float y) { return StarDistance(x, y, 16, 16.5f, 5, outer, inner, -1.5708f); },
                [&](float, float) { return paint; });
  };
  star(14.5f, 6.5f, Mix(color, Rgb(255, 255, 255), 0.6f));
  star(12.5f, 5.2f, color);
  star(6, 2.6f, Mix(color, Rgb(255, 255, 255), 0.75f));
  return canvas;
}

Canvas MakeCursor() {
  Canvas canvas(56, 40);
  const Color gold = Rgb(255, 210, 80);
  Glow(canvas, 30, 20, 28, Rgb(255, 150, 40, 0.45f));
  StrokeLine(canvas, 6, 20, 38, 20, 5, gold);
  StrokeLine(canvas, 4, 12, 12, 20, 3, Rgb(255, 120, 60));
  StrokeLine(canvas, 4, 28, 12, 20, 3, Rgb(255, 120, 60));
  StrokeLine(canvas, 11, 12, 19, 20, 3, Rgb(255, 120, 60));
  StrokeLine(canvas, 11, 28, 19, 20, 3, Rgb(255, 120, 60));
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return StarDistance(x, y, 40, 20, 3, 14, 7, 0); },
              [&](float x, float) { return Mix(gold, Rgb(255, 255, 230), Smoothstep(30, 54, x)); });
  return canvas;
}

Canvas MakePip(const Color& color) {
  Canvas canvas(kPipWidth, kPipHeight);
  const float cx = kPipWidth / 2.0f, cy = kPipHeight / 2.0f;
  canvas.Fill(canvas.Whole(),
              [&](float x, float y) { return RoundedBoxDistance(x, y, cx, cy, cx - 0.5f, cy - 0.5f, 3); },
              [&](float, float y) { return Mix(Mix(color, Rgb(255, 255, 255), 0.6f), Scaled(color, 0.6f), y / kPipHeight); });
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return RoundedBoxDistance(x, y, cx - 1, 6, 1.2f, 3.5f, 1); },
              [&](float, float) { return Rgb(255, 255, 255, 0.7f); });
  return canvas;
}

Canvas MakeStockIcon() {
  Canvas canvas(kIconSize, kIconSize);
  const float c = kIconSize / 2.0f;
  Glow(canvas, c, c, c, Rgb(255, 80, 140, 0.5f));
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return StarDistance(x, y, c, c + 0.8f, 5, 10, 4.3f, -1.5708f); },
              [&](float, float y) { return Mix(Rgb(255, 200, 230), Rgb(230, 40, 110), y / kIconSize); });
  return canvas;
}

Canvas MakeBombIcon() {
  Canvas canvas(kIconSize, kIconSize);
  const float c = kIconSize / 2.0f;
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return StarDistance(x, y, c, c, 10, 10.5f, 6.5f, 0); },
              [&](float, float) { return Rgb(255, 150, 30); });
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return CircleDistance(x, y, c, c, 6.2f); },
              [&](float x, float y) { return Mix(Rgb(255, 255, 210), Rgb(255, 170, 40), std::hypot(x - c + 2, y - c + 2) / 8); });
  return canvas;
}

Canvas MakeMagicCircle() {
  Canvas canvas(80, 80);
  const float c = 40;
  const Color line = Rgb(150, 230, 255), deep = Rgb(120, 90, 255);
  Glow(canvas, c, c, 40, deep.WithAlpha(0.35f));
  StrokeRing(canvas, c, c, 36, 2.2f, line);
  StrokeRing(canvas, c, c, 31, 1.2f, line.WithAlpha(0.8f));
  StrokeRing(canvas, c, c, 16, 1.5f, line);
  // Two triangles make the star of six points.
  for (int t = 0; t < 2; ++t) {
    for (int k = 0; k < 3; ++k) {
      const float a0 = t * 3.14159f / 3 + k * 2.0944f - 1.5708f, a1 = a0 + 2.0944f;
      StrokeLine(canvas, c + 31 * std::cos(a0), c + 31 * std::sin(a0), c + 31 * std::cos(a1), c + 31 * std::sin(a1), 1.6f,
                 Mix(line, deep, 0.3f));
    }
  }
  // Rune marks between the rings.
  for (int k = 0; k < 12; ++k) {
    const float a = k * 0.5236f + 0.26f;
    const float x = c + 33.5f * std::cos(a), y = c + 33.5f * std::sin(a);
    StrokeLine(canvas, x - 1.5f * std::sin(a), y + 1.5f * std::cos(a), x + 1.5f * std::sin(a), y - 1.5f * std::cos(a), 1.4f,
               Rgb(255, 255, 255, 0.9f));
  }
  FillCircle(canvas, c, c, 5, Rgb(230, 250, 255));
  return canvas;
}

Canvas MakeFace(CharacterId boss) {
  Canvas canvas(kFaceSize, kFaceSize);
  const float c = kFaceSize / 2.0f, radius = c - 1.5f;
  const Character& who = CharacterOf(boss);
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return CircleDistance(x, y, c, c, radius); },
              [&](float, float y) { return Mix(Scaled(who.planet, 0.9f), Scaled(who.planetShade, 0.5f), y / kFaceSize); });
  Canvas portrait(kFaceSize, kFaceSize);
  DrawBust(portrait, boss, Mood::Calm, c, c + 4 - 118 * 0.5f, 0.5f);
  portrait.ForEachPixel(portrait.Whole(), [&](int x, int y, float px, float py) {
    portrait.ScaleAlpha(x, y, std::clamp(0.5f - CircleDistance(px, py, c, c, radius - 1), 0.0f, 1.0f));
  });
  CompositeLayer(canvas, portrait, 0, 0, 1.0f);
  StrokeRing(canvas, c, c, radius, 3, Rgb(255, 225, 140));
  return canvas;
}

}  // namespace assetgen
