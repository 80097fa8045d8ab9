// One frame of motion for every pool: straight flight, the homing turns of
// pool C and the side shots, the side shots' life, and the bounds outside
// which a record is dropped.
#include <cmath>

#include "angles.h"
#include "bullet_pools.h"
#include "game_state.h"
#include "homing_turn.h"

namespace {

constexpr double kPlayerShotTop = 171.0;
constexpr double kEnemyTop = 171.0;
constexpr double kEnemyBottom = 810.0;
constexpr double kEnemyRight = 867.0;
constexpr double kSmallBulletLeft = 20.0;  // pools A and D
constexpr double kLargeBulletLeft = 25.0;  // pool B
constexpr double kHomingLeft = -10.0;      // pool C: no top or right bound
constexpr double kHomingBottom = 840.0;
constexpr double kHomingBulletTurn = PI_APPROX / 150;
constexpr double kSideShotTurn = PI_APPROX / 9;
constexpr int kSideShotLife = 120;

void Fly(BulletRecord& record) {
  record.x = record.x + record.vx;
  record.y = record.y + record.vy;
}

bool OutsidePlayfield(const BulletRecord& record, double left) {
  return record.x <= left || record.y >= kEnemyBottom || record.x >= kEnemyRight || record.y <= kEnemyTop;
}

// Pools A and D: leaving frees the record and keeps its age.
void MoveSmallBullets(BulletRecord (&pool)[ENEMY_POOL_SIZE]) {
  for (BulletRecord& bullet : pool) {
    if (bullet.active == 0) continue;
    Fly(bullet);
    if (OutsidePlayfield(bullet, kSmallBulletLeft)) bullet.active = 0;
  }
}

// Every record turns, active or not; afterwards each record's angle is the
// direction opposite to its motion.
template <typename MoveActive>
void MoveHomingPool(BulletRecord* pool, int size, double targetX, double targetY, double limit,
                    MoveActive moveActive) {
  for (int i = 0; i < size; ++i) {
    BulletRecord& record = pool[i];
    TurnHoming(record, targetX, targetY, limit);
    if (record.active != 0) moveActive(record);
    record.angle = std::atan2(-record.vy, -record.vx);
  }
}

}  // namespace

void MoveShotsAndBullets() {
  player.centreX = player.x + player.width / 2;
  player.centreY = player.y + player.height / 2;

  for (BulletRecord& shot : playerShots) {
    if (shot.active == 0) continue;
    shot.y = shot.y + shot.vy;
    if (shot.y < kPlayerShotTop) shot.active = 0;
  }

  for (BulletRecord& bullet : enemyBulletsB) {
    if (bullet.active == 0) continue;
    Fly(bullet);
    if (OutsidePlayfield(bullet, kLargeBulletLeft)) {
      bullet.age = 0;
      bullet.active = 0;
    }
  }

  MoveHomingPool(enemyBulletsC, ENEMY_POOL_SIZE, player.centreX, player.centreY, kHomingBulletTurn,
                 [](BulletRecord& bullet) {
                   Fly(bullet);
                   if (bullet.x <= kHomingLeft || bullet.y >= kHomingBottom) bullet.active = 0;
                 });

  MoveHomingPool(sideShots, SHOT_POOL_SIZE, boss.centreX, boss.centreY, kSideShotTurn, [](BulletRecord& shot) {
    shot.age = shot.age + 1;
    Fly(shot);
    if (shot.age == kSideShotLife) {
      shot.age = 0;
      shot.active = 0;
    }
  });

  MoveSmallBullets(enemyBulletsA);
  MoveSmallBullets(enemyBulletsD);

  for (BulletRecord& circle : magicCircles) {
    if (circle.active == 0) continue;
    if (circle.moveMode == 0) {
      Fly(circle);
    } else if (circle.moveMode != 1) {
      circle.moveMode = 0;  // an unknown mode stands still for this frame
    }
  }
}
