// The fourth boss: its fans and random warps, the bursting ring, the sway
// with star fans, and the slower sway with its two circles.
#include <cmath>
#include <vector>

#include "battle_fixture.h"
#include "boss_battles.h"

namespace {

class Stage4Battle : public BattleTest {
 protected:
  // The boss as its stage loader leaves it.
  void SetUp() override {
    BattleTest::SetUp();
    PlacePlayer(422, 751);
    PlaceBossAsLoaded(226, 300, 58, 89);
  }
};

// The fan's arms step the rotating index after their first and fifth
// bullets; the fast bullet's direction comes from the record it takes.
TEST_F(Stage4Battle, TheFirstCallSetsUpAndFiresTheFanAndTheFastBullet) {
  boss.rotatingIndex = 7;
  enemyBulletsC[1500].active = 1;
  for (BulletRecord& bullet : enemyBulletsA) bullet.speed = 7;  // the fan leaves the field alone
  RunStage4Battle();
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(enemyBulletsC[1500].active, 0);
  ASSERT_EQ(Active(enemyBulletsA), 9);
  const int n[] = {0, 11, 21, 31, 6, 17, 27, 37};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const BulletRecord& bullet = enemyBulletsA[i];
    EXPECT_EQ(bullet.kind, 1);
    EXPECT_EQ(bullet.x, 255.0);
    EXPECT_EQ(bullet.y, 344.0);
    EXPECT_EQ(bullet.vx, 3.0 * std::cos(n[i] * kPi / 20));
    EXPECT_EQ(bullet.vy, 3.0 * std::sin(n[i] * kPi / 20));
    EXPECT_EQ(bullet.speed, 7.0);
  }
  EXPECT_EQ(boss.rotatingIndex, 2);
  const BulletRecord& fast = enemyBulletsA[8];
  EXPECT_EQ(fast.vx, 8.0 * std::cos(8 * kPi / 8 + 2));
  EXPECT_EQ(fast.vy, 8.0 * std::sin(8 * kPi / 8 + 2));
  EXPECT_EQ(fast.speed, 7.0);
}

// Volleys every fourth frame; every 120 frames a warp frame that fires
// nothing moves the centre to the next point of the game's random sequence
// and leaves the box where it is.
TEST_F(Stage4Battle, TheFirstStockWarpsEvery120FramesAlongTheRandomSequence) {
  struct Warp {
    int frame;
    double x, y;
  };
  const Warp expected[] = {{122, 191, 228}, {242, 163, 224}, {362, 356, 221}};
  std::vector<Warp> warps;
  std::vector<int> volleys;
  for (int frame = 1; frame <= 370; ++frame) {
    const double centreX = boss.centreX;
    const double centreY = boss.centreY;
    const int before = Active(enemyBulletsA);
    RunStage4Battle();
    if (Active(enemyBulletsA) != before) volleys.push_back(frame);
    if (boss.centreX != centreX || boss.centreY != centreY) warps.push_back({frame, boss.centreX, boss.centreY});
  }
  ASSERT_EQ(warps.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(warps[i].frame, expected[i].frame);
    EXPECT_EQ(warps[i].x, expected[i].x);
    EXPECT_EQ(warps[i].y, expected[i].y);
  }
  ASSERT_EQ(volleys.size(), 93u);
  EXPECT_EQ(volleys[0], 1);
  EXPECT_EQ(volleys[1], 5);
  EXPECT_EQ(volleys[30], 121);
  EXPECT_EQ(volleys[31], 125);  // the warp frame 122 fires nothing
  EXPECT_EQ(boss.x, 226.0);
  EXPECT_EQ(boss.y, 300.0);
  EXPECT_EQ(boss.frameCounter, 370 - 361);
}

// A bullet that finds the pool full is skipped with the index step that
// belongs to it.
TEST_F(Stage4Battle, AFullPoolSkipsTheFansIndexSteps) {
  struct FullCase {
    std::vector<int> freeRecords;
    int indexAfter;
    std::vector<int> arms;  // n of the bullet in each free record, in order
  };
  const FullCase cases[] = {
      {{}, 0, {}},
      {{5}, 1, {0}},
      {{5, 900, 901, 902}, 1, {0, 11, 21, 31}},
      {{5, 900, 901, 902, 903, 1999}, 2, {0, 11, 21, 31, 6, 17}},
  };
  for (const FullCase& full : cases) {
    SCOPED_TRACE(full.freeRecords.size());
    FillPoolExcept(enemyBulletsA, ENEMY_POOL_SIZE, full.freeRecords);
    InStock(3, 1, 0);
    boss.rotatingIndex = 0;
    RunStage4Battle();
    EXPECT_EQ(boss.rotatingIndex, full.indexAfter);
    EXPECT_EQ(Active(enemyBulletsA), ENEMY_POOL_SIZE);
    for (std::size_t k = 0; k < full.arms.size(); ++k) {
      EXPECT_EQ(enemyBulletsA[full.freeRecords[k]].vx, 3.0 * std::cos(full.arms[k] * kPi / 20)) << k;
    }
  }
}

