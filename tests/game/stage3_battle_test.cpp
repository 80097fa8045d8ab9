// The third boss: its fans at the turning angle, the orbiting circles, and
// the last stock's flight with its bursting large bullets.
#include <cmath>

#include "battle_fixture.h"
#include "boss_battles.h"
#include "bullet_pools.h"

namespace {

constexpr double kSpinStep = 0.01570795;

double Fraction(int num, int den) { return kPi * num / den; }

class Stage3Battle : public BattleTest {
 protected:
  // The boss as the stage loader leaves it; the player's centre (494, 724)
  // is straight below the boss's.
  void SetUp() override {
    BattleTest::SetUp();
    PlacePlayer(475, 700);
    PlaceBossAsLoaded(381, 332, 226, 251);
  }

  // Circles 0 to 3 where the orbit of the stock before left them.
  static void PlaceFlightCircles() {
    const double places[][2] = {{544, 457}, {469, 500}, {469, 414}, {404, 457}};
    for (int i = 0; i < 4; ++i) {
      magicCircles[i] = {.x = places[i][0], .y = places[i][1], .active = 1};
    }
  }
};

struct FanBullet {
  int num, den, kind;
};

void ExpectFan(const FanBullet* fan, int count, int firstRecord) {
  for (int n = 0; n < count; ++n) {
    SCOPED_TRACE(testing::Message() << "fan bullet " << n);
    const BulletRecord& bullet = enemyBulletsA[firstRecord + n];
    const double theta = spinAngle + Fraction(fan[n].num, fan[n].den);
    EXPECT_EQ(bullet.active, 1);
    EXPECT_EQ(bullet.kind, fan[n].kind);
    EXPECT_EQ(bullet.speed, 5.0);
    EXPECT_EQ(bullet.x, 494.0);
    EXPECT_EQ(bullet.vx, 5.0 * std::cos(theta));
    EXPECT_EQ(bullet.vy, 5.0 * std::sin(theta));
  }
}

// The turning angle moves on in every call, the set-up too; the set-up
// fires nothing.
TEST_F(Stage3Battle, TheFirstCallSetsUp) {
  boss.rotatingIndex = 9;
  enemyBulletsC[3].active = 1;
  RunStage3Battle();
  EXPECT_EQ(spinAngle, kSpinStep);
  EXPECT_EQ(boss.frameCounter, 1);
  EXPECT_EQ(boss.patternFrame, 1);
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(boss.rotatingIndex, 0);
  EXPECT_EQ(enemyBulletsC[3].active, 0);
  EXPECT_EQ(Active(enemyBulletsA) + Active(enemyBulletsB), 0);
  EXPECT_EQ(boss.x, 381.0);
  EXPECT_EQ(boss.centreX, 494.0);
}

// A downward fan of five every 8 frames, turned by the spin angle, and an
// aimed large bullet every 30.
TEST_F(Stage3Battle, TheFirstStockFiresTheTurningFanAndAimedLargeBullets) {
  const FanBullet fan[] = {{1, 2, 1}, {2, 3, 1}, {1, 3, 1}, {1, 6, 1}, {5, 6, 1}};
  struct TimingCase {
    int f, fans, large;
  };
  const TimingCase cases[] = {{8, 1, 0}, {9, 0, 0}, {30, 0, 1}, {120, 1, 1}};
  for (const TimingCase& timing : cases) {
    SCOPED_TRACE(timing.f);
    ClearEnemyPools();
    enemyBulletsA[2].angle = 0.4;
    enemyBulletsB[0].kind = 1;
    InStock(3, 1, timing.f);
    RunStage3Battle();
    ASSERT_EQ(Active(enemyBulletsA), 5 * timing.fans);
    ASSERT_EQ(Active(enemyBulletsB), timing.large);
    if (timing.fans != 0) {
      ExpectFan(fan, 5, 0);
      EXPECT_EQ(enemyBulletsA[2].angle, 0.4) << "the fan leaves the angle field";
    }
    if (timing.large != 0) {
      const BulletRecord& large = enemyBulletsB[0];
      EXPECT_EQ(large.kind, 1) << "the kind is not written";
      EXPECT_EQ(large.speed, 6.0);
      EXPECT_NEAR(large.vx, 0.0, 1e-12);
      EXPECT_NEAR(large.vy, 6.0, 1e-12);
    }
  }
  InStock(3, 2, 8);
  RunStage3Battle();
  EXPECT_EQ(boss.phase, 2);
  InStock(3, 4, 8);
  RunStage3Battle();
  EXPECT_EQ(boss.phase, 0);
}

// Ten stars in the directions a sixth apart but the spin angle and its
// opposite, blue at the thirds; the stars in flight spin while the stock
// runs, and new ones start from the angle their record held.
TEST_F(Stage3Battle, TheSecondStockFiresSpinningStars) {
  InStock(2, 0, 50);
  boss.rotatingIndex = 4;
  RunStage3Battle();
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(boss.rotatingIndex, 0);

  enemyBulletsA[0] = {.angle = 1.0, .active = 1};
  enemyBulletsA[1].angle = 0.3;
  boss.patternFrame = 120;  // 121: the fan and the aimed large bullet
  RunStage3Battle();
  EXPECT_DOUBLE_EQ(enemyBulletsA[0].angle, 1.1);
  const FanBullet stars[] = {{1, 2, 3}, {2, 3, 2}, {1, 3, 2}, {1, 6, 3}, {5, 6, 3},
                             {3, 2, 3}, {5, 3, 2}, {4, 3, 2}, {7, 6, 3}, {11, 6, 3}};
  ExpectFan(stars, 10, 1);
  EXPECT_EQ(Active(enemyBulletsA), 11);
  EXPECT_EQ(enemyBulletsA[1].angle, 0.3);
  EXPECT_EQ(Active(enemyBulletsB), 1);

  RunStage3Battle();
  EXPECT_DOUBLE_EQ(enemyBulletsA[1].angle, 0.4);
  boss.stocks = 1;
  RunStage3Battle();
  EXPECT_DOUBLE_EQ(enemyBulletsA[1].angle, 0.4) << "the stars spin only in their stock";
}

// Three circles at 50 turn one way, three at 90 the other, each active
// circle's clock gaining 2.0 a call; every 60 frames each fires a ring of
// orange stars from where it stands.
TEST_F(Stage3Battle, TheThirdStocksCirclesOrbitBothWays) {
  InStock(1, 0, 59);
  magicCircles[2] = {.angle = 5.0, .age = 7};
  RunStage3Battle();
  EXPECT_EQ(boss.phase, 1);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(magicCircles[i].active, 1) << i;
    EXPECT_EQ(magicCircles[i].angle, 0.0) << i;
  }
  EXPECT_EQ(magicCircles[2].age, 7);

