// The boss pattern vocabulary: rings and fans into full pools, aiming,
// homing shots, age conversions and bursts, and the circles' orbit and
// flight.
#include <cmath>

#include "battle_fixture.h"
#include "boss_patterns.h"
#include "bullet_pools.h"

namespace {

class BossPatterns : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    PlacePlayer(400, 600);  // centre (419, 624)
    boss.centreX = 441;
    boss.centreY = 302;
  }
};

// With five records free, a 40-bullet ring takes them in order of i and
// the rest of the call goes on.
TEST_F(BossPatterns, ARingIntoANearlyFullPoolTakesWhatIsFree) {
  const int freeRecords[] = {3, 400, 401, 1200, 1999};
  FillPoolExcept(enemyBulletsD, ENEMY_POOL_SIZE, freeRecords);
  const double step = kPi / 20;
  Ring(enemyBulletsD, 40, step, 3.0, {441, 302}, 0.0, {.kind = 2, .keepAngle = true});
  for (int n = 0; n < 5; ++n) {
    const BulletRecord& bullet = enemyBulletsD[freeRecords[n]];
    SCOPED_TRACE(n);
    EXPECT_EQ(bullet.active, 1);
    EXPECT_EQ(bullet.x, 441.0);
    EXPECT_EQ(bullet.y, 302.0);
    EXPECT_EQ(bullet.speed, 3.0);
    EXPECT_EQ(bullet.vx, 3.0 * std::cos(n * step));
    EXPECT_EQ(bullet.vy, 3.0 * std::sin(n * step));
    EXPECT_EQ(bullet.kind, 2);
    EXPECT_EQ(bullet.angle, n * step);
  }
  // The next spawn of the same call still finds nothing and goes on.
  Ring(enemyBulletsA, 2, 1.0, 1.0, {0, 0});
  EXPECT_EQ(CountActive(enemyBulletsA, ENEMY_POOL_SIZE), 2);
}

TEST_F(BossPatterns, ARingWithoutAKindKeepsTheRecordsKind) {
  enemyBulletsB[0].kind = 1;
  Ring(enemyBulletsB, 2, 1.0, 2.0, {0, 0}, 0.5);
  EXPECT_EQ(enemyBulletsB[0].kind, 1);
  EXPECT_EQ(enemyBulletsB[1].kind, 0);
  EXPECT_EQ(enemyBulletsB[1].vx, 2.0 * std::cos(0.5 + 1.0));
}

// Each bullet that found a record turns the index on; one that did not
// leaves it.
TEST_F(BossPatterns, RotatingFanTurnsPerBulletThatLeaves) {
  const double unit = kPi / 20;
  boss.rotatingIndex = 38;
  RotatingFan(enemyBulletsA, {0, 10, 20, 30}, unit, 40, 3.0, {441, 302}, {.kind = 1});
  const int turns[] = {38, 10 + 39, 20 + 0, 30 + 1};
  for (int n = 0; n < 4; ++n) {
    EXPECT_EQ(enemyBulletsA[n].vx, 3.0 * std::cos(turns[n] * unit)) << n;
    EXPECT_EQ(enemyBulletsA[n].kind, 1) << n;
  }
  EXPECT_EQ(boss.rotatingIndex, 2);

  FillPoolExcept(enemyBulletsA, ENEMY_POOL_SIZE, {77});
  RotatingFan(enemyBulletsA, {0, 10, 20, 30}, unit, 40, 3.0, {441, 302});
  EXPECT_EQ(boss.rotatingIndex, 3);
  EXPECT_EQ(enemyBulletsA[77].vx, 3.0 * std::cos(2 * unit));
}