// The second stock stands at a fixed point; its ring bullets restart their
// age and burst into ten small ones in the 60th call counting the one that
// fired them. With pool A full a bullet stays and tries again.
TEST_F(Stage4Battle, TheSecondStocksRingBurstsAtAge60) {
  boss.stocks = 2;
  boss.patternFrame = 39;
  enemyBulletsA[10].active = 1;
  RunStage4Battle();
  EXPECT_EQ(boss.centreX, 441.0);
  EXPECT_EQ(boss.centreY, 220.0);
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(Active(enemyBulletsA) + Active(enemyBulletsD), 0);

  for (BulletRecord& bullet : enemyBulletsD) bullet.age = 50;
  boss.patternFrame = 39;  // 40: the ring
  RunStage4Battle();
  ASSERT_EQ(Active(enemyBulletsD), 40);
  EXPECT_EQ(enemyBulletsD[0].age, 1);
  EXPECT_EQ(enemyBulletsD[1].speed, 4.0);
  EXPECT_EQ(enemyBulletsD[1].vx, 4.0 * std::cos(kPi / 20));
  EXPECT_EQ(enemyBulletsD[1].kind, 0);
  enemyBulletsD[1].x = 300;
  for (int call = 2; call < 60; ++call) RunStage4Battle();
  EXPECT_EQ(Active(enemyBulletsD), 40);
  EXPECT_EQ(Active(enemyBulletsA), 0);

  FillPool(enemyBulletsA, ENEMY_POOL_SIZE);
  for (int i = 0; i < 10; ++i) enemyBulletsA[i] = {};
  RunStage4Battle();  // the 60th call: record 0 bursts, the others find the pool full
  EXPECT_EQ(enemyBulletsD[0].active, 0);
  EXPECT_EQ(enemyBulletsD[0].age, 60);
  EXPECT_EQ(enemyBulletsD[1].active, 1);
  EXPECT_EQ(enemyBulletsD[1].age, 60);
  EXPECT_EQ(enemyBulletsA[3].kind, 1);
  EXPECT_EQ(enemyBulletsA[3].vx, 3.0 * std::cos(3 * (kPi / 5)));

  for (int i = 0; i < 10; ++i) enemyBulletsA[500 + i] = {};
  RunStage4Battle();
  EXPECT_EQ(enemyBulletsD[1].active, 0);
  EXPECT_EQ(enemyBulletsD[1].age, 61);
  EXPECT_EQ(enemyBulletsA[500].x, 300.0);
}

// The sway turns at a centre of 620 or 200; a turning frame fires nothing
// and does not turn spinAngle.
TEST_F(Stage4Battle, TheThirdStockSwaysAndFiresStarFans) {
  const SwayCase cases[] = {
      {1, 590.5, 591, 0, false}, {0, 171.5, 171, 1, false}, {0, 172, 171.5, 0, true},
      {2, 300, 300, 2, true},    {1, 590, 590.5, 1, true},
  };
  for (const SwayCase& sway : cases) {
    SCOPED_TRACE(sway);
    Zero(enemyBulletsA);
    enemyBulletsA[1999] = {.angle = 1.0, .active = 1};
    StartSway(sway);
    InStock(1, 1, 3);  // the fan is due at 4
    spinAngle = 0.5;
    RunStage4Battle();
    ExpectSwayed(sway);
    EXPECT_EQ(Active(enemyBulletsA), sway.fires ? 9 : 1);
    EXPECT_EQ(spinAngle, sway.fires ? 0.5 + kPi / 100 : 0.5);
    EXPECT_EQ(enemyBulletsA[1999].angle, sway.fires ? 1.1 : 1.0);
  }
  const int kinds[] = {3, 2, 2, 3, 3, 3, 2, 2};
  for (int k = 1; k <= 8; ++k) {
    const BulletRecord& star = enemyBulletsA[k - 1];
    EXPECT_EQ(star.kind, kinds[k - 1]) << k;
    EXPECT_EQ(star.speed, 2.5);
    EXPECT_EQ(star.vx, 2.5 * std::cos(0.5 + kPi / 100 + k * (kPi / 4))) << k;
    EXPECT_EQ(star.x, 590.5 + 29);  // the centre after the sway
  }
}