  magicCircles[4].active = 0;  // an inactive circle's clock stands
  RunStage3Battle();
  struct OrbitCase {
    int circle;
    double radius;
    int sign;
  };
  const OrbitCase cases[] = {{0, 50, 1}, {1, 50, 1}, {2, 50, 1}, {3, 90, -1}, {4, 90, -1}, {5, 90, -1}};
  for (const OrbitCase& orbit : cases) {
    SCOPED_TRACE(orbit.circle);
    const BulletRecord& circle = magicCircles[orbit.circle];
    const double clock = orbit.circle == 4 ? 0.0 : 2.0;
    EXPECT_EQ(circle.angle, clock);
    const double theta = orbit.circle * Fraction(2, 3) + orbit.sign * clock * kSpinStep;
    EXPECT_EQ(circle.x, 494.0 + orbit.radius * std::cos(theta));
    EXPECT_EQ(circle.y, 457.0 + orbit.radius * std::sin(theta));
    const BulletRecord& first = enemyBulletsA[20 * orbit.circle];
    EXPECT_EQ(first.x, circle.x);
    EXPECT_EQ(first.y, circle.y);
    EXPECT_EQ(first.kind, 3);
    EXPECT_EQ(first.speed, 2.0);
    EXPECT_EQ(enemyBulletsA[20 * orbit.circle + 1].vx, 2.0 * std::cos(kPi / 10));
  }
  EXPECT_EQ(Active(enemyBulletsA), 120);
}

