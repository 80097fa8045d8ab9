// The final boss: twin rings that burst, circles flying to the corners,
// the columns that take turns, and the aimed burst that waits for room.
#include <cmath>

#include "battle_fixture.h"
#include "boss_battles.h"
#include "boss_patterns.h"
#include "bullet_pools.h"

namespace {

constexpr Point kLeftSide{341, 282};
constexpr Point kRightSide{541, 282};

class Stage6Battle : public BattleTest {
 protected:
  // The boss at the start geometry where the dialogue leaves it.
  void SetUp() override {
    BattleTest::SetUp();
    PlacePlayer(422, 751);  // centre (441, 775)
    PlaceBossAsLoaded(414, 255, 55, 94);
  }

  static void ExpectAt(int circle, Point at) {
    EXPECT_EQ(magicCircles[circle].x, at.x) << circle;
    EXPECT_EQ(magicCircles[circle].y, at.y) << circle;
  }
};

// Twin rings from beside the boss; a large bullet bursts into eight small
// ones at age 60, or sooner when its record kept an age from before.
TEST_F(Stage6Battle, TheFirstStocksTwinRingsBurstAtAge60) {
  enemyBulletsD[4].active = 1;
  RunStage6Battle();
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(enemyBulletsD[4].active, 0);
  ExpectAt(0, kLeftSide);
  ExpectAt(1, kRightSide);
  ExpectAt(2, {441, 302});
  ExpectAt(3, {441, 302});
  for (int i : {0, 1}) {
    EXPECT_EQ(magicCircles[i].active, 1);
    EXPECT_EQ(magicCircles[i].moveMode, 1);
  }
  EXPECT_EQ(magicCircles[2].active, 0);
  EXPECT_EQ(Active(enemyBulletsB), 0);

  boss.patternFrame = 0;
  enemyBulletsB[5].age = 50;  // freed by a bomb at that age
  RunStage6Battle();
  ASSERT_EQ(Active(enemyBulletsB), 24);
  EXPECT_EQ(enemyBulletsB[11].x, 341.0);
  EXPECT_EQ(enemyBulletsB[12].x, 541.0);
  EXPECT_EQ(enemyBulletsB[13].vx, 3.0 * std::cos(1 * (kPi / 6)));
  int calls = 1;
  while (enemyBulletsB[0].active == 1 && calls < 100) {
    RunStage6Battle();
    ++calls;
    if (calls == 10) {
      EXPECT_EQ(enemyBulletsB[5].active, 0);
      EXPECT_EQ(Active(enemyBulletsA), 8);
    }
  }
  EXPECT_EQ(calls, 60);
  EXPECT_EQ(enemyBulletsB[0].age, 0);
  ASSERT_EQ(Active(enemyBulletsA), 24 * 8);
  const BulletRecord& small = enemyBulletsA[8 + 3];
  EXPECT_EQ(small.kind, 1);
  EXPECT_EQ(small.speed, 3.0);
  EXPECT_EQ(small.vx, 3.0 * std::cos(3 * (kPi / 4)));
  EXPECT_EQ(small.x, 341.0);
}

// Circles 0 and 1 fly from beside the boss to the top corners, circles 2
// and 3 from its centre to the bottom ones; each that arrives steps to and
// fro across its corner until its 90th frame of flight stops it.
TEST_F(Stage6Battle, CirclesFlyToTheCornersJitterAndStop) {
  RunStage6Battle();
  boss.stocks = 2;
  boss.phase = 0;
  magicCircles[19].kind = 77;
  Frames(RunStage6Battle, 1);
  EXPECT_EQ(magicCircles[19].kind, CirclePicture());
  for (int i : {0, 1, 4, 5}) EXPECT_EQ(magicCircles[i].active, 1) << i;
  EXPECT_EQ(magicCircles[0].moveMode, 0);
  ExpectAt(4, kLeftSide);
  ExpectAt(5, kRightSide);

  struct Flight {
    int circle;
    Point corner;
  };
  const auto fly = [](std::initializer_list<Flight> flights) {
    bool crossed[4] = {};
    double lastSide[4] = {};
    Point stopped[4] = {};
    for (int frame = 2; frame <= 100; ++frame) {
      Frames(RunStage6Battle, 1);
      for (const Flight& flight : flights) {
        const BulletRecord& circle = magicCircles[flight.circle];
        const double side = circle.x - flight.corner.x;
        if (frame > 84 && frame <= 91) {  // all have arrived by then
          EXPECT_LE(std::hypot(side, circle.y - flight.corner.y), 8.0) << flight.circle << " frame " << frame;
          crossed[flight.circle] |= side * lastSide[flight.circle] < 0;
        }
        lastSide[flight.circle] = side;
        if (frame == 91) stopped[flight.circle] = {circle.x, circle.y};
      }
    }
    for (const Flight& flight : flights) {
      SCOPED_TRACE(flight.circle);
      EXPECT_TRUE(crossed[flight.circle]);
      EXPECT_EQ(magicCircles[flight.circle].moveMode, 1);
      ExpectAt(flight.circle, stopped[flight.circle]);
    }
  };
  fly({{0, {25, 176}}, {1, {857, 176}}});
  ExpectAt(4, kLeftSide);
  ExpectAt(5, kRightSide);

  boss.stocks = 1;
  boss.phase = 0;
  Frames(RunStage6Battle, 1);
  ExpectAt(2, {441, 302});
  EXPECT_EQ(magicCircles[2].active, 1);
  const Point topCorners[] = {{magicCircles[0].x, magicCircles[0].y}, {magicCircles[1].x, magicCircles[1].y}};
  fly({{2, {857, 800}}, {3, {25, 800}}});
  ExpectAt(0, topCorners[0]);
  ExpectAt(1, topCorners[1]);
}

TEST_F(Stage6Battle, TheSecondStockFiresAimedPairsAndCornerFans) {
  boss.stocks = 2;
  boss.phase = 1;
  magicCircles[0] = {.x = 25, .y = 176, .active = 1};
  magicCircles[1] = {.x = 857, .y = 176, .active = 1};
  enemyBulletsD[0].kind = 2;  // last carried a fan bullet
  RunStage6Battle();
  ASSERT_EQ(Active(enemyBulletsD), 12);
  const double fromLeft = std::atan2(282.0 - 775, 341.0 - 441);
  EXPECT_EQ(enemyBulletsD[0].x, 341.0);
  EXPECT_EQ(enemyBulletsD[0].kind, 2);
  EXPECT_EQ(enemyBulletsD[0].angle, fromLeft);
  EXPECT_EQ(enemyBulletsD[0].speed, 3.0);
  EXPECT_NEAR(enemyBulletsD[0].vx, -3 * std::cos(fromLeft), 1e-12);
  EXPECT_NEAR(enemyBulletsD[0].vy, -3 * std::sin(fromLeft), 1e-12);
  EXPECT_EQ(enemyBulletsD[1].x, 541.0);
  EXPECT_EQ(enemyBulletsD[1].kind, 0);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const BulletRecord& left = enemyBulletsD[2 + i];
    const BulletRecord& right = enemyBulletsD[7 + i];
    EXPECT_EQ(left.kind, 2);
    EXPECT_EQ(left.x, 25.0);
    EXPECT_EQ(left.angle, i * (kPi / 10));
    EXPECT_EQ(right.x, 857.0);
    EXPECT_EQ(right.angle, i * (kPi / 10) + kPi / 2);
    EXPECT_EQ(right.vy, 3.0 * std::sin(i * (kPi / 10) + kPi / 2));
  }
}

