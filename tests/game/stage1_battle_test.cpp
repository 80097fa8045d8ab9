// The first boss: its sway, and what each stock fires when.
#include <cmath>

#include "battle_fixture.h"
#include "boss_battles.h"

namespace {

class Stage1Battle : public BattleTest {
 protected:
  // The boss as the stage loader leaves it; sway direction 2 holds it still
  // so that the patterns' timing is not cut by a turn.
  void SetUp() override {
    BattleTest::SetUp();
    PlacePlayer(422, 751);
    PlaceBossAsLoaded(414, 255, 55, 94);
    boss.swayDirection = 2;
  }
};

TEST_F(Stage1Battle, TheFirstCallSetsUpAndFiresTheRingAndTheStream) {
  boss.swayDirection = 0;
  boss.rotatingIndex = 7;
  enemyBulletsC[1500].active = 1;
  RunStage1Battle();
  EXPECT_EQ(boss.x, 413.0);
  EXPECT_EQ(boss.centreX, 440.0);
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(boss.rotatingIndex, 0);
  EXPECT_EQ(enemyBulletsC[1500].active, 0);
  ASSERT_EQ(Active(enemyBulletsB), 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(enemyBulletsB[i].x, 440.0);
    EXPECT_EQ(enemyBulletsB[i].y, 302.0);
    EXPECT_EQ(enemyBulletsB[i].vx, 3.0 * std::cos(i * (kPi / 6))) << i;
    EXPECT_EQ(enemyBulletsB[i].kind, 0);
  }
  ASSERT_EQ(Active(enemyBulletsA), 1);
  EXPECT_EQ(enemyBulletsA[0].kind, 1);
  EXPECT_EQ(enemyBulletsA[0].vx, 5.0 * std::cos(1.570795));
  EXPECT_EQ(enemyBulletsA[0].vy, 5.0 * std::sin(1.570795));
}

// The centre travels between 250 and 550; in a turning frame nothing else
// happens, not even a ring that is due.
TEST_F(Stage1Battle, NothingFiresInTheFrameTheSwayTurns) {
  const SwayCase cases[] = {
      {1, 522, 523, 0, false}, {1, 521, 522, 1, true}, {0, 224, 223, 1, false},
      {0, 225, 224, 0, true},  {2, 300, 300, 2, true},
  };
  for (const SwayCase& sway : cases) {
    SCOPED_TRACE(sway);
    FreePool(enemyBulletsB);
    StartSway(sway);
    boss.phase = 1;
    boss.patternFrame = 60;  // the ring is due at 61
    boss.frameCounter = 0;
    RunStage1Battle();
    ExpectSwayed(sway);
    EXPECT_EQ(Active(enemyBulletsB), sway.fires ? 12 : 0);
    EXPECT_EQ(boss.patternFrame, 61);
    EXPECT_EQ(boss.frameCounter, 1);
  }
}

// The frame in which f passes 300 still runs the rings and the stream; the
// spiral starts in the next.
TEST_F(Stage1Battle, TheFirstStockTurnsToTheSpiralAfter300Frames) {
  boss.phase = 1;
  boss.patternFrame = 300;
  RunStage1Battle();
  EXPECT_EQ(boss.phase, 2);
  EXPECT_EQ(Active(enemyBulletsB), 12);
  EXPECT_EQ(Active(enemyBulletsA), 1);
  RunStage1Battle();
  EXPECT_EQ(Active(enemyBulletsA), 1 + 4);
  EXPECT_EQ(boss.volleyCount, 1);
  EXPECT_EQ(boss.rotatingIndex, 4);
}

TEST_F(Stage1Battle, TheSpiralLasts60FramesThenTheRingsStartOver) {
  boss.phase = 2;
  for (int frame = 1; frame < 60; ++frame) RunStage1Battle();
  EXPECT_EQ(boss.phase, 2);
  RunStage1Battle();
  EXPECT_EQ(Active(enemyBulletsA), 240);
  EXPECT_EQ(boss.rotatingIndex, 0);
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(boss.patternFrame, 0);
  EXPECT_EQ(boss.volleyCount, 0);
  boss.phase = 9;  // an unknown phase starts the stock over
  RunStage1Battle();
  EXPECT_EQ(boss.phase, 0);
}

// The second stock's bursts count on from what the first stock left.
TEST_F(Stage1Battle, TheSecondStockFiresTheSpiralInBursts) {
  boss.stocks = 2;
  boss.phase = 0;
  boss.volleyCount = 59;
  enemyBulletsA[3].active = 1;
  RunStage1Battle();
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(Active(enemyBulletsA), 0);
  EXPECT_EQ(boss.volleyCount, 59);

  struct BurstCase {
    int volley, fired, volleyAfter;
  };
  const BurstCase cases[] = {{59, 4, 60}, {0, 4, 1}, {178, 4, 179}, {179, 0, 180}, {358, 0, 359}, {359, 0, 0}};
  for (const BurstCase& burst : cases) {
    SCOPED_TRACE(burst.volley);
    FreePool(enemyBulletsA);
    boss.volleyCount = burst.volley;
    RunStage1Battle();
    EXPECT_EQ(Active(enemyBulletsA), burst.fired);
    EXPECT_EQ(boss.volleyCount, burst.volleyAfter);
  }
}

// A large bullet turns into an aimed one in the 60th call counting the one
// that fired it; the ring bullets come at 31 of 90.
TEST_F(Stage1Battle, TheThirdStocksLargeBulletsTurnIntoAimedOnesAtAge60) {
  InStock(1, 1, 90);
  enemyBulletsA[0] = {.kind = 3, .x = 1, .y = 1, .active = 1};  // overwritten by the conversion
  int calls = 0;
  do {
    RunStage1Battle();
    ++calls;
  } while (enemyBulletsB[0].active == 1 && calls < 100);
  EXPECT_EQ(calls, 60);
  EXPECT_EQ(Active(enemyBulletsB), 0);
  EXPECT_EQ(Active(enemyBulletsD), 40);
  EXPECT_EQ(Active(enemyBulletsA), 40);
  const BulletRecord& aimed = enemyBulletsA[0];
  EXPECT_EQ(aimed.kind, 1);
  EXPECT_EQ(aimed.speed, 6.0);
  EXPECT_EQ(aimed.x, 441.0);
  // From (441, 302) toward the player's centre (441, 775): straight down.
  EXPECT_NEAR(aimed.vx, 0.0, 1e-12);
  EXPECT_NEAR(aimed.vy, 6.0, 1e-12);
}

// A record freed at age 59 keeps its age: reused by the ring, it reaches
// 60 in the call that fires it.
TEST_F(Stage1Battle, AReusedLargeBulletConvertsByItsOldAge) {
  InStock(1, 1, 90);
  enemyBulletsB[0].age = 59;
  RunStage1Battle();
  EXPECT_EQ(enemyBulletsB[0].active, 0);
  EXPECT_EQ(enemyBulletsA[0].active, 1);
  EXPECT_EQ(enemyBulletsB[1].age, 1);
  EXPECT_EQ(Active(enemyBulletsB), 39);
}

// The last stock: circles either side of the boss; five large rings, then
// ten double rings from the circles, during which pool B does not age.
TEST_F(Stage1Battle, TheLastStockAlternatesLargeRingsAndCircleRings) {
  boss.stocks = 0;
  boss.phase = 0;
  boss.volleyCount = 3;
  magicCircles[0].angle = 0.7;
  RunStage1Battle();
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(boss.volleyCount, 0);
  EXPECT_EQ(magicCircles[0].active, 1);
  EXPECT_EQ(magicCircles[1].active, 1);
  EXPECT_EQ(magicCircles[0].angle, 0.7);
  EXPECT_EQ(magicCircles[0].x, 591.0);
  EXPECT_EQ(magicCircles[1].x, 291.0);
  EXPECT_EQ(magicCircles[1].y, 272.0);

  boss.volleyCount = 4;
  boss.patternFrame = 90;
  RunStage1Battle();
  EXPECT_EQ(boss.volleyCount, 5);
  EXPECT_EQ(Active(enemyBulletsB), 24);
  EXPECT_EQ(enemyBulletsB[1].vx, 2.0 * std::cos(kPi / 12));
  RunStage1Battle();
  EXPECT_EQ(boss.phase, 2);
  EXPECT_EQ(boss.volleyCount, 0);

  boss.patternFrame = 100;  // 101: a double ring is due
  magicCircles[0].x = 0;    // placed anew before the pattern runs
  const int ageBefore = enemyBulletsB[0].age;
  RunStage1Battle();
  EXPECT_EQ(boss.volleyCount, 1);
  EXPECT_EQ(Active(enemyBulletsD), 80);
  EXPECT_EQ(enemyBulletsD[0].x, 591.0);
  EXPECT_EQ(enemyBulletsD[40].x, 291.0);
  EXPECT_EQ(enemyBulletsB[0].age, ageBefore);

  boss.volleyCount = 10;
  RunStage1Battle();
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(boss.volleyCount, 0);
}

TEST_F(Stage1Battle, StocksOutsideZeroToThreeFireNothing) {
  for (int stocks : {4, -1}) {
    InStock(stocks, 0, 60);
    RunStage1Battle();
    EXPECT_EQ(boss.phase, 0) << stocks;
    EXPECT_EQ(boss.patternFrame, 61) << stocks;
  }
  EXPECT_EQ(Active(enemyBulletsA) + Active(enemyBulletsB) + Active(enemyBulletsD), 0);
}

}  // namespace