// The set-up of the last stock runs on into the flight in the same call:
// the centre moves by what the velocity last held, the circles turn toward
// the bottom edge and the flight count starts at 1.
TEST_F(Stage3Battle, TheLastStocksSetUpStartsTheFlight) {
  InStock(0, 0, 0);  // f 1 would fire the rising bullets in phase 1
  PlaceFlightCircles();
  magicCircles[0].age = 33;
  magicCircles[1].age = 89;  // the others' ages do not count
  magicCircles[4].active = 1;
  magicCircles[5].active = 1;
  boss.frameCounter = 50;
  boss.vx = 3;
  boss.vy = -4;
  enemyBulletsB[5].active = 1;
  RunStage3Battle();
  EXPECT_EQ(boss.phase, 1);
  EXPECT_EQ(boss.frameCounter, 0);
  EXPECT_EQ(magicCircles[4].active, 0);
  EXPECT_EQ(magicCircles[5].active, 0);
  EXPECT_EQ(magicCircles[0].age, 1);
  EXPECT_EQ(magicCircles[1].age, 89);
  EXPECT_EQ(Active(enemyBulletsB), 0);
  EXPECT_EQ(boss.centreX, 497.0);
  EXPECT_EQ(boss.centreY, 453.0);
  EXPECT_EQ(boss.x, 381.0);
  // Toward (441, 170) at 5, from the centre before this move.
  const double b = std::atan2(457.0 - 170, 494.0 - 441);
  EXPECT_EQ(boss.vx, std::cos(-b) * -5);
  EXPECT_EQ(boss.vy, std::sin(-b) * 5);
  const double targets[][2] = {{195, 800}, {687, 800}, {837, 800}, {45, 800}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const BulletRecord& circle = magicCircles[i];
    const double toX = targets[i][0] - circle.x;
    const double toY = targets[i][1] - circle.y;
    EXPECT_NEAR(std::hypot(circle.vx, circle.vy), 8.0, 1e-12);
    EXPECT_NEAR(circle.vx * toY - circle.vy * toX, 0.0, 1e-9);
    EXPECT_GT(circle.vx * toX + circle.vy * toY, 0.0);
    EXPECT_EQ(circle.moveMode, 0);
  }
}

// The centre rises along its line at 5 a frame and stops at the first
// position at or above y 220.
TEST_F(Stage3Battle, TheCentreRisesTowardItsPointAndStops) {
  InStock(0, 1, 1000);
  PlaceFlightCircles();
  int calls = 0;
  while (calls < 200) {
    const double x = boss.centreX;
    const double y = boss.centreY;
    RunStage3Battle();
    ++calls;
    if (calls > 1) {
      EXPECT_NEAR(std::hypot(boss.centreX - x, boss.centreY - y), 5.0, 1e-9) << calls;
    }
    EXPECT_NEAR((boss.centreX - 441) * 287 - (boss.centreY - 170) * 53, 0.0, 1e-6) << "on the line";
    if (boss.centreY <= 220) break;
  }
  EXPECT_GT(boss.centreY, 215.0);
  EXPECT_EQ(calls, 50);  // the first call only chooses the velocity
  EXPECT_EQ(boss.vx, 0.0);
  EXPECT_EQ(boss.vy, 0.0);
  const double stoppedX = boss.centreX;
  const double stoppedY = boss.centreY;
  for (int i = 0; i < 3; ++i) RunStage3Battle();
  EXPECT_EQ(boss.centreX, stoppedX);
  EXPECT_EQ(boss.centreY, stoppedY);
  EXPECT_EQ(boss.y, 332.0) << "the box stays";
}