// The third stock's homing shots come from circles 4 and 5 and die at age
// 120 without bursting; the corner fans point into the playfield.
TEST_F(Stage6Battle, TheThirdStocksHomingShotsDieAndCornerFansPointInward) {
  boss.stocks = 1;
  boss.phase = 1;
  const Point corners[] = {{25, 176}, {857, 176}, {857, 800}, {25, 800}};
  for (int i = 0; i < 4; ++i) magicCircles[i] = {.x = corners[i].x, .y = corners[i].y, .active = 1, .moveMode = 1};
  magicCircles[4] = {.x = kLeftSide.x, .y = kLeftSide.y, .active = 1};
  magicCircles[5] = {.x = kRightSide.x, .y = kRightSide.y, .active = 1};
  RunStage6Battle();
  ASSERT_EQ(Active(enemyBulletsC), 2);
  EXPECT_EQ(enemyBulletsC[0].x, 341.0);
  EXPECT_EQ(enemyBulletsC[1].x, 541.0);
  EXPECT_EQ(enemyBulletsC[1].age, 1);
  ASSERT_EQ(Active(enemyBulletsA), 12);
  struct FanCase {
    int circle;
    double offset;
    double step;
  };
  const FanCase fans[] = {{1, kPi / 2, kPi / 10}, {0, 0, kPi / 10}, {2, kPi, kPi / 10}, {3, 0, -(kPi / 10)}};
  int record = 0;
  for (const FanCase& fan : fans) {
    for (int i = 1; i <= 3; ++i, ++record) {
      SCOPED_TRACE(record);
      const BulletRecord& bullet = enemyBulletsA[record];
      const double theta = fan.offset + i * fan.step;
      EXPECT_EQ(bullet.x, corners[fan.circle].x);
      EXPECT_EQ(bullet.kind, 1);
      EXPECT_EQ(bullet.vx, 3.0 * std::cos(theta));
      EXPECT_EQ(bullet.vy, 3.0 * std::sin(theta));
      // Inward: away from the corner's edges.
      EXPECT_EQ(bullet.vx > 0, corners[fan.circle].x < 441);
      EXPECT_EQ(bullet.vy > 0, corners[fan.circle].y < 441);
    }
  }

  enemyBulletsC[0].age = 119;
  boss.patternFrame = 1;
  RunStage6Battle();
  EXPECT_EQ(enemyBulletsC[0].active, 0);
  EXPECT_EQ(enemyBulletsC[0].age, 120);
  EXPECT_EQ(enemyBulletsC[1].active, 1);
  EXPECT_EQ(Active(enemyBulletsA), 12);
}

