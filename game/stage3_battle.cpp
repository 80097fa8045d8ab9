// The third stage's boss: it stands still while a turning angle sweeps its
// fans: a downward fan with aimed large bullets; spinning stars in ten
// directions with aimed large bullets; six orbiting circles firing star
// rings; and at last the circles fly to the bottom edge and send large
// bullets up that burst into stars, while the boss rises toward the top
// and fires aimed needle rings.
#include <cmath>

#include "angles.h"
#include "boss_battles.h"
#include "boss_patterns.h"
#include "bullet_pools.h"
#include "game_state.h"

namespace {

constexpr double kSpinStep = 0.01570795;
constexpr double kStarSpin = 0.1;
constexpr double kOrbitRate = 0.01570795;
constexpr double kOrbitClockStep = 2.0;
constexpr int kOrbitingCircles = 6;
constexpr int kBurstAge = 90;
constexpr Point kRiseTarget{441.0, 170.0};
constexpr double kRiseStopY = 220.0;
constexpr double kRiseSpeed = 5.0;
constexpr Point kCircleTargets[] = {{195.0, 800.0}, {687.0, 800.0}, {837.0, 800.0}, {45.0, 800.0}};
constexpr double kCircleSpeed = 8.0;
constexpr int kCircleFlightFrames = 90;
const SpawnStyle kNeedle{.kind = 2, .keepAngle = true};

// Small bullets in a downward fan that turns with the spin angle.
void FireDownwardFan() {
  SpinFan(enemyBulletsA,
          {{PiFraction(1, 2), 1}, {PiFraction(2, 3), 1}, {PiFraction(1, 3), 1}, {PiFraction(1, 6), 1},
           {PiFraction(5, 6), 1}},
          5.0, BossCentre());
}

// Ten directions a sixth apart, all but the spin angle and its opposite:
// blue stars at the thirds, orange at the others.
void FireStarFan() {
  SpinFan(enemyBulletsA,
          {{PiFraction(1, 2), 3},
           {PiFraction(2, 3), 2},
           {PiFraction(1, 3), 2},
           {PiFraction(1, 6), 3},
           {PiFraction(5, 6), 3},
           {PiFraction(3, 2), 3},
           {PiFraction(5, 3), 2},
           {PiFraction(4, 3), 2},
           {PiFraction(7, 6), 3},
           {PiFraction(11, 6), 3}},
          5.0, BossCentre());
}

void SpinStars() {
  for (BulletRecord& bullet : enemyBulletsA) {
    if (bullet.active == 1) bullet.angle = bullet.angle + kStarSpin;
  }
}

// The fan every 8 frames and an aimed large bullet every 30.
void FireFanAndAimedLarge(void (*fan)()) {
  if (EveryFrames(8, 1)) fan();
  if (EveryFrames(30, 1)) AimedShot(enemyBulletsB, 6.0, BossCentre());
}

// The fan stocks stand silent in phase 2.
void FirstStock() {
  if (!SetUpStockOrFire([] { StartStageMusic(3); }, OtherPhase::kStartOverButIdleInTwo)) return;
  FireFanAndAimedLarge(FireDownwardFan);
}

void SecondStock() {
  if (!SetUpStockOrFire([] { boss.rotatingIndex = 0; }, OtherPhase::kStartOverButIdleInTwo)) return;
  SpinStars();
  FireFanAndAimedLarge(FireStarFan);
}

// Twenty orange stars in a ring, slow.
void FireStarRing(Point origin) { Ring(enemyBulletsA, 20, PI_APPROX / 10, 2.0, origin, 0.0, {.kind = 3}); }

// Three circles close to the boss turn one way, three further out the
// other; every second each fires a ring of orange stars.
void ThirdStock() {
  for (int i = 0; i < kOrbitingCircles; ++i) {
    BulletRecord& circle = magicCircles[i];
    if (circle.active == 1) circle.angle = circle.angle + kOrbitClockStep;
  }
  CircleOrbit({0, 1, 2}, 50.0, PiFraction(2, 3), 1, kOrbitRate);
  CircleOrbit({3, 4, 5}, 90.0, PiFraction(2, 3), -1, kOrbitRate);
  if (!SetUpStockOrFire([] { CircleSetup({0, 1, 2, 3, 4, 5}, {.angle = 0.0}); }, OtherPhase::kIdle)) return;
  if (EveryFrames(60, 1)) {
    for (int i = 0; i < kOrbitingCircles; ++i) FireStarRing(CirclePosition(i));
  }
}

// A rising large bullet that reaches age 90 bursts into three star rings.
void BurstIntoStars(Point origin) {
  FireStarRing(origin);
  Ring(enemyBulletsA, 10, PiFraction(2, 10), 3.0, origin, PI_APPROX / 10, {.kind = 2});
  Ring(enemyBulletsA, 10, PiFraction(2, 10), 4.0, origin, PiFraction(2, 10), {.kind = 4});
}

void FireRisingBullet(Point origin) {
  BulletRecord* bullet = SpawnMoving(enemyBulletsB, origin, 0.0, -5.0);
  if (bullet == nullptr) return;
  bullet->kind = 1;
  bullet->speed = 1.0;
  bullet->age = 0;
}

// Bullet 16 of the ring heads at the player.
void FireAimedNeedleRing() {
  const Point centre = BossCentre();
  Ring(enemyBulletsD, 32, PI_APPROX / 16, 5.0, centre, AimFromPlayer(centre), kNeedle);
}

// The centre moves by the velocity the last call chose, then heads for the
// point above until it is at or above the stopping line; the circles fly
// to the bottom edge and stop after their flight's frames.
void FlyBossAndCircles() {
  const Point before = BossCentre();
  boss.centreX = boss.centreX + boss.vx;
  boss.centreY = boss.centreY + boss.vy;
  if (boss.centreY <= kRiseStopY) {
    boss.vx = 0;
    boss.vy = 0;
  } else {
    HeadFor(before, kRiseTarget, kRiseSpeed, &boss.vx, &boss.vy);
  }
  CircleFlight({0, 1, 2, 3}, kCircleTargets, kCircleSpeed, kCircleFlightFrames);
}

// Circles 4 and 5 go; circle 0's age counts the flight.
void SetUpLastStock() {
  magicCircles[4].active = 0;
  magicCircles[5].active = 0;
  magicCircles[0].age = 0;
  boss.frameCounter = 0;
}

// The set-up runs straight on into the flight in the same call.
void LastStock() {
  if (SetUpStockOrFire(SetUpLastStock, OtherPhase::kIdle)) {
    if (EveryFrames(120, 1)) {
      for (int i = 0; i < 4; ++i) FireRisingBullet(CirclePosition(i));
    }
    AgeBurst(enemyBulletsB, kBurstAge, AgeTest::kExactly, BurstIntoStars);
    if (EveryFrames(20, 16)) FireAimedNeedleRing();
  }
  FlyBossAndCircles();
}

}  // namespace

void RunStage3Battle() {
  spinAngle = spinAngle + kSpinStep;
  boss.frameCounter = boss.frameCounter + 1;
  boss.patternFrame = boss.patternFrame + 1;
  RunStockRoutine({LastStock, ThirdStock, SecondStock, FirstStock});
}