// Its pool D ring comes at 49 of 50 and never bursts.
TEST_F(Stage4Battle, TheThirdStocksRingNeverBursts) {
  boss.stocks = 1;
  boss.swayDirection = 2;
  boss.centreX = 300;
  boss.centreY = 344;
  RunStage4Battle();
  EXPECT_EQ(boss.phase, 1);
  boss.patternFrame = 48;
  enemyBulletsD[0].age = 70;
  RunStage4Battle();
  ASSERT_EQ(Active(enemyBulletsD), 30);
  EXPECT_EQ(enemyBulletsD[2].vx, 3.0 * std::cos(2 * (kPi / 15)));
  for (int call = 0; call < 100; ++call) RunStage4Battle();
  EXPECT_EQ(Active(enemyBulletsD), 30 * 3);
  EXPECT_EQ(enemyBulletsD[0].age, 0);
}

// The circles stand either side of the centre as it was before the sway;
// a falling bullet sweeps across the centre, the left fan is the right one
// mirrored, and the stars turn between the two fans.
TEST_F(Stage4Battle, TheLastStockSweepsAndFiresMirroredStarFans) {
  boss.stocks = 0;
  boss.swayDirection = 1;
  boss.rotatingIndex = 40;  // left by the first stock: no wrap here
  RunStage4Battle();
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(magicCircles[0].active, 1);
  EXPECT_EQ(magicCircles[0].x, 355.0);
  EXPECT_EQ(magicCircles[1].x, 155.0);
  EXPECT_DOUBLE_EQ(boss.x, 226.3);

  const double centreBefore = boss.centreX;
  spinAngle = 0.25;
  boss.patternFrame = 10;
  RunStage4Battle();
  EXPECT_EQ(magicCircles[0].x, centreBefore + 100);
  EXPECT_EQ(boss.rotatingIndex, 41);
  ASSERT_EQ(Active(enemyBulletsA), 17);
  const BulletRecord& falling = enemyBulletsA[0];
  EXPECT_EQ(falling.x, boss.centreX + 100 * std::cos(40 * (kPi / 10)));
  EXPECT_EQ(falling.vx, 0.0);
  EXPECT_EQ(falling.vy, 4.0);
  EXPECT_EQ(falling.speed, 0.0);
  const double spin = 0.25 + kPi / 100;
  for (int k = 1; k <= 8; ++k) {
    SCOPED_TRACE(k);
    const BulletRecord& right = enemyBulletsA[k];
    const BulletRecord& left = enemyBulletsA[8 + k];
    const double theta = spin + k * (kPi / 4);
    EXPECT_EQ(right.kind, 4);
    EXPECT_EQ(right.vx, 2.5 * std::cos(theta));
    EXPECT_EQ(right.angle, 0.1);
    EXPECT_EQ(left.kind, 2);
    EXPECT_EQ(left.vx, -2.5 * std::cos(theta));
    EXPECT_EQ(left.vy, 2.5 * std::sin(theta));
    EXPECT_EQ(left.angle, 0.0);
    EXPECT_EQ(left.x, centreBefore - 100);
  }

  // The sweep: a step of the cosine per volley, across 100 either side.
  struct SweepCase {
    int index;
    double offset;
  };
  for (const SweepCase& sweep : {SweepCase{0, 100}, SweepCase{5, 0}, SweepCase{10, -100}, SweepCase{20, 100}}) {
    enemyBulletsA[0] = {};
    boss.rotatingIndex = sweep.index;
    boss.patternFrame = 10;
    boss.swayDirection = 2;
    RunStage4Battle();
    EXPECT_NEAR(enemyBulletsA[0].x - boss.centreX, sweep.offset, 1e-3) << sweep.index;
  }
}

TEST_F(Stage4Battle, StocksOutsideZeroToThreeFireNothing) {
  for (int stocks : {4, -1}) {
    boss.stocks = stocks;
    boss.patternFrame = 0;
    RunStage4Battle();
    EXPECT_EQ(boss.stocks, stocks);
    EXPECT_EQ(boss.phase, 0);
    EXPECT_EQ(boss.patternFrame, 1);
  }
  EXPECT_EQ(Active(enemyBulletsA), 0);
}

}  // namespace
