// The first stage's boss: it sways left and right along a fixed line and
// fires, stock by stock, large rings with a falling stream and a four-armed
// spiral; the spiral alone in bursts; large rings that turn into aimed
// bullets after a second; and the same with two magic circles firing
// double rings.
#include <WqLib.h>

#include "angles.h"
#include "boss_battles.h"
#include "boss_patterns.h"
#include "bullet_pools.h"
#include "game_state.h"

namespace {

// The sway turns when the centre comes within 150 of 700 or of 100.
constexpr double kSwayRightTurn = 700.0 - 150.0;
constexpr double kSwayLeftTurn = 100.0 + 150.0;
constexpr double kCircleOffsetX = 150.0;
constexpr double kCircleOffsetY = -30.0;
constexpr int kConvertAge = 60;
constexpr double kConvertSpeed = 6.0;
const SpawnStyle kSmall{.kind = 1};

// The spiral: four arms turning by a twentieth of a half-turn per bullet.
void FireSpiral() { RotatingFan(enemyBulletsA, {0, 10, 20, 30}, PI_APPROX / 20, 40, 3.0, BossCentre(), kSmall); }

// Large rings every second and a falling stream, for 300 frames; then 60
// frames of the spiral.
void FirstStock() {
  if (boss.phase == 0) {
    StartStageMusic(1);
    ClearEnemyPools();
    boss.phase = 1;
  }
  if (boss.phase == 1) {
    boss.phase = boss.patternFrame >= 300 ? 2 : 1;
    if (EveryFrames(60, 1)) Ring(enemyBulletsB, 12, PI_APPROX / 6, 3.0, BossCentre());
    if (EveryFrames(10, 1)) Ring(enemyBulletsA, 1, 0.0, 5.0, BossCentre(), PI_APPROX / 2, kSmall);
  } else if (boss.phase == 2) {
    boss.volleyCount = boss.volleyCount + 1;
    FireSpiral();
    if (boss.volleyCount >= 60) {
      boss.patternFrame = 0;
      boss.volleyCount = 0;
      boss.phase = 1;
    }
  } else {
    boss.phase = 0;
  }
}

// The spiral for 180 frames, then 180 quiet ones; the count goes on from
// what the first stock left.
void SecondStock() {
  if (!SetUpStockOrFire([] {})) return;
  boss.volleyCount = boss.volleyCount + 1;
  if (boss.volleyCount >= 360) {
    boss.volleyCount = 0;
  } else if (boss.volleyCount < 180) {
    FireSpiral();
  }
}

// Ring bullets at 31 of every 90 frames, and the large ring at 1, whose
// bullets turn into aimed ones at age 60.
void FireRingsAndConvert(int largeCount, double largeStep, bool countVolley) {
  const int r = boss.patternFrame % 90;
  if (r == 31) Ring(enemyBulletsD, 40, PI_APPROX / 20, 3.0, BossCentre());
  if (r == 1) {
    if (countVolley) boss.volleyCount = boss.volleyCount + 1;
    Ring(enemyBulletsB, largeCount, largeStep, 2.0, BossCentre());
  }
  AgeConvert(kConvertAge, kConvertSpeed);
}

void ThirdStock() {
  if (SetUpStockOrFire([] {}, OtherPhase::kIdle)) FireRingsAndConvert(40, PI_APPROX / 20, false);
}

// Five large-ring volleys, then ten double rings from the two circles on
// either side of the boss; pool B does not age while the circles fire.
void LastStock() {
  PlaceCircle(0, {boss.centreX + kCircleOffsetX, boss.centreY + kCircleOffsetY});
  PlaceCircle(1, {boss.centreX - kCircleOffsetX, boss.centreY + kCircleOffsetY});
  if (boss.phase == 0) {
    ClearEnemyPools();
    CircleSetup({0, 1});
    boss.volleyCount = 0;
    boss.phase = 1;
  } else if (boss.phase == 1) {
    if (boss.volleyCount >= 5) {
      boss.phase = 2;
      boss.volleyCount = 0;
    }
    FireRingsAndConvert(24, PI_APPROX / 12, true);
  } else if (boss.phase == 2) {
    if (boss.volleyCount >= 10) {
      boss.phase = 1;
      boss.volleyCount = 0;
    }
    if (EveryFrames(20, 1)) {
      boss.volleyCount = boss.volleyCount + 1;
      Ring(enemyBulletsD, 40, PI_APPROX / 20, 3.0, CirclePosition(0));
      Ring(enemyBulletsD, 40, PI_APPROX / 20, 3.0, CirclePosition(1));
    }
  }
}

}  // namespace

void RunStage1Battle() {
  CountBattleFrame();
  if (!Sway(1.0, kSwayRightTurn, kSwayLeftTurn)) return;
  RunStockRoutine({LastStock, ThirdStock, SecondStock, FirstStock});
}
