// The fifth boss: homing bullets that burst by stock, the turning fans,
// and the last stock's circles that follow the player.
#include <cmath>

#include "battle_fixture.h"
#include "boss_battles.h"
#include "boss_patterns.h"

namespace {

class Stage5Battle : public BattleTest {
 protected:
  // The boss as its stage loader leaves it; circles 0 and 1 in the top
  // corners, as the second stock leaves them.
  void SetUp() override {
    BattleTest::SetUp();
    PlacePlayer(422, 751);  // centre (441, 775)
    PlaceBossAsLoaded(287, 222, 226, 251);
    magicCircles[0] = {.x = 25, .y = 176};
    magicCircles[1] = {.x = 857, .y = 176};
  }
};

// Each stock's homing bullets burst in the call in which they reach the
// stock's age, counting the one that fired them, into its ring; the record
// keeps its age. A free record is neither counted nor tested.
TEST_F(Stage5Battle, HomingBulletsBurstByTheStocksTable) {
  struct BurstCase {
    int stocks;
    int age;
    int count;
    double step;
    double speed;
    int shotsPerVolley;
    Point origin;
  };
  const BurstCase cases[] = {
      {3, 120, 8, kPi / 4, 3.0, 1, {400, 347}},
      {2, 90, 10, kPi / 5, 2.0, 2, {25, 176}},
      {1, 90, 20, kPi / 10, 2.0, 2, {25, 176}},
  };
  for (const BurstCase& burst : cases) {
    SCOPED_TRACE(burst.stocks);
    Zero(enemyBulletsA, enemyBulletsC);
    enemyBulletsC[1999] = {.age = 500};
    InStock(burst.stocks, 1, 0);
    int calls = 0;
    do {
      RunStage5Battle();
      ++calls;
    } while (enemyBulletsC[0].active == 1 && calls < 200);
    EXPECT_EQ(calls, burst.age);
    EXPECT_EQ(enemyBulletsC[0].age, burst.age);
    EXPECT_EQ(enemyBulletsC[1999].age, 500);
    ASSERT_EQ(Active(enemyBulletsA), burst.count * burst.shotsPerVolley);
    for (int i = 0; i < burst.count; ++i) {
      const BulletRecord& bullet = enemyBulletsA[i];
      EXPECT_EQ(bullet.kind, 1);
      EXPECT_EQ(bullet.speed, burst.speed);
      EXPECT_EQ(bullet.vx, burst.speed * std::cos(i * burst.step)) << i;
      EXPECT_EQ(bullet.x, burst.origin.x);
      EXPECT_EQ(bullet.y, burst.origin.y);
    }
    EXPECT_EQ(boss.centreX, 400.0);
    EXPECT_EQ(boss.centreY, 347.0);
  }
}

TEST_F(Stage5Battle, TheFirstStockSetsUpThenFiresHomingShots) {
  boss.rotatingIndex = 5;
  boss.patternFrame = 40;  // left by the stage before
  enemyBulletsB[7].active = 1;
  RunStage5Battle();
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(boss.rotatingIndex, 0);
  EXPECT_EQ(enemyBulletsB[7].active, 1);  // nothing is cleared
  EXPECT_EQ(Active(enemyBulletsC), 0);    // the set-up frame fires nothing
  boss.patternFrame = 40;
  enemyBulletsC[0].age = 33;
  RunStage5Battle();
  ASSERT_EQ(Active(enemyBulletsC), 1);
  const BulletRecord& homing = enemyBulletsC[0];
  const double aim = std::atan2(347.0 - 775, 400.0 - 441);
  EXPECT_EQ(homing.kind, 1);
  EXPECT_EQ(homing.speed, 4.0);
  EXPECT_EQ(homing.age, 1);
  EXPECT_EQ(homing.angle, aim);
  EXPECT_NEAR(homing.vx, -4 * std::cos(aim), 1e-12);
  EXPECT_NEAR(homing.vy, -4 * std::sin(aim), 1e-12);
  boss.phase = 5;
  RunStage5Battle();
  EXPECT_EQ(boss.phase, 0);
}

// A burst into a full pool A still frees its homing bullet.
TEST_F(Stage5Battle, ABurstIntoAFullPoolLosesItsBullets) {
  FillPool(enemyBulletsA, ENEMY_POOL_SIZE);
  enemyBulletsC[3] = {.x = 100, .y = 200, .age = 119, .active = 1};
  boss.phase = 1;
  boss.patternFrame = 1;
  RunStage5Battle();
  EXPECT_EQ(enemyBulletsC[3].active, 0);
  EXPECT_EQ(enemyBulletsC[3].age, 120);
  EXPECT_EQ(enemyBulletsA[0].x, 0.0);
}

// The long bullets fan out at spinAngle, which turns every frame of the
// second and third stocks; the third adds a fan turning the other way.
TEST_F(Stage5Battle, TheMiddleStocksFireSpinningFans) {
  struct FanCase {
    int stocks;
    int count;
  };
  for (const FanCase fan : {FanCase{2, 4}, FanCase{1, 8}}) {
    SCOPED_TRACE(fan.stocks);
    Zero(enemyBulletsD);
    InStock(fan.stocks, 1, 8);
    spinAngle = 0.1;
    RunStage5Battle();
    const double spin = 0.1 + kPi / 150;
    EXPECT_EQ(spinAngle, spin);
    ASSERT_EQ(Active(enemyBulletsD), fan.count);
    for (int i = 0; i < fan.count; ++i) {
      const int k = i % 4 + 1;
      const double theta = i < 4 ? spin + k * (kPi / 2) : -spin + k * (kPi / 2);
      const BulletRecord& bullet = enemyBulletsD[i];
      EXPECT_EQ(bullet.kind, 1);
      EXPECT_EQ(bullet.angle, theta) << i;
      EXPECT_EQ(bullet.vx, 5.0 * std::cos(theta)) << i;
      EXPECT_EQ(bullet.x, 400.0);
    }
    boss.phase = 0;
    RunStage5Battle();
    EXPECT_EQ(boss.phase, 1);
    EXPECT_EQ(Active(enemyBulletsD), 0);
  }
}

// The second stock puts circles 0 and 1 in the top corners and fires its
// homing pairs from there; the third leaves them and fires from where they
// stand.
TEST_F(Stage5Battle, TheCornerCirclesFireTheHomingPairs) {
  boss.stocks = 2;
  magicCircles[0] = {.x = 1, .y = 1};
  RunStage5Battle();
  EXPECT_EQ(magicCircles[0].x, 25.0);
  EXPECT_EQ(magicCircles[1].x, 857.0);
  EXPECT_EQ(magicCircles[0].active, 1);
  boss.patternFrame = 30;
  RunStage5Battle();
  ASSERT_EQ(Active(enemyBulletsC), 2);
  EXPECT_EQ(enemyBulletsC[1].x, 857.0);

  boss.stocks = 1;
  boss.phase = 0;
  magicCircles[1] = {.x = 600, .y = 250, .active = 1};
  RunStage5Battle();
  boss.patternFrame = 30;
  RunStage5Battle();
  ASSERT_EQ(Active(enemyBulletsC), 2);
  EXPECT_EQ(enemyBulletsC[1].x, 600.0);
  EXPECT_EQ(magicCircles[1].x, 600.0);
}

// In the last stock circles 2 and 3 follow the player along the top and
// left edges; aimed rings of needles come from the corner circles, and a
// bullet falls down the player's column and one crosses its row.
TEST_F(Stage5Battle, TheLastStocksCirclesFollowThePlayer) {
  boss.stocks = 0;
  enemyBulletsA[9].active = 1;
  RunStage5Battle();
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(enemyBulletsA[9].active, 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(magicCircles[i].active, 1) << i;
  EXPECT_EQ(magicCircles[2].x, 441.0);
  EXPECT_EQ(magicCircles[2].y, 176.0);
  EXPECT_EQ(magicCircles[3].x, 25.0);
  EXPECT_EQ(magicCircles[3].y, 775.0);

  PlacePlayer(300, 500);  // centre (319, 524)
  boss.patternFrame = 15;
  RunStage5Battle();
  EXPECT_EQ(magicCircles[2].x, 319.0);
  EXPECT_EQ(magicCircles[3].y, 524.0);
  ASSERT_EQ(Active(enemyBulletsD), 64);
  for (int circle : {0, 1}) {
    SCOPED_TRACE(circle);
    const BulletRecord& away = enemyBulletsD[32 * circle];
    const BulletRecord& at = enemyBulletsD[32 * circle + 16];
    const double aim = std::atan2(176.0 - 524, magicCircles[circle].x - 319);
    EXPECT_EQ(away.angle, aim);
    EXPECT_EQ(away.kind, 2);
    EXPECT_EQ(away.speed, 5.0);
    EXPECT_EQ(at.angle, 16 * (kPi / 16) + aim);
    // Bullet 16 heads at the player, within the rounding of the pi used.
    const double toPlayer = std::atan2(524 - at.y, 319 - at.x);
    EXPECT_NEAR(std::atan2(at.vy, at.vx), toPlayer, 1e-5);
  }

  enemyBulletsB[0].angle = 2.0;
  boss.patternFrame = 20;
  RunStage5Battle();
  ASSERT_EQ(Active(enemyBulletsB), 2);
  const BulletRecord& falling = enemyBulletsB[0];
  const BulletRecord& crossing = enemyBulletsB[1];
  EXPECT_EQ(falling.x, 319.0);
  EXPECT_EQ(falling.y, 176.0);
  EXPECT_EQ(falling.vx, 0.0);
  EXPECT_EQ(falling.vy, 3.0);
  EXPECT_EQ(crossing.x, 25.0);
  EXPECT_EQ(crossing.y, 524.0);
  EXPECT_EQ(crossing.vx, 3.0);
  EXPECT_EQ(crossing.vy, 0.0);
  for (const BulletRecord* bullet : {&falling, &crossing}) {
    EXPECT_EQ(bullet->kind, 2);
    EXPECT_EQ(bullet->speed, 3.0);
    EXPECT_EQ(bullet->angle, 0.0);
  }
}

// A stocks value outside 0 to 3 becomes 0 and the frame does nothing else;
// the last stock starts in the phase that stood.
TEST_F(Stage5Battle, StocksOutsideZeroToThreeBecomeTheLastStock) {
  for (int stocks : {4, -1}) {
    SCOPED_TRACE(stocks);
    boss.stocks = stocks;
    boss.phase = 0;
    magicCircles[2] = {};
    RunStage5Battle();
    EXPECT_EQ(boss.stocks, 0);
    EXPECT_EQ(boss.phase, 0);
    EXPECT_EQ(magicCircles[2].x, 0.0);
    EXPECT_EQ(magicCircles[2].active, 0);
    RunStage5Battle();
    EXPECT_EQ(boss.phase, 1);
    EXPECT_EQ(magicCircles[2].active, 1);
  }
}

}  // namespace