// Frame by frame, the circles fly to their points on the bottom edge and
// stop in the 90th call of the stock, the set-up's included, wherever they
// then are: within a step of their targets.
TEST_F(Stage3Battle, TheCirclesFlyToTheBottomAndStopAfter90Calls) {
  InStock(0, 0, 1000);
  PlaceFlightCircles();
  Frames(RunStage3Battle, 89);
  EXPECT_EQ(magicCircles[0].age, 89);
  EXPECT_EQ(magicCircles[3].moveMode, 0);
  Frames(RunStage3Battle, 1);
  const double targets[][2] = {{195, 800}, {687, 800}, {837, 800}, {45, 800}};
  double stopped[4][2];
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(magicCircles[i].moveMode, 1);
    EXPECT_LE(std::hypot(magicCircles[i].x - targets[i][0], magicCircles[i].y - targets[i][1]), 8.0);
    stopped[i][0] = magicCircles[i].x;
    stopped[i][1] = magicCircles[i].y;
  }
  Frames(RunStage3Battle, 5);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(magicCircles[i].x, stopped[i][0]) << i;
    EXPECT_EQ(magicCircles[i].y, stopped[i][1]) << i;
  }
}

// Every 120 frames each flying circle sends a large bullet up at 5, its
// age started at 0 even where a bomb left its record at 89; it bursts in
// the 90th call counting the one that fired it.
TEST_F(Stage3Battle, RisingLargeBulletsBurstInTheirNinetiethCall) {
  InStock(0, 1, 120);
  PlaceFlightCircles();
  enemyBulletsB[0].age = 89;
  RunStage3Battle();
  ASSERT_EQ(Active(enemyBulletsB), 4);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const BulletRecord& large = enemyBulletsB[i];
    EXPECT_EQ(large.x, magicCircles[i].x);
    EXPECT_EQ(large.y, magicCircles[i].y);
    EXPECT_EQ(large.kind, 1);
    EXPECT_EQ(large.speed, 1.0);
    EXPECT_EQ(large.vx, 0.0);
    EXPECT_EQ(large.vy, -5.0);
    EXPECT_EQ(large.age, 1);
  }
  for (int call = 2; call <= 89; ++call) RunStage3Battle();
  EXPECT_EQ(Active(enemyBulletsB), 4);
  EXPECT_EQ(Active(enemyBulletsA), 0);
  RunStage3Battle();
  EXPECT_EQ(Active(enemyBulletsB), 0);
  EXPECT_EQ(Active(enemyBulletsA), 4 * 40);
}

// The ageing counts active records only and the test is age = 90: a record
// a bomb cleared at 89 never bursts, nor one already past 90.
TEST_F(Stage3Battle, OnlyAnActiveLargeBulletReachingExactly90Bursts) {
  struct BurstCase {
    int active, age, ageAfter;
    bool bursts;
  };
  const BurstCase cases[] = {{1, 88, 89, false}, {1, 89, 0, true}, {1, 90, 91, false}, {0, 89, 89, false}};
  for (const BurstCase& burst : cases) {
    SCOPED_TRACE(testing::Message() << "active " << burst.active << " age " << burst.age);
    ClearEnemyPools();
    enemyBulletsB[0] = {.kind = 1, .x = 300, .y = 500, .age = burst.age, .active = static_cast<std::uint8_t>(burst.active)};
    InStock(0, 1, 2);
    RunStage3Battle();
    EXPECT_EQ(enemyBulletsB[0].active, burst.active == 1 && !burst.bursts ? 1 : 0);
    EXPECT_EQ(enemyBulletsB[0].age, burst.ageAfter);
    EXPECT_EQ(Active(enemyBulletsA), burst.bursts ? 40 : 0);
  }
  // The last burst's rings, in order: orange at 2, blue at 3 between the
  // orange ones, green at 4.
  struct RingCase {
    int record, kind;
    double speed, theta;
  };
  const RingCase rings[] = {
      {0, 3, 2.0, 0.0},
      {19, 3, 2.0, 19 * (kPi / 10)},
      {20, 2, 3.0, kPi / 10},
      {21, 2, 3.0, kPi / 10 + Fraction(2, 10)},
      {30, 4, 4.0, Fraction(2, 10)},
      {39, 4, 4.0, Fraction(2, 10) + 9 * Fraction(2, 10)},
  };
  ClearEnemyPools();
  enemyBulletsB[0] = {.kind = 1, .x = 300, .y = 500, .age = 89, .active = 1};
  RunStage3Battle();
  for (const RingCase& ring : rings) {
    SCOPED_TRACE(ring.record);
    const BulletRecord& star = enemyBulletsA[ring.record];
    EXPECT_EQ(star.kind, ring.kind);
    EXPECT_EQ(star.x, 300.0);
    EXPECT_EQ(star.y, 500.0);
    EXPECT_EQ(star.speed, ring.speed);
    EXPECT_EQ(star.vx, ring.speed * std::cos(ring.theta));
    EXPECT_EQ(star.vy, ring.speed * std::sin(ring.theta));
  }
}

