// Drawing every pool: picture, scale and angle by pool and kind, in the
// order main shots, side shots, A, B, C, D, magic circles (circles on top).
#include <WqLib.h>

#include "angles.h"
#include "bullet_pools.h"
#include "game_state.h"

namespace {

constexpr double kUprightOffset = PI_APPROX / 2;  // pictures drawn pointing along their angle
constexpr double kCircleSpin = 0.0314159;
constexpr int kDotRadius = 5;

void DrawAt(const BulletRecord& record, double scale, double angle, int graph) {
  DrawGraphRotated(static_cast<int>(record.x), static_cast<int>(record.y), scale, angle, graph, 1, 0);
}

void DrawDot(const BulletRecord& record, int red, int fill) {
  DrawCircleShape(static_cast<int>(record.x), static_cast<int>(record.y), kDotRadius,
                  static_cast<int>(MakeColor(red, 0, 0)), fill);
}

void DrawShots(const BulletRecord (&pool)[SHOT_POOL_SIZE]) {
  for (const BulletRecord& shot : pool) {
    if (shot.active != 0) DrawAt(shot, 0.5, 0.0, shotGraph);
  }
}

void DrawSmallBullet(const BulletRecord& bullet) {
  switch (bullet.kind) {
    case 0: DrawDot(bullet, 100, 0); break;
    case 1: DrawAt(bullet, 0.5, 0.0, smallBulletGraph); break;
    case 2: DrawAt(bullet, 0.7, bullet.angle, blueStarGraph); break;
    case 3: DrawAt(bullet, 0.7, bullet.angle, orangeStarGraph); break;
    case 4:
    case 5: DrawAt(bullet, 0.7, bullet.angle, greenStarGraph); break;
    default: DrawDot(bullet, 255, 1); break;
  }
}

// Pools B, C and D know kinds 0 to 2 at most; a record of another kind is
// not drawn and becomes kind 0, drawn as such from the next frame.
void DrawLargeBullet(BulletRecord& bullet) {
  switch (bullet.kind) {
    case 0: DrawAt(bullet, 1.5, 0.0, largeBulletGraph); break;
    case 1: DrawAt(bullet, 1.0, 0.0, largeBulletGraph); break;
    default: bullet.kind = 0; break;
  }
}

void DrawHomingBullet(BulletRecord& bullet) {
  switch (bullet.kind) {
    case 0: DrawAt(bullet, 0.5, 0.0, smallBulletGraph); break;
    case 1: DrawAt(bullet, 1.0, 0.0, roundBulletGraph); break;
    case 2: DrawAt(bullet, 0.6, bullet.angle - kUprightOffset, needleBulletGraph); break;
    default: bullet.kind = 0; break;
  }
}

void DrawRingBullet(BulletRecord& bullet) {
  switch (bullet.kind) {
    case 0: DrawAt(bullet, 0.5, 0.0, roundBulletGraph); break;
    case 1: DrawAt(bullet, 1.0, bullet.angle - kUprightOffset, longBulletGraph); break;
    case 2: DrawAt(bullet, 0.6, bullet.angle - kUprightOffset, needleBulletGraph); break;
    default: bullet.kind = 0; break;
  }
}

template <typename DrawOne>
void DrawEnemyPool(BulletRecord (&pool)[ENEMY_POOL_SIZE], DrawOne drawOne) {
  for (BulletRecord& bullet : pool) {
    if (bullet.active == 1) drawOne(bullet);
  }
}

}  // namespace

void DrawShotsAndBullets() {
  DrawShots(playerShots);
  DrawShots(sideShots);
  DrawEnemyPool(enemyBulletsA, DrawSmallBullet);
  DrawEnemyPool(enemyBulletsB, DrawLargeBullet);
  DrawEnemyPool(enemyBulletsC, DrawHomingBullet);
  DrawEnemyPool(enemyBulletsD, DrawRingBullet);
  // A circle spins with every frame it is drawn; its kind is its picture.
  for (BulletRecord& circle : magicCircles) {
    if (circle.active != 1) continue;
    circle.angle = circle.angle + kCircleSpin;
    DrawAt(circle, 1.0, circle.angle, circle.kind);
  }
}
