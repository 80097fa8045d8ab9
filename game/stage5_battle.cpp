// The fifth stage's boss stands still. Its first three stocks fire bullets
// that home on the player and burst into rings after a set age, the later
// ones from circles in the playfield's top corners and with turning fans;
// the last stock fires aimed rings from the corners and straight bullets
// from two circles that follow the player along the top and left edges.
#include <WqLib.h>

#include "angles.h"
#include "boss_battles.h"
#include "boss_patterns.h"
#include "bullet_pools.h"
#include "game_state.h"

namespace {

constexpr double kSpinStep = PI_APPROX / 150;
constexpr Point kTopLeft{PLAYFIELD_LEFT, PLAYFIELD_TOP};
constexpr Point kTopRight{PLAYFIELD_RIGHT, PLAYFIELD_TOP};
constexpr double kHomingSpeed = 4.0;

// What a homing bullet of each stock bursts into, and when.
struct Burst {
  int age;
  int count;
  double step;
  double speed;
};

void AgeAndBurst(const Burst& burst) {
  AgeBurstActive(enemyBulletsC, burst.age, BurstRelease::kFree, [&burst](Point origin) {
    return Ring(enemyBulletsA, burst.count, burst.step, burst.speed, origin, 0.0, {.kind = 1});
  });
}

// The long bullets: four at spinAngle + k * a quarter turn, k = 1..4, and
// in the third stock four more turning the other way.
void FireSpinFan(double offset) {
  Fan(enemyBulletsD, 1, 4, PI_APPROX / 2, 5.0, BossCentre(), offset, {.kind = 1, .keepAngle = true});
}

void FirstStock() {
  if (boss.phase == 0) {
    StartStageMusic(5);
    boss.phase = 1;
  } else if (boss.phase == 1) {
    if (EveryFrames(40, 1)) HomingShot(kHomingSpeed, BossCentre());
    AgeAndBurst({120, 8, PI_APPROX / 4, 3.0});
  } else {
    boss.phase = 0;
  }
}

void SecondStock() {
  PlaceCircle(0, kTopLeft);
  PlaceCircle(1, kTopRight);
  spinAngle = spinAngle + kSpinStep;
  if (!SetUpStockOrFire([] { CircleSetup({0, 1}); })) return;
  if (EveryFrames(30, 1)) {
    HomingShot(kHomingSpeed, kTopLeft);
    HomingShot(kHomingSpeed, kTopRight);
  }
  AgeAndBurst({90, 10, PI_APPROX / 5, 2.0});
  if (EveryFrames(8, 1)) FireSpinFan(spinAngle);
}

// The circles stay where the second stock put them.
void ThirdStock() {
  spinAngle = spinAngle + kSpinStep;
  if (!SetUpStockOrFire([] {})) return;
  if (EveryFrames(30, 1)) {
    HomingShot(kHomingSpeed, CirclePosition(0));
    HomingShot(kHomingSpeed, CirclePosition(1));
  }
  AgeAndBurst({90, 20, PI_APPROX / 10, 2.0});
  if (EveryFrames(8, 1)) {
    FireSpinFan(spinAngle);
    FireSpinFan(-spinAngle);
  }
}

// Rings of needles aimed at the player from the corner circles, and a
// bullet falling down the player's column and one crossing its row.
void LastStock() {
  const Point above{player.centreX, PLAYFIELD_TOP};
  const Point beside{PLAYFIELD_LEFT, player.centreY};
  PlaceCircle(2, above);
  PlaceCircle(3, beside);
  if (!SetUpStockOrFire([] { CircleSetup({0, 1, 2, 3}); })) return;
  if (EveryFrames(20, 16)) {
    for (int circle : {0, 1}) {
      const Point from = CirclePosition(circle);
      Ring(enemyBulletsD, 32, PI_APPROX / 16, 5.0, from, AimFromPlayer(from), {.kind = 2, .keepAngle = true});
    }
  }
  if (EveryFrames(90, 21)) {
    const SpawnStyle style{.kind = 2, .keepAngle = true};  // angle field 0 for both
    StraightShot(enemyBulletsB, 3.0, above, 0.0, 3.0, style);
    StraightShot(enemyBulletsB, 3.0, beside, 3.0, 0.0, style);
  }
}

}  // namespace

void RunStage5Battle() {
  CountBattleFrame();
  if (!RunStockRoutine({LastStock, ThirdStock, SecondStock, FirstStock})) boss.stocks = 0;
}