// The last stock's columns take turns: 300 frames each, the count and the
// toggle going on from wherever they stood; the switching frame still
// fires from the column that was selected.
TEST_F(Stage6Battle, TheLastStocksColumnsTakeTurns) {
  boss.stocks = 0;
  RunStage6Battle();
  EXPECT_EQ(boss.phase, 1);
  const double leftY[] = {300, 424, 548, 672, 796};
  const double rightY[] = {362, 486, 610, 734};
  for (int i = 0; i < 5; ++i) ExpectAt(i, {30, leftY[i]});
  for (int i = 0; i < 4; ++i) ExpectAt(5 + i, {852, rightY[i]});
  for (int i = 0; i <= 8; ++i) {
    EXPECT_EQ(magicCircles[i].active, 1) << i;
    EXPECT_EQ(magicCircles[i].moveMode, 1) << i;
  }

  struct ColumnCase {
    int toggle, volley, frame;
    int toggleAfter, volleyAfter;
    int fired;  // 5 the left column, 4 the right one
    double vx;
  };
  const ColumnCase cases[] = {
      {0, 0, 10, 0, 1, 4, -4},  {0, 298, 10, 0, 299, 4, -4}, {0, 299, 10, 1, 0, 4, -4}, {1, 5, 10, 1, 6, 5, 4},
      {1, 299, 10, 0, 0, 5, 4}, {0, 5, 11, 0, 6, 0, 0},      {2, 5, 10, 2, 5, 0, 0},
  };
  for (const ColumnCase& column : cases) {
    SCOPED_TRACE(testing::Message() << "toggle " << column.toggle << " volley " << column.volley);
    Zero(enemyBulletsA);
    boss.groupToggle = column.toggle;
    boss.volleyCount = column.volley;
    boss.patternFrame = column.frame;
    RunStage6Battle();
    EXPECT_EQ(boss.groupToggle, column.toggleAfter);
    EXPECT_EQ(boss.volleyCount, column.volleyAfter);
    ASSERT_EQ(Active(enemyBulletsA), column.fired);
    for (int i = 0; i < column.fired; ++i) {
      const BulletRecord& bullet = enemyBulletsA[i];
      EXPECT_EQ(bullet.x, column.fired == 5 ? 30.0 : 852.0);
      EXPECT_EQ(bullet.y, column.fired == 5 ? leftY[i] : rightY[i]);
      EXPECT_EQ(bullet.vx, column.vx);
      EXPECT_EQ(bullet.vy, 0.0);
      EXPECT_EQ(bullet.speed, 4.0);
      EXPECT_EQ(bullet.kind, 1);
    }
  }
}

