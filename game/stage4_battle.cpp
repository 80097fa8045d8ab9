// The fourth stage's boss: in its first stock it fires turning fans and a
// fast bullet and warps at random every two seconds; then a ring whose
// bullets burst after a second; then it sways and fires star fans; and last
// it sways slower with two circles beside it firing mirrored star fans.
#include <cmath>

#include <WqLib.h>

#include "angles.h"
#include "boss_battles.h"
#include "boss_patterns.h"
#include "bullet_pools.h"
#include "game_rand.h"
#include "game_state.h"

namespace {

constexpr int kWarpFrames = 120;
constexpr double kSwayRightTurn = 620.0;
constexpr double kSwayLeftTurn = 200.0;
constexpr double kSpinStep = PI_APPROX / 100;
constexpr double kStarTurn = 0.1;
constexpr double kCircleOffsetX = 100.0;
constexpr Point kSecondStockCentre{441, 220};
constexpr int kBurstAge = 60;

// The fan's arms in firing order; the rotating index steps after the
// first and after the fifth bullet.
constexpr int kFanArms[] = {0, 10, 20, 30, 5, 15, 25, 35};
constexpr bool kStepAfterArm[] = {true, false, false, false, true, false, false, false};
constexpr int kFanWrap = 40;

// Eight bullets of the turning fan, then the fast bullet whose direction
// comes from the record it takes.
void FireFanAndFastBullet() {
  const SpawnStyle small{.kind = 1, .keepSpeed = true};
  for (int arm = 0; arm < 8; ++arm) {
    const int n = kFanArms[arm] + boss.rotatingIndex;
    const bool left = ShotAt(enemyBulletsA, 3.0, BossCentre(), n * PI_APPROX / 20, small);
    if (!left || !kStepAfterArm[arm]) continue;
    boss.rotatingIndex = boss.rotatingIndex + 1;
    if (boss.rotatingIndex == kFanWrap) boss.rotatingIndex = 0;
  }
  BulletRecord* fast = SpawnBullet(enemyBulletsA);
  if (fast == nullptr) return;
  const double angle = static_cast<int>(fast - enemyBulletsA) * PI_APPROX / 8 + boss.rotatingIndex;
  fast->x = boss.centreX;
  fast->y = boss.centreY;
  fast->vx = 8.0 * std::cos(angle);
  fast->vy = 8.0 * std::sin(angle);
  fast->kind = 1;
}

// The centre jumps to a random point near the top; the box stays.
void Warp() {
  PlaySoundHandle(warpSound, 1, 1);
  boss.centreX = 150 + GameRand() % 301;
  boss.centreY = 210 + GameRand() % 19;
}

void FirstStock() {
  if (boss.phase == 0) {
    ClearEnemyPools();
    StartStageMusic(4);
    boss.phase = 1;
  }
  if (boss.phase == 1) {
    if (!EveryFrames(4, 1)) return;
    FireFanAndFastBullet();
    if (boss.frameCounter >= kWarpFrames) {
      boss.frameCounter = 0;
      boss.phase = 2;
    }
  } else if (boss.phase == 2) {
    Warp();
    boss.phase = 1;
  } else {
    boss.phase = 0;
  }
}

int BurstIntoSmallRing(Point origin) { return Ring(enemyBulletsA, 10, PI_APPROX / 5, 3.0, origin, 0.0, {.kind = 1}); }

// The centre jumps to its place for the stock; the box stays.
void WarpToSecondStockCentre() {
  PlaySoundHandle(warpSound, 1, 1);
  boss.centreX = kSecondStockCentre.x;
  boss.centreY = kSecondStockCentre.y;
}

void SecondStock() {
  if (!SetUpStockOrFire(WarpToSecondStockCentre)) return;
  if (EveryFrames(60, 40)) Ring(enemyBulletsD, 40, PI_APPROX / 20, 4.0, BossCentre(), 0.0, {.resetAge = true});
  AgeBurstActive(enemyBulletsD, kBurstAge, BurstRelease::kFreeIfAnyBulletLeft, BurstIntoSmallRing);
}

// The stars turn as they are drawn.
void TurnStars() {
  for (BulletRecord& bullet : enemyBulletsA) {
    if (bullet.active == 1) bullet.angle = bullet.angle + kStarTurn;
  }
}

// Eight stars at spinAngle + k * a quarter turn, k = 1..8.
int StarFan(Point origin, const SpawnStyle& style) {
  return Fan(enemyBulletsA, 1, 8, PI_APPROX / 4, 2.5, origin, spinAngle, style);
}

void ThirdStock() {
  if (!Sway(0.5, kSwayRightTurn, kSwayLeftTurn)) return;
  spinAngle = spinAngle + kSpinStep;
  if (!SetUpStockOrFire([] {})) return;
  TurnStars();
  if (EveryFrames(3, 1)) {
    constexpr int kStarKinds[] = {3, 2, 2, 3, 3, 3, 2, 2};
    for (int k = 1; k <= 8; ++k) {
      ShotAt(enemyBulletsA, 2.5, BossCentre(), spinAngle + k * (PI_APPROX / 4), {.kind = kStarKinds[k - 1]});
    }
  }
  if (EveryFrames(50, 49)) Ring(enemyBulletsD, 30, PI_APPROX / 15, 3.0, BossCentre(), 0.0, {.resetAge = true});
}

void LastStock() {
  PlaceCircle(0, {boss.centreX + kCircleOffsetX, boss.centreY});
  PlaceCircle(1, {boss.centreX - kCircleOffsetX, boss.centreY});
  if (!Sway(0.3, kSwayRightTurn, kSwayLeftTurn)) return;
  spinAngle = spinAngle + kSpinStep;
  if (!SetUpStockOrFire([] { CircleSetup({0, 1}); })) return;
  const bool volley = EveryFrames(10, 1);
  if (volley) {
    // One bullet falling from a point that sweeps to and fro across the
    // boss, a step of the cosine per volley.
    const Point from{boss.centreX + kCircleOffsetX * std::cos(boss.rotatingIndex * (PI_APPROX / 10)), boss.centreY};
    if (StraightShot(enemyBulletsA, 0.0, from, 0.0, 4.0, {.kind = 1, .keepSpeed = true})) {
      boss.rotatingIndex = boss.rotatingIndex + 1;
    }
    StarFan(CirclePosition(0), {.kind = 4});
  }
  TurnStars();
  if (volley) StarFan(CirclePosition(1), {.kind = 2, .mirrored = true});
}

}  // namespace

void RunStage4Battle() {
  CountBattleFrame();
  RunStockRoutine({LastStock, ThirdStock, SecondStock, FirstStock});
}