TEST_F(BossPatterns, AimedShotsHeadAtThePlayersCentre) {
  AimedShot(enemyBulletsA, 6.0, {419, 324}, {.kind = 1});  // 300 straight above
  EXPECT_NEAR(enemyBulletsA[0].vx, 0.0, 1e-12);
  EXPECT_NEAR(enemyBulletsA[0].vy, 6.0, 1e-12);
  EXPECT_EQ(enemyBulletsA[0].kind, 1);
  AimedShot(enemyBulletsA, 6.0, {719, 924});  // below right, on the diagonal
  EXPECT_NEAR(enemyBulletsA[1].vx, -6.0 / std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(enemyBulletsA[1].vy, -6.0 / std::sqrt(2.0), 1e-12);
  // From the player's centre itself atan2(0, 0) is 0: straight left.
  AimedShot(enemyBulletsA, 6.0, {419, 624});
  EXPECT_EQ(enemyBulletsA[2].vx, -6.0);
  EXPECT_EQ(enemyBulletsA[2].vy, 0.0);
}

TEST_F(BossPatterns, HomingShotGoesIntoPoolCReadyToHome) {
  enemyBulletsC[0].age = 40;
  HomingShot(4.0, {119, 324});
  const BulletRecord& bullet = enemyBulletsC[0];
  EXPECT_EQ(bullet.kind, 1);
  EXPECT_EQ(bullet.age, 0);
  EXPECT_EQ(bullet.angle, std::atan2(324.0 - 624.0, 119.0 - 419.0));
  EXPECT_NEAR(bullet.vx, 4.0 / std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(bullet.vy, 4.0 / std::sqrt(2.0), 1e-12);
}

// Large bullet i ages while in flight; at the age it is freed and aimed
// bullet i takes its place, whatever that record held.
TEST_F(BossPatterns, AgeConvertReplacesTheSameIndexOfPoolA) {
  enemyBulletsB[7] = {.x = 419, .y = 324, .age = 58, .active = 1};
  enemyBulletsB[8] = {.x = 119, .y = 324, .age = 58, .active = 0};
  enemyBulletsA[7] = {.kind = 3, .x = 5, .y = 5, .vx = 1, .vy = 1, .active = 1};
  AgeConvert(60, 6.0);
  EXPECT_EQ(enemyBulletsB[7].age, 59);
  EXPECT_EQ(enemyBulletsA[7].x, 5.0);
  AgeConvert(60, 6.0);
  EXPECT_EQ(enemyBulletsB[7].active, 0);
  EXPECT_EQ(enemyBulletsB[7].age, 0);
  const BulletRecord& aimed = enemyBulletsA[7];
  EXPECT_EQ(aimed.active, 1);
  EXPECT_EQ(aimed.kind, 1);
  EXPECT_EQ(aimed.x, 419.0);
  EXPECT_EQ(aimed.y, 324.0);
  EXPECT_EQ(aimed.speed, 6.0);
  EXPECT_NEAR(aimed.vx, 0.0, 1e-12);
  EXPECT_NEAR(aimed.vy, 6.0, 1e-12);
  EXPECT_EQ(enemyBulletsB[8].age, 58);  // a free record does not age
  EXPECT_EQ(enemyBulletsA[8].active, 0);
}

Point g_bursts[4];
int g_burstCount;
void RecordBurst(Point origin) { g_bursts[g_burstCount++] = origin; }

TEST_F(BossPatterns, AgeBurstFiresAtTheRecordsPlaceByItsAgeTest) {
  struct BurstCase {
    AgeTest test;
    int ageBefore;
    bool bursts;
  };
  const BurstCase cases[] = {
      {AgeTest::kExactly, 29, true},
      {AgeTest::kExactly, 30, false},
      {AgeTest::kAtLeast, 30, true},
      {AgeTest::kAtLeast, 28, false},
  };
  for (const BurstCase& burst : cases) {
    g_burstCount = 0;
    enemyBulletsA[4] = {.x = 60, .y = 70, .age = burst.ageBefore, .active = 1};
    AgeBurst(enemyBulletsA, 30, burst.test, RecordBurst);
    EXPECT_EQ(g_burstCount, burst.bursts ? 1 : 0) << burst.ageBefore;
    EXPECT_EQ(enemyBulletsA[4].active, burst.bursts ? 0 : 1);
    if (burst.bursts) {
      EXPECT_EQ(g_bursts[0].x, 60.0);
      EXPECT_EQ(g_bursts[0].y, 70.0);
      EXPECT_EQ(enemyBulletsA[4].age, 0);
    }
  }
}

TEST_F(BossPatterns, EveryFramesFiresOnTheRemainder) {
  boss.patternFrame = 61;
  EXPECT_TRUE(EveryFrames(60, 1));
  EXPECT_FALSE(EveryFrames(60, 0));
  boss.patternFrame = 121;
  EXPECT_TRUE(EveryFrames(90, 31));
}

TEST_F(BossPatterns, CirclesOrbitTheBossByTheirOwnAngle) {
  magicCircles[2].angle = 0.3;
  CircleOrbit({2}, 100.0, kPi / 2, -1, 2.0);
  const double theta = 2 * (kPi / 2) - 0.3 * 2.0;
  EXPECT_EQ(magicCircles[2].x, 441 + 100.0 * std::cos(theta));
  EXPECT_EQ(magicCircles[2].y, 302 + 100.0 * std::sin(theta));
}

TEST_F(BossPatterns, CirclesFlyAtTheirTargetsAndStopAfterTheirFrames) {
  magicCircles[0] = {.x = 100, .y = 100, .active = 1};
  magicCircles[1] = {.x = 500, .y = 100, .active = 1};
  const Point targets[] = {{100, 300}, {300, 100}};
  CircleFlight({0, 1}, targets, 5.0, 2);
  EXPECT_NEAR(magicCircles[0].vx, 0.0, 1e-12);
  EXPECT_NEAR(magicCircles[0].vy, 5.0, 1e-12);
  EXPECT_NEAR(magicCircles[1].vx, -5.0, 1e-12);
  EXPECT_EQ(magicCircles[0].moveMode, 0);
  CircleFlight({0, 1}, targets, 5.0, 2);
  EXPECT_EQ(magicCircles[0].moveMode, 1);
  EXPECT_EQ(magicCircles[1].moveMode, 1);
}

// The flight is counted in the first named circle alone: the others' ages
// neither stop them early nor change.
TEST_F(BossPatterns, CircleFlightCountsInTheFirstCircle) {
  magicCircles[3] = {.age = 5, .active = 1};
  magicCircles[4] = {.age = 50, .active = 1};
  const Point targets[] = {{0, 800}, {800, 800}};
  CircleFlight({3, 4}, targets, 8.0, 7);
  EXPECT_EQ(magicCircles[3].age, 6);
  EXPECT_EQ(magicCircles[4].age, 50);
  EXPECT_EQ(magicCircles[4].moveMode, 0);
  CircleFlight({3, 4}, targets, 8.0, 7);
  EXPECT_EQ(magicCircles[3].moveMode, 1);
  EXPECT_EQ(magicCircles[4].moveMode, 1);
}

TEST_F(BossPatterns, CircleSetupResetsMotionOnlyWhenAsked) {
  for (int i = 0; i < 3; ++i) magicCircles[i] = {.angle = 1.0, .age = 4, .moveMode = 1};
  CircleSetup({0});
  CircleSetup({1}, {.angle = 0.0, .age = 0, .moveMode = 0});
  CircleSetup({2}, {.angle = 0.0});
  EXPECT_EQ(magicCircles[0].active, 1);
  EXPECT_EQ(magicCircles[0].angle, 1.0);
  EXPECT_EQ(magicCircles[0].moveMode, 1);
  EXPECT_EQ(magicCircles[1].active, 1);
  EXPECT_EQ(magicCircles[1].angle, 0.0);
  EXPECT_EQ(magicCircles[1].age, 0);
  EXPECT_EQ(magicCircles[1].moveMode, 0);
  EXPECT_EQ(magicCircles[2].angle, 0.0);
  EXPECT_EQ(magicCircles[2].age, 4);
  EXPECT_EQ(magicCircles[2].moveMode, 1);
}

// Phase 0 clears the pools and then runs the set-up; phase 1 fires; any
// other phase starts over or stands, as the stock says.
TEST_F(BossPatterns, StockPhasesByWhatOtherPhasesDo) {
  const struct {
    OtherPhase other;
    int phase;
    bool fires;
    int phaseAfter;
  } cases[] = {
      {OtherPhase::kStartOver, 0, false, 1},
      {OtherPhase::kStartOver, 1, true, 1},
      {OtherPhase::kStartOver, 2, false, 0},
      {OtherPhase::kStartOver, -1, false, 0},
      {OtherPhase::kStartOverButIdleInTwo, 0, false, 1},
      {OtherPhase::kStartOverButIdleInTwo, 1, true, 1},
      {OtherPhase::kStartOverButIdleInTwo, 2, false, 2},
      {OtherPhase::kStartOverButIdleInTwo, 3, false, 0},
      {OtherPhase::kStartOverButIdleInTwo, -1, false, 0},
      {OtherPhase::kIdle, 0, false, 1},
      {OtherPhase::kIdle, 1, true, 1},
      {OtherPhase::kIdle, 2, false, 2},
      {OtherPhase::kIdle, 7, false, 7},
  };
  static int setUps;
  static int activeAtSetUp;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "other " << static_cast<int>(c.other) << " phase " << c.phase);
    setUps = 0;
    activeAtSetUp = -1;
    enemyBulletsA[0].active = 1;
    enemyBulletsD[9].active = 1;
    boss.phase = c.phase;
    const bool fires = SetUpStockOrFire(
        [] {
          ++setUps;
          activeAtSetUp = Active(enemyBulletsA) + Active(enemyBulletsD);
        },
        c.other);
    EXPECT_EQ(fires, c.fires);
    EXPECT_EQ(boss.phase, c.phaseAfter);
    const bool setUp = c.phase == 0;
    EXPECT_EQ(setUps, setUp ? 1 : 0);
    EXPECT_EQ(activeAtSetUp, setUp ? 0 : -1);
    EXPECT_EQ(enemyBulletsA[0].active, setUp ? 0 : 1);
  }
}

}  // namespace