// A large bullet of age 60 bursts into a ring whose bullet 20 flies at the
// player; while pool D is full it stays, ageing, and tries every frame.
TEST_F(Stage6Battle, TheAimedBurstWaitsForRoomInItsPool) {
  boss.stocks = 0;
  boss.phase = 1;
  boss.groupToggle = 2;  // the columns hold their fire
  for (BulletRecord& bullet : enemyBulletsB) bullet.age = 30;
  boss.patternFrame = 39;
  RunStage6Battle();
  ASSERT_EQ(Active(enemyBulletsB), 10);
  EXPECT_EQ(enemyBulletsB[0].age, 1);
  EXPECT_EQ(enemyBulletsB[3].vx, 3.0 * std::cos(3 * (kPi / 5)));

  for (int i = 0; i < 10; ++i) enemyBulletsB[i] = {};
  enemyBulletsB[0] = {.x = 300, .y = 400, .age = 59, .active = 1};
  FillPool(enemyBulletsD, ENEMY_POOL_SIZE);
  boss.patternFrame = 1;
  for (int age : {60, 61}) {
    RunStage6Battle();
    EXPECT_EQ(enemyBulletsB[0].active, 1);
    EXPECT_EQ(enemyBulletsB[0].age, age);
  }
  for (int i = 100; i < 140; ++i) enemyBulletsD[i] = {};
  RunStage6Battle();
  EXPECT_EQ(enemyBulletsB[0].active, 0);
  EXPECT_EQ(enemyBulletsB[0].age, 62);
  const double aim = std::atan2(400.0 - 775, 300.0 - 441);
  EXPECT_EQ(enemyBulletsD[100].angle, aim);
  EXPECT_EQ(enemyBulletsD[100].kind, 2);
  const BulletRecord& atPlayer = enemyBulletsD[120];
  EXPECT_EQ(atPlayer.angle, aim + 20 * (kPi / 20));
  EXPECT_NEAR(std::atan2(atPlayer.vy, atPlayer.vx), std::atan2(775.0 - 400, 441.0 - 300), 1e-5);
}

// Past the last stock only the corner flight runs.
TEST_F(Stage6Battle, StocksOutsideZeroToThreeOnlySteerTheCircles) {
  boss.stocks = 4;
  magicCircles[0] = {.x = 25, .y = 276};
  RunStage6Battle();
  EXPECT_EQ(boss.phase, 0);
  EXPECT_EQ(boss.patternFrame, 1);
  EXPECT_NEAR(magicCircles[0].vx, 0.0, 1e-12);
  EXPECT_NEAR(magicCircles[0].vy, -8.0, 1e-12);
  EXPECT_EQ(Active(enemyBulletsB), 0);
}

}  // namespace
