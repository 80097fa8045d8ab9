#include "explosions.h"

#include <WqLib.h>

#include "game_state.h"

namespace {

constexpr int kExplosionKind = 1;
constexpr double kExplosionScale = 1.5;

}  // namespace

void SpawnExplosion(double x, double y) {
  for (ObjectRecord& explosion : explosions) {
    if (explosion.alive != 0) continue;
    explosion.phase = kExplosionKind;
    explosion.alive = 1;
    explosion.x = x;
    explosion.y = y;
    explosion.patternFrame = 0;
    return;
  }
}

// A live explosion's frame is 1 to 15 when drawn, as the tick frees it at
// 16; one whose frame lies outside the strip is not drawn rather than read
// past the strip's end.
void DrawExplosions() {
  for (const ObjectRecord& explosion : explosions) {
    if (explosion.alive != 1 || explosion.phase != kExplosionKind) continue;
    if (explosion.patternFrame < 0 || explosion.patternFrame >= EXPLOSION_COUNT) continue;
    DrawGraphRotated(static_cast<int>(explosion.x), static_cast<int>(explosion.y), kExplosionScale, 0.0,
                     explosionFrames[explosion.patternFrame], 1, 0);
  }
}
