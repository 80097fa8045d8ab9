// The second boss: its figure-of-eight path, and what each stock fires
// when.
#include <cmath>

#include "battle_fixture.h"
#include "boss_battles.h"

namespace {

class Stage2Battle : public BattleTest {
 protected:
  // The boss as the stage loader leaves it.
  void SetUp() override {
    BattleTest::SetUp();
    PlacePlayer(422, 751);  // centre (441, 775)
    PlaceBossAsLoaded(227, 275, 226, 251);
  }

  // The boss in the middle of the battle, its path anchored.
  static void OnThePath(int stocks, int phase, int patternFrame) {
    boss.frameCounter = 10;
    boss.pathTime = 0;
    boss.baseX = 377;
    boss.baseY = 275;
    InStock(stocks, phase, patternFrame);
  }
};

// The first call anchors the path and puts the box at its middle, while the
// centre of that call is still the loader's box; the path time is not read.
TEST_F(Stage2Battle, TheFirstCallAnchorsThePathAndSetsUp) {
  boss.pathTime = 555;
  boss.baseX = 9;
  boss.rotatingIndex = 5;
  enemyBulletsC[7].active = 1;
  RunStage2Battle();
  EXPECT_EQ(boss.centreX, 340.0);
  EXPECT_EQ(boss.centreY, 400.0);
  EXPECT_EQ(boss.baseX, 377.0);
  EXPECT_EQ(boss.baseY, 275.0);
  EXPECT_EQ(boss.x, 377.0 + 200.0 * std::cos(1.570795));
  EXPECT_EQ(boss.y, 275.0);
  EXPECT_EQ(boss.pathTime, 1);
  EXPECT_EQ(boss.frameCounter, 1);
  EXPECT_EQ(boss.patternFrame, 1);
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(boss.rotatingIndex, 0);
  EXPECT_EQ(enemyBulletsC[7].active, 0);
  EXPECT_EQ(Active(enemyBulletsA) + Active(enemyBulletsD), 0) << "the set-up fires nothing";
  // The next call's centre is the box the first call left, by integer halves.
  RunStage2Battle();
  EXPECT_EQ(boss.centreX, 377.0 + 200.0 * std::cos(1.570795) + 113);
  EXPECT_EQ(boss.centreY, 275.0 + 125);
}

// The box's corner traces a figure of eight 400 wide and 200 high about
// (377, 275), once every 1,000 frames, the vertical part twice.
TEST_F(Stage2Battle, TheBoxFollowsTheFigureOfEight) {
  struct PathCase {
    int t;
    double x, y;
  };
  const PathCase cases[] = {
      {0, 377.0003, 275.0}, {125, 235.5789, 375.0}, {250, 177.0, 275.0003},
      {375, 235.5782, 175.0}, {500, 376.9992, 274.9995}, {1000, 377.0013, 274.9989},
  };
  for (const PathCase& path : cases) {
    SCOPED_TRACE(path.t);
    OnThePath(2, 1, 100);
    boss.pathTime = path.t;
    boss.x = 300;
    boss.y = 200;
    RunStage2Battle();
    EXPECT_NEAR(boss.x, path.x, 1e-4);
    EXPECT_NEAR(boss.y, path.y, 1e-4);
    EXPECT_EQ(boss.pathTime, path.t + 1);
    EXPECT_EQ(boss.frameCounter, 11);
    EXPECT_EQ(boss.centreX, 413.0) << "from the box before the move";
    EXPECT_EQ(boss.centreY, 325.0);
  }
}

// Rings every 30 frames for 180 frames, then the stream for 140; the frame
// that ends a phase sets f to 0 and fires nothing.
TEST_F(Stage2Battle, TheFirstStockSwitchesBetweenRingsAndStream) {
  struct PhaseCase {
    int phase, f;
    int phaseAfter, fAfter, fired;
  };
  const PhaseCase cases[] = {
      {1, 30, 1, 31, 32}, {1, 31, 1, 32, 0},  {1, 179, 2, 0, 0},  {2, 0, 2, 1, 2},
      {2, 2, 2, 3, 0},    {2, 139, 1, 0, 0},  {2, 136, 2, 137, 2}, {5, 40, 0, 41, 0},
  };
  for (const PhaseCase& step : cases) {
    SCOPED_TRACE(testing::Message() << "phase " << step.phase << " f " << step.f);
    FreePool(enemyBulletsA);
    OnThePath(3, step.phase, step.f);
    RunStage2Battle();
    EXPECT_EQ(boss.phase, step.phaseAfter);
    EXPECT_EQ(boss.patternFrame, step.fAfter);
    EXPECT_EQ(Active(enemyBulletsA), step.fired);
  }
}

TEST_F(Stage2Battle, TheRingIsSmallBulletsFromTheCentre) {
  OnThePath(3, 1, 60);
  boss.x = 300;
  boss.y = 200;
  RunStage2Battle();
  ASSERT_EQ(Active(enemyBulletsA), 32);
  for (int i = 0; i < 32; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(enemyBulletsA[i].kind, 1);
    EXPECT_EQ(enemyBulletsA[i].x, 413.0);
    EXPECT_EQ(enemyBulletsA[i].speed, 3.0);
    EXPECT_EQ(enemyBulletsA[i].vx, 3.0 * std::cos(i * (kPi / 16)));
    EXPECT_EQ(enemyBulletsA[i].vy, 3.0 * std::sin(i * (kPi / 16)));
  }
}

// The pair's first bullet drifts left, the second right, each at the
// rotating index as it stands, which wraps at 7; the speed is not written.
TEST_F(Stage2Battle, TheStreamPairTurnsWithTheRotatingIndex) {
  OnThePath(3, 2, 4);
  boss.rotatingIndex = 5;
  enemyBulletsA[0].speed = 9;
  RunStage2Battle();
  ASSERT_EQ(Active(enemyBulletsA), 2);
  const double first = 15 * kPi / 20;
  const double second = 16 * kPi / 20;
  EXPECT_EQ(enemyBulletsA[0].vx, 4 * std::cos(first));
  EXPECT_EQ(enemyBulletsA[0].vy, std::sin(first) + 2);
  EXPECT_EQ(enemyBulletsA[1].vx, -4 * std::cos(second));
  EXPECT_EQ(enemyBulletsA[1].vy, std::sin(second) + 2);
  EXPECT_LT(enemyBulletsA[0].vx, 0.0);
  EXPECT_GT(enemyBulletsA[1].vx, 0.0);
  EXPECT_EQ(enemyBulletsA[0].kind, 1);
  EXPECT_EQ(enemyBulletsA[0].speed, 9.0);
  EXPECT_EQ(boss.rotatingIndex, 0);

  // Index 0 falls straight down at 3 pixels a frame.
  boss.patternFrame = 8;
  RunStage2Battle();
  EXPECT_NEAR(enemyBulletsA[2].vx, 0.0, 1e-4);
  EXPECT_NEAR(enemyBulletsA[2].vy, 3.0, 1e-9);
  EXPECT_EQ(boss.rotatingIndex, 2);
}

// A stream bullet that finds the pool full does not turn the index.
TEST_F(Stage2Battle, AStreamBulletWithoutARecordLeavesTheIndex) {
  FillPoolExcept(enemyBulletsA, ENEMY_POOL_SIZE, {1500});
  OnThePath(3, 2, 4);
  boss.rotatingIndex = 3;
  RunStage2Battle();
  EXPECT_EQ(enemyBulletsA[1500].vx, 4 * std::cos(13 * kPi / 20));
  EXPECT_EQ(boss.rotatingIndex, 4);
}

// Long-bullet rings at 1 of every 30 frames, needle rings turned by half a
// step at 16; both keep their angle for the drawing.
TEST_F(Stage2Battle, TheSecondStockInterleavesTwoRings) {
  struct RingCase {
    int f;
    int kind;
    double speed, offset;
  };
  const RingCase cases[] = {{30, 1, 3.0, 0.0}, {45, 2, 5.0, kPi / 16}};
  for (const RingCase& ring : cases) {
    SCOPED_TRACE(ring.f);
    FreePool(enemyBulletsD);
    OnThePath(2, 1, ring.f);
    RunStage2Battle();
    ASSERT_EQ(Active(enemyBulletsD), 32);
    for (int i : {0, 1, 31}) {
      const double theta = ring.offset + i * (kPi / 16);
      EXPECT_EQ(enemyBulletsD[i].kind, ring.kind);
      EXPECT_EQ(enemyBulletsD[i].angle, theta);
      EXPECT_EQ(enemyBulletsD[i].vx, ring.speed * std::cos(theta));
    }
  }
  FreePool(enemyBulletsD);
  OnThePath(2, 1, 36);
  RunStage2Battle();
  EXPECT_EQ(Active(enemyBulletsD), 0);
}

// Groups of four a twenty-fourth apart, each group a further twelfth on;
// the second volley turned by a twelfth.
TEST_F(Stage2Battle, TheThirdStocksVolleysAreStaggered) {
  struct VolleyCase {
    int f;
    double angles[4];  // bullets 0, 1, 4 and 31
  };
  const VolleyCase cases[] = {
      {60, {0.0, kPi / 24, 3 * kPi / 12, 45 * kPi / 24}},
      {30, {kPi / 12, 3 * kPi / 24, 4 * kPi / 12, 47 * kPi / 24}},
  };
  for (const VolleyCase& volley : cases) {
    SCOPED_TRACE(volley.f);
    FreePool(enemyBulletsD);
    OnThePath(1, 1, volley.f);
    RunStage2Battle();
    ASSERT_EQ(Active(enemyBulletsD), 32);
    const int bullets[] = {0, 1, 4, 31};
    for (int n = 0; n < 4; ++n) {
      const BulletRecord& bullet = enemyBulletsD[bullets[n]];
      EXPECT_NEAR(bullet.angle, volley.angles[n], 1e-12) << bullets[n];
      EXPECT_EQ(bullet.kind, 1);
      EXPECT_EQ(bullet.speed, 3.0);
      EXPECT_EQ(bullet.vx, 3.0 * std::cos(bullet.angle));
    }
  }
}

// The circles' orbit clocks gain 1.0 a call in every stock, active or not.
TEST_F(Stage2Battle, TheCircleClocksRunInEveryStock) {
  for (int stocks : {3, 2, 1}) {
    OnThePath(stocks, 1, 100);
    magicCircles[3].angle = 0.5;
    RunStage2Battle();
    EXPECT_EQ(magicCircles[3].angle, 1.5) << stocks;
    EXPECT_EQ(magicCircles[4].angle, 0.0) << stocks;
  }
}

// Four circles a quarter-turn apart orbit the centre of the call at 100;
// every 20 frames each aims a small bullet at the player, and at 16 of 30
// the needle ring leaves the boss.
TEST_F(Stage2Battle, TheLastStocksCirclesOrbitAndAim) {
  OnThePath(0, 0, 100);
  magicCircles[2] = {.angle = 7.0, .age = 12};
  RunStage2Battle();
  EXPECT_EQ(boss.phase, 1);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(magicCircles[i].active, 1);
    EXPECT_EQ(magicCircles[i].angle, 0.0);
  }
  EXPECT_EQ(magicCircles[2].age, 12);

