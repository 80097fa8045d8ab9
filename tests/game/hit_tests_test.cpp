// Hit tests: the reach of each pool, the order of the hits, stock losses,
// the boss's defeat and game over.
#include <climits>
#include <cmath>

#include "battle_fixture.h"
#include "hit_tests.h"

namespace {

class HitTests : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    PlacePlayer(100, 500);
    player.hp = 30.0;
    PlaceBossAsLoaded(414, 255, 55, 94);
    boss.centreX = 500;  // moved off its box by the pattern
    boss.centreY = 300;
    boss.phase = 2;
    sceneNumber = 4;
  }

  // A main or side shot sitting on the boss's centre.
  static void ShotOnBoss(BulletRecord& shot) { shot = {.x = boss.centreX, .y = boss.centreY, .active = 1}; }

  static void RunShotHits() {
    MeasureShotDistances();
    ApplyShotHits();
  }

  static void RunBulletHits() {
    MeasureBulletDistances();
    ApplyBulletHits();
  }
};

struct ReachCase {
  const char* name;
  BulletRecord* pool;
  int row;
  int distanceSq;
  bool hits;
};

// A hit needs the squared distance strictly below the pool's reach.
TEST_F(HitTests, EachPoolHitsStrictlyInsideItsReach) {
  const ReachCase bulletCases[] = {
      {"A at 168", enemyBulletsA, 0, 168, true}, {"A at 169", enemyBulletsA, 0, 169, false},
      {"B at 1399", enemyBulletsB, 1, 1399, true}, {"B at 1400", enemyBulletsB, 1, 1400, false},
      {"C at 168", enemyBulletsC, 2, 168, true}, {"C at 169", enemyBulletsC, 2, 169, false},
      {"D at 168", enemyBulletsD, 3, 168, true}, {"D at 169", enemyBulletsD, 3, 169, false},
  };
  for (const ReachCase& reach : bulletCases) {
    SCOPED_TRACE(reach.name);
    player.hp = 30.0;
    reach.pool[0].active = 1;
    bulletDistSq[reach.row][0] = reach.distanceSq;
    ApplyBulletHits();
    EXPECT_EQ(reach.pool[0].active, reach.hits ? 0 : 1);
    EXPECT_EQ(player.hp, reach.hits ? 30.0 - (reach.row == 1 ? 2.0 : 1.0) : 30.0);
    reach.pool[0].active = 0;
    bulletDistSq[reach.row][0] = INT_MAX;
  }

  const ReachCase shotCases[] = {
      {"main at 461", playerShots, 0, 461, true}, {"main at 462", playerShots, 0, 462, false},
      {"side at 461", sideShots, 1, 461, true}, {"side at 462", sideShots, 1, 462, false},
  };
  for (const ReachCase& reach : shotCases) {
    SCOPED_TRACE(reach.name);
    boss.hp = 30.0;
    score = 0;
    reach.pool[0].active = 1;
    shotDistSq[reach.row][0] = reach.distanceSq;
    ApplyShotHits();
    EXPECT_EQ(reach.pool[0].active, reach.hits ? 0 : 1);
    EXPECT_EQ(boss.hp, reach.hits ? 30.0 - (reach.row == 0 ? 0.05 : 0.02) : 30.0);
    EXPECT_EQ(score, reach.hits ? 100 : 0);
    reach.pool[0].active = 0;
    shotDistSq[reach.row][0] = INT_MAX;
  }
}

// The player is hit at a fixed point 19, 24 into its box, not at its
// centre fields; the squared distance is truncated toward zero.
TEST_F(HitTests, BulletDistancesAreMeasuredFromTheBoxAndTruncated) {
  player.centreX = 0;  // stale centre fields do not matter
  player.centreY = 0;
  enemyBulletsA[0] = {.x = 119 + 3, .y = 524 + 4};
  enemyBulletsB[5] = {.x = 119.9, .y = 524};
  enemyBulletsD[1999] = {.x = 119 - 12.9, .y = 524};
  MeasureBulletDistances();
  EXPECT_EQ(bulletDistSq[0][0], 25);
  EXPECT_EQ(bulletDistSq[1][5], 0);
  EXPECT_EQ(bulletDistSq[3][1999], 166);
}

// A distance too large for an int never wraps into a hit.
TEST_F(HitTests, FarRecordsNeverHit) {
  EXPECT_EQ(TruncatedDistanceSq(1e5, 1e5), INT_MAX);
  EXPECT_EQ(TruncatedDistanceSq(46341, 0), INT_MAX);
  EXPECT_EQ(TruncatedDistanceSq(46340, 0), 46340 * 46340);
  EXPECT_EQ(TruncatedDistanceSq(NAN, 0), INT_MAX);
  enemyBulletsC[0] = {.x = 1e7, .y = 1e7, .active = 1};
  RunBulletHits();
  EXPECT_EQ(enemyBulletsC[0].active, 1);
  EXPECT_EQ(player.hp, 30.0);
}