// A burst into a nearly full pool takes what is free, in ring order, and
// the large bullet is gone all the same.
TEST_F(Stage3Battle, ABurstIntoAFullPoolTakesWhatIsFree) {
  FillPoolExcept(enemyBulletsA, ENEMY_POOL_SIZE, {10, 20, 1999});
  enemyBulletsB[0] = {.kind = 1, .x = 300, .y = 500, .age = 89, .active = 1};
  InStock(0, 1, 2);
  RunStage3Battle();
  EXPECT_EQ(enemyBulletsB[0].active, 0);
  EXPECT_EQ(Active(enemyBulletsA), ENEMY_POOL_SIZE);
  EXPECT_EQ(enemyBulletsA[10].vx, 2.0);
  EXPECT_EQ(enemyBulletsA[20].vx, 2.0 * std::cos(kPi / 10));
  EXPECT_EQ(enemyBulletsA[1999].vx, 2.0 * std::cos(2 * (kPi / 10)));
  EXPECT_EQ(enemyBulletsA[1999].kind, 3);
}

// At 16 of every 20 frames a needle ring leaves the boss turned so that its
// bullet 16 heads at the player's centre.
TEST_F(Stage3Battle, TheAimedRingsSixteenthBulletHeadsAtThePlayer) {
  const double players[][2] = {{475, 700}, {100, 600}, {700, 200}};
  for (const auto& place : players) {
    SCOPED_TRACE(testing::Message() << "player at " << place[0] << ", " << place[1]);
    ClearEnemyPools();
    PlacePlayer(place[0], place[1]);
    boss.centreX = 494;
    boss.centreY = 457;
    InStock(0, 1, 15);
    RunStage3Battle();
    ASSERT_EQ(Active(enemyBulletsD), 32);
    const double a = std::atan2(457 - player.centreY, 494 - player.centreX);
    const BulletRecord& needle = enemyBulletsD[16];
    EXPECT_EQ(needle.angle, a + 16 * (kPi / 16));
    EXPECT_EQ(needle.kind, 2);
    EXPECT_EQ(needle.speed, 5.0);
    const double toX = player.centreX - 494;
    const double toY = player.centreY - 457;
    EXPECT_NEAR((needle.vx * toY - needle.vy * toX) / std::hypot(toX, toY), 0.0, 1e-4);
    EXPECT_GT(needle.vx * toX + needle.vy * toY, 0.0);
  }
  // Straight below: atan2 gives -pi/2, and bullet 16 flies straight down.
  PlacePlayer(475, 700);
  ClearEnemyPools();
  boss.centreX = 494;
  boss.centreY = 457;
  boss.vx = boss.vy = 0;
  InStock(0, 1, 35);
  RunStage3Battle();
  EXPECT_NEAR(enemyBulletsD[16].vx, 0.0, 1e-4);
  EXPECT_NEAR(enemyBulletsD[16].vy, 5.0, 1e-9);
}

TEST_F(Stage3Battle, StocksOutsideZeroToThreeFireNothing) {
  for (int stocks : {4, -1}) {
    InStock(stocks, 0, 0);
    RunStage3Battle();
    EXPECT_EQ(boss.phase, 0) << stocks;
  }
  EXPECT_EQ(spinAngle, 2 * kSpinStep);
  EXPECT_EQ(Active(enemyBulletsA) + Active(enemyBulletsB) + Active(enemyBulletsD), 0);
}

}  // namespace