  boss.patternFrame = 120;  // 121: the aimed shots are due
  boss.x = 300;
  boss.y = 200;
  RunStage2Battle();
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const double theta = i * (kPi / 2) + 1.0 * 0.01570795;
    EXPECT_EQ(magicCircles[i].x, 413.0 + 100.0 * std::cos(theta));
    EXPECT_EQ(magicCircles[i].y, 325.0 + 100.0 * std::sin(theta));
    const BulletRecord& aimed = enemyBulletsA[i];
    EXPECT_EQ(aimed.x, magicCircles[i].x);
    EXPECT_EQ(aimed.kind, 1);
    EXPECT_EQ(aimed.speed, 3.0);
    const double toPlayerX = 441.0 - aimed.x;
    const double toPlayerY = 775.0 - aimed.y;
    EXPECT_NEAR(aimed.vx * toPlayerY - aimed.vy * toPlayerX, 0.0, 1e-9) << "heads at the player";
    EXPECT_GT(aimed.vy, 0.0);
  }
  EXPECT_EQ(Active(enemyBulletsD), 0);

  boss.patternFrame = 135;  // 136: the needle ring
  RunStage2Battle();
  ASSERT_EQ(Active(enemyBulletsD), 32);
  EXPECT_EQ(enemyBulletsD[0].kind, 2);
  EXPECT_EQ(enemyBulletsD[0].angle, kPi / 16);
  EXPECT_EQ(Active(enemyBulletsA), 4);
}

// A stocks value outside 0 to 3 becomes the last stock without its set-up
// in that call; the set-up follows in the next.
TEST_F(Stage2Battle, StocksOutsideZeroToThreeBecomeTheLastStock) {
  for (int stocks : {7, -1}) {
    SCOPED_TRACE(stocks);
    OnThePath(stocks, 0, 100);
    enemyBulletsB[0].active = 1;
    magicCircles[0].active = 0;
    RunStage2Battle();
    EXPECT_EQ(boss.stocks, 0);
    EXPECT_EQ(boss.phase, 0);
    EXPECT_EQ(magicCircles[0].active, 0);
    EXPECT_EQ(enemyBulletsB[0].active, 1);
    EXPECT_EQ(boss.pathTime, 1) << "the boss still moved";
    RunStage2Battle();
    EXPECT_EQ(boss.phase, 1);
    EXPECT_EQ(magicCircles[0].active, 1);
    EXPECT_EQ(enemyBulletsB[0].active, 0);
  }
}

}  // namespace