// The shot that empties the stock is the last main shot examined; the next
// stock starts with full HP on the box's centre, and side shots still hit
// it in the same frame.
TEST_F(HitTests, AStockLostToAMainShotStopsTheMainPassOnly) {
  boss.hp = 0.04;
  for (int i = 0; i < 3; ++i) ShotOnBoss(playerShots[i]);
  ShotOnBoss(sideShots[0]);
  RunShotHits();
  EXPECT_EQ(playerShots[0].active, 0);
  EXPECT_EQ(playerShots[1].active, 1);
  EXPECT_EQ(playerShots[2].active, 1);
  EXPECT_EQ(sideShots[0].active, 0);
  EXPECT_EQ(boss.stocks, 2);
  EXPECT_EQ(boss.hp, 30.0 - 0.02);
  EXPECT_EQ(boss.phase, 0);
  EXPECT_EQ(boss.centreX, 441.0);
  EXPECT_EQ(boss.centreY, 302.0);
  EXPECT_EQ(score, 100 + 100 + 100);
  EXPECT_EQ(explosions[0].alive, 1);
  EXPECT_EQ(explosions[0].x, 441.0);
  EXPECT_EQ(explosions[0].y, 302.0);
  EXPECT_EQ(sceneNumber, 4);
}

TEST_F(HitTests, ASideShotEndsTheShotHitsWhenItEmptiesAStock) {
  boss.hp = 0.015;
  ShotOnBoss(sideShots[0]);
  ShotOnBoss(sideShots[1]);
  RunShotHits();
  EXPECT_EQ(boss.stocks, 2);
  EXPECT_EQ(boss.hp, 30.0);
  EXPECT_EQ(sideShots[1].active, 1);
}

// On the last stock, a main shot or a side shot defeats the boss and the
// after-battle dialogue starts at its first step.
TEST_F(HitTests, TheLastStockEmptiedByEitherShotDefeatsTheBoss) {
  for (BulletRecord* pool : {playerShots, sideShots}) {
    SCOPED_TRACE(pool == playerShots ? "main shot" : "side shot");
    boss.stocks = 0;
    boss.hp = 0.01;
    boss.alive = 1;
    sceneNumber = 4;
    dialogueIndex = 5;
    for (ObjectRecord& explosion : explosions) explosion.alive = 0;
    ShotOnBoss(pool[0]);
    ShotOnBoss(pool[1]);
    RunShotHits();
    EXPECT_EQ(boss.alive, 0);
    EXPECT_LE(boss.hp, 0.0);
    EXPECT_EQ(sceneNumber, 5);
    EXPECT_EQ(dialogueIndex, 0);
    EXPECT_EQ(explosions[0].alive, 1);
    EXPECT_EQ(explosions[0].x, 500.0);  // where the boss stood
    EXPECT_EQ(pool[1].active, 1);
    pool[1].active = 0;
  }
}

// A boss that is gone still takes shots and scores, and nothing more.
TEST_F(HitTests, ShotsAtABossThatIsGoneOnlyScore) {
  boss.alive = 0;
  boss.stocks = 2;
  boss.hp = 0.04;
  ShotOnBoss(playerShots[0]);
  ShotOnBoss(playerShots[1]);
  ShotOnBoss(sideShots[0]);
  RunShotHits();
  EXPECT_EQ(CountActive(playerShots, SHOT_POOL_SIZE) + CountActive(sideShots, SHOT_POOL_SIZE), 0);
  EXPECT_EQ(boss.stocks, 2);
  EXPECT_EQ(score, 300);
  EXPECT_EQ(sceneNumber, 4);
}

TEST_F(HitTests, EveryBulletInReachHitsInOneFrame) {
  enemyBulletsB[0] = {.x = 119, .y = 524, .active = 1};
  enemyBulletsB[1] = {.x = 130, .y = 540, .active = 1};
  enemyBulletsA[9] = {.x = 121, .y = 524, .active = 1};
  RunBulletHits();
  EXPECT_EQ(player.hp, 25.0);
  EXPECT_EQ(sceneNumber, 4);
}

TEST_F(HitTests, ThePlayerAtExactlyZeroHpIsBeaten) {
  player.hp = 1.0;
  enemyBulletsD[0] = {.x = 119, .y = 524, .active = 1};
  RunBulletHits();
  EXPECT_EQ(player.hp, 0.0);
  EXPECT_EQ(sceneNumber, 29);
}

// The boss's defeat and the player's in the same frame: game over wins.
TEST_F(HitTests, GameOverWinsOverVictoryInTheSameFrame) {
  boss.stocks = 0;
  boss.hp = 0.05;
  ShotOnBoss(playerShots[0]);
  player.hp = 2.0;
  enemyBulletsB[0] = {.x = 119, .y = 524, .active = 1};
  RunShotHits();
  RunBulletHits();
  EXPECT_EQ(boss.alive, 0);
  EXPECT_EQ(sceneNumber, 29);
}

}  // namespace
