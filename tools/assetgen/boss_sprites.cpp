// The six bosses: each planet girl in front of her world, at the size of
// the box the game gives her.
#include "layout.h"
#include "noise.h"
#include "pictures.h"
#include "planets.h"

namespace assetgen {
namespace {

int StageOf(CharacterId boss) { return static_cast<int>(boss) - static_cast<int>(CharacterId::Mercury); }

// Small bosses: a little world behind the girl's head and an aura.
void PaintSmallBoss(Canvas& canvas, CharacterId boss) {
  const float w = static_cast<float>(canvas.width()), h = static_cast<float>(canvas.height());
  const Character& who = CharacterOf(boss);
  Glow(canvas, w / 2, h / 2, h / 2, who.accent.WithAlpha(0.45f));
  PaintPlanet(canvas, boss, w / 2, 21, 19);
  if (boss == CharacterId::Mars) {
    PaintPlanet(canvas, boss, 7, 44, 4.5f);
    PaintPlanet(canvas, boss, w - 8, 38, 3.5f);
  } else {
    // A comet's tail trailing up from her world.
    for (int i = 0; i < 6; ++i) Glow(canvas, w / 2 - 2 * i, 14.0f - 2.5f * i, 9.0f - i, who.accent.WithAlpha(0.4f));
  }
  const float scale = (w - 1) / 200.0f;
  DrawBust(canvas, boss, Mood::Calm, w / 2, h - 300 * scale, scale);
}

// Large bosses: a full world with the girl before it.
void PaintLargeBoss(Canvas& canvas, CharacterId boss) {
  const float w = static_cast<float>(canvas.width()), h = static_cast<float>(canvas.height());
  const Character& who = CharacterOf(boss);
  const float planetY = 108, radius = boss == CharacterId::Saturn ? 76.0f : 98.0f;
  Glow(canvas, w / 2, planetY, radius + 14, who.planet.WithAlpha(0.5f));
  PaintPlanet(canvas, boss, w / 2, planetY, radius);
  // Magic sparks around the world.
  Random random(300 + StageOf(boss));
  for (int i = 0; i < 10; ++i) {
    const float a = random.Range(0, 6.2831853f), r = radius + random.Range(4, 14);
    Glow(canvas, w / 2 + r * std::cos(a), planetY + r * std::sin(a) * 0.9f, random.Range(3, 6), Rgb(255, 255, 255, 0.8f));
  }
  const float scale = 0.52f;
  DrawBust(canvas, boss, Mood::Calm, w / 2, h - 300 * scale, scale);
}

}  // namespace

Canvas MakeBossSprite(CharacterId boss) {
  const SpriteSize size = kBossSizes[StageOf(boss)];
  Canvas canvas(size.width, size.height);
  if (size.width < 100) {
    PaintSmallBoss(canvas, boss);
  } else {
    PaintLargeBoss(canvas, boss);
  }
  return canvas;
}

}  // namespace assetgen
