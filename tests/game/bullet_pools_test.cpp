// The pools: spawning, the reset before a battle, the bounds of each pool,
// the side shots' life, the homing turn and the drawing's kind repair.
#include <cmath>

#include "battle_fixture.h"
#include "bullet_pools.h"
#include "homing_turn.h"

namespace {

class BulletPools : public BattleTest {};

TEST_F(BulletPools, SpawnTakesTheFirstFreeRecordAndAFullPoolDropsIt) {
  FillPoolExcept(enemyBulletsA, ENEMY_POOL_SIZE, {1500, 1700});
  EXPECT_EQ(SpawnBullet(enemyBulletsA), &enemyBulletsA[1500]);
  EXPECT_EQ(SpawnBullet(enemyBulletsA), &enemyBulletsA[1700]);
  enemyBulletsA[3].x = 12.5;
  EXPECT_EQ(SpawnBullet(enemyBulletsA), nullptr);
  EXPECT_EQ(enemyBulletsA[3].x, 12.5);
  EXPECT_EQ(CountActive(enemyBulletsA, ENEMY_POOL_SIZE), ENEMY_POOL_SIZE);
}

TEST_F(BulletPools, LoadBulletsResetsWhatEachPoolRestartsFrom) {
  playerShots[5] = {.kind = 3, .x = 9, .y = 9, .vx = 2, .vy = 4, .speed = 7, .angle = 1, .age = 6, .active = 1};
  enemyBulletsB[5] = {.kind = 1, .x = 9, .y = 9, .vx = 2, .vy = 4, .speed = 7, .angle = 1, .age = 6, .active = 1};
  magicCircles[19].active = 1;
  magicCircles[19].moveMode = 1;
  LoadBullets();
  const BulletRecord& shot = playerShots[5];
  EXPECT_EQ(shot.active, 0);
  EXPECT_EQ(shot.x, 0.0);
  EXPECT_EQ(shot.y, 0.0);
  EXPECT_EQ(shot.vx, 0.0);
  EXPECT_EQ(shot.vy, -20.0);
  EXPECT_EQ(shot.kind, 3);
  EXPECT_EQ(shot.age, 6);
  EXPECT_EQ(sideShots[99].vy, -20.0);
  const BulletRecord& large = enemyBulletsB[5];
  EXPECT_EQ(large.active, 0);
  EXPECT_EQ(large.age, 0);
  EXPECT_EQ(large.kind, 0);
  EXPECT_EQ(large.x, 9.0);
  EXPECT_EQ(large.vx, 2.0);
  EXPECT_EQ(magicCircles[19].active, 0);
  EXPECT_EQ(magicCircles[19].moveMode, 1);
}

struct BoundsCase {
  const char* name;
  BulletRecord* pool;
  double x, y;
  bool kept;
  int ageAfter;
};

// Each record starts still at (x, y) with age 5; one frame decides.
TEST_F(BulletPools, EachPoolHasItsOwnBounds) {
  PlacePlayer(400, 500);
  const BoundsCase cases[] = {
      {"A at the left bound", enemyBulletsA, 20, 400, false, 5},
      {"A just inside left", enemyBulletsA, 20.5, 400, true, 5},
      {"A at the bottom", enemyBulletsA, 400, 810, false, 5},
      {"A just above the bottom", enemyBulletsA, 400, 809.9, true, 5},
      {"A at the right", enemyBulletsA, 867, 400, false, 5},
      {"A at the top", enemyBulletsA, 400, 171, false, 5},
      {"A just below the top", enemyBulletsA, 400, 171.5, true, 5},
      {"D at the left bound", enemyBulletsD, 20, 400, false, 5},
      {"D at the right", enemyBulletsD, 867, 400, false, 5},
      {"B at its left bound", enemyBulletsB, 25, 400, false, 0},
      {"B just inside left", enemyBulletsB, 25.5, 400, true, 5},
      {"B at the bottom", enemyBulletsB, 400, 810, false, 0},
      {"C far above", enemyBulletsC, 400, -500, true, 5},
      {"C far right", enemyBulletsC, 5000, 400, true, 5},
      {"C at its left bound", enemyBulletsC, -10, 400, false, 5},
      {"C at its bottom", enemyBulletsC, 400, 840, false, 5},
      {"C below the playfield", enemyBulletsC, 400, 839, true, 5},
  };
  for (const BoundsCase& bounds : cases) {
    SCOPED_TRACE(bounds.name);
    BulletRecord& record = bounds.pool[0];
    record = {.x = bounds.x, .y = bounds.y, .age = 5, .active = 1};
    MoveShotsAndBullets();
    EXPECT_EQ(record.active != 0, bounds.kept);
    EXPECT_EQ(record.age, bounds.ageAfter);
    record.active = 0;
  }
}

TEST_F(BulletPools, MainShotsFlyUpAndLeaveAbove171) {
  playerShots[0] = {.y = 191, .vy = -20, .active = 1};
  playerShots[1] = {.y = 190, .vy = -20, .active = 1};
  MoveShotsAndBullets();
  EXPECT_EQ(playerShots[0].y, 171.0);
  EXPECT_EQ(playerShots[0].active, 1);
  EXPECT_EQ(playerShots[1].active, 0);
}

// A side shot lives 120 frames wherever it goes, off screen too.
TEST_F(BulletPools, SideShotsLive120Frames) {
  boss.centreX = 441;
  boss.centreY = 302;
  sideShots[0] = {.x = 100, .y = 524, .vx = -10, .vy = -20, .active = 1};
  sideShots[0].angle = std::atan2(524.0 - 302.0, 100.0 - 441.0);
  for (int frame = 1; frame < 120; ++frame) MoveShotsAndBullets();
  EXPECT_EQ(sideShots[0].active, 1);
  EXPECT_EQ(sideShots[0].age, 119);
  MoveShotsAndBullets();
  EXPECT_EQ(sideShots[0].active, 0);
  EXPECT_EQ(sideShots[0].age, 0);
}

// A side shot leaves along (±10, vy) without turning in its first frame
// (its angle already points from the boss), then bends toward the boss by
// at most a ninth of a half-turn a frame and keeps its speed.
TEST_F(BulletPools, SideShotBendsTowardTheBossByTheTurnLimit) {
  boss.centreX = 441;
  boss.centreY = 302;
  BulletRecord& shot = sideShots[0];
  shot = {.x = 100, .y = 524, .vx = -10, .vy = -20, .active = 1};
  shot.angle = std::atan2(524.0 - 302.0, 100.0 - 441.0);
  const double speed = std::hypot(shot.vx, shot.vy);
  MoveShotsAndBullets();
  EXPECT_NEAR(shot.vx, -10.0, 1e-9);
  EXPECT_NEAR(shot.vy, -20.0, 1e-9);
  EXPECT_EQ(shot.angle, std::atan2(-shot.vy, -shot.vx));
  const double before = std::atan2(shot.vy, shot.vx);
  MoveShotsAndBullets();
  const double after = std::atan2(shot.vy, shot.vx);
  EXPECT_NEAR(after - before, kPi / 9, 1e-12);
  EXPECT_NEAR(std::hypot(shot.vx, shot.vy), speed, 1e-12);
}

struct TurnCase {
  const char* name;
  double angle;     // the record's angle: opposite to its motion
  double toRecord;  // the direction from the target to the record
  double turn;      // the expected turn of the velocity
};

// The angle and the target direction are compared unfolded; the half-turn
// test keeps the turn the short way across the -pi/+pi seam.
TEST_F(BulletPools, HomingTurnTakesTheShortWayAcrossTheSeam) {
  const double limit = kPi / 150;
  const TurnCase cases[] = {
      {"a 3.1, t -3.1: across the seam upward", 3.1, -3.1, +limit},
      {"a -3.1, t 3.1: across the seam downward", -3.1, 3.1, -limit},
      {"ahead of the target", 0.5, 0.2, -limit},
      {"behind the target", 0.2, 0.5, +limit},
      {"within the limit: straight at it", 0.21, 0.2, -0.01},
      {"exactly on it", 1.0, 1.0, 0.0},
      {"just under a half-turn ahead", 3.0, -0.14, -limit},
      {"just past a half-turn ahead", 3.0, -0.15, +limit},
  };
  for (const TurnCase& turn : cases) {
    SCOPED_TRACE(turn.name);
    BulletRecord record{};
    record.x = 300 + 100 * std::cos(turn.toRecord);
    record.y = 300 + 100 * std::sin(turn.toRecord);
    record.angle = turn.angle;
    record.vx = 2.0;
    record.vy = 0.0;
    TurnHoming(record, 300, 300, limit);
    EXPECT_NEAR(std::atan2(record.vy, record.vx), turn.turn, 1e-9);
    EXPECT_NEAR(std::hypot(record.vx, record.vy), 2.0, 1e-12);
  }
}

// A homing bullet spawned aimed at a target that has not moved flies on
// straight; every record of the pool turns and gets its angle, active or
// not.
TEST_F(BulletPools, HomingBulletsTurnEveryRecordAndKeepTheirAngleOppositeToMotion) {
  PlacePlayer(400, 500);  // centre (419, 524)
  BulletRecord& bullet = enemyBulletsC[0];
  bullet = {.kind = 1, .x = 419, .y = 300, .vx = 0, .vy = 4, .active = 1};
  bullet.angle = std::atan2(300.0 - 524.0, 0.0);
  BulletRecord& idle = enemyBulletsC[1];
  idle = {.x = 100, .y = 100, .vx = 1, .vy = 0, .angle = 0, .active = 0};
  MoveShotsAndBullets();
  EXPECT_NEAR(bullet.vx, 0.0, 1e-12);
  EXPECT_NEAR(bullet.vy, 4.0, 1e-12);
  EXPECT_NEAR(bullet.y, 304.0, 1e-12);
  EXPECT_EQ(idle.x, 100.0);
  EXPECT_NE(idle.vy, 0.0);
  EXPECT_EQ(idle.angle, std::atan2(-idle.vy, -idle.vx));
}

// Pools B, C and D draw kinds 0 to 2 only; any other kind is skipped once
// and becomes 0. Pool A draws every kind.
TEST_F(BulletPools, DrawingRepairsKindsItDoesNotKnow) {
  enemyBulletsA[0] = {.kind = 9, .x = 100, .y = 300, .active = 1};
  enemyBulletsB[0] = {.kind = 2, .x = 100, .y = 300, .active = 1};
  enemyBulletsB[1] = {.kind = 1, .x = 100, .y = 300, .active = 1};
  enemyBulletsB[2] = {.kind = 5, .x = 100, .y = 300, .active = 0};
  enemyBulletsC[0] = {.kind = -1, .x = 100, .y = 300, .active = 1};
  enemyBulletsD[0] = {.kind = 3, .x = 100, .y = 300, .active = 1};
  DrawShotsAndBullets();
  EXPECT_EQ(enemyBulletsA[0].kind, 9);
  EXPECT_EQ(enemyBulletsB[0].kind, 0);
  EXPECT_EQ(enemyBulletsB[1].kind, 1);
  EXPECT_EQ(enemyBulletsB[2].kind, 5);
  EXPECT_EQ(enemyBulletsC[0].kind, 0);
  EXPECT_EQ(enemyBulletsD[0].kind, 0);
}

// Circles spin with every drawn frame; an unknown move mode stands still
// once and then moves again.
TEST_F(BulletPools, MagicCirclesSpinWhenDrawnAndMoveByMode) {
  magicCircles[0] = {.x = 100, .y = 300, .vx = 2, .vy = 1, .angle = 0.5, .active = 1, .moveMode = 7};
  magicCircles[1] = {.x = 100, .y = 300, .vx = 2, .vy = 1, .active = 1, .moveMode = 1};
  MoveShotsAndBullets();
  EXPECT_EQ(magicCircles[0].x, 100.0);
  EXPECT_EQ(magicCircles[0].moveMode, 0);
  MoveShotsAndBullets();
  EXPECT_EQ(magicCircles[0].x, 102.0);
  EXPECT_EQ(magicCircles[0].y, 301.0);
  EXPECT_EQ(magicCircles[1].x, 100.0);
  DrawShotsAndBullets();
  DrawShotsAndBullets();
  EXPECT_EQ(magicCircles[0].angle, 0.5 + 0.0314159 + 0.0314159);
}

}  // namespace
