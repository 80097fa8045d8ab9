// The final boss stands still. Large bullets fired in twin rings from
// beside it burst after a second; magic circles fly out to the corners of
// the playfield and fire fans inward; and in the last stock two columns of
// circles on the side edges take turns sweeping the field.
#include <WqLib.h>

#include "angles.h"
#include "boss_battles.h"
#include "boss_patterns.h"
#include "bullet_pools.h"
#include "game_state.h"

namespace {

constexpr double kSideOffsetX = 100.0;
constexpr double kSideOffsetY = -20.0;
constexpr Point kCorners[] = {{PLAYFIELD_LEFT, PLAYFIELD_TOP},
                              {PLAYFIELD_RIGHT, PLAYFIELD_TOP},
                              {PLAYFIELD_RIGHT, PLAYFIELD_BOTTOM},
                              {PLAYFIELD_LEFT, PLAYFIELD_BOTTOM}};
constexpr double kFlightSpeed = 8.0;
constexpr int kFlightFrames = 90;
constexpr int kBurstAge = 60;
constexpr int kHomingLife = 120;
constexpr int kColumnFrames = 300;
constexpr double kColumnShotSpeed = 4.0;
constexpr double kLeftColumnX = 30.0;
constexpr double kRightColumnX = 852.0;
constexpr double kLeftColumnY[] = {300, 424, 548, 672, 796};
constexpr double kRightColumnY[] = {362, 486, 610, 734};
constexpr int kFirstRightCircle = 5;

Point LeftSide() { return {boss.centreX - kSideOffsetX, boss.centreY + kSideOffsetY}; }
Point RightSide() { return {boss.centreX + kSideOffsetX, boss.centreY + kSideOffsetY}; }

void TwinRings() {
  Ring(enemyBulletsB, 12, PI_APPROX / 6, 3.0, LeftSide());
  Ring(enemyBulletsB, 12, PI_APPROX / 6, 3.0, RightSide());
}

// Large bullets of age 60 burst into rings of eight small ones.
void RingBurst() {
  AgeBurstActive(enemyBulletsB, kBurstAge, BurstRelease::kFreeWithAgeReset,
                 [](Point origin) { return Ring(enemyBulletsA, 8, PI_APPROX / 4, 3.0, origin, 0.0, {.kind = 1}); });
}

// Circles that stop after their 90th frame of flight, wherever they stand.
void StopFlights(std::initializer_list<int> circles) {
  for (int i : circles) {
    BulletRecord& circle = magicCircles[i];
    if (circle.active != 1) continue;
    circle.age = circle.age + 1;
    if (circle.age >= kFlightFrames) circle.moveMode = 1;
  }
}

// Every call ends by pointing circles 0 to 3 at their corners; whether
// they move is up to their move mode, so one that has arrived steps to
// and fro across its corner until it stops.
void CornerFlight() { AimCircles({0, 1, 2, 3}, kCorners, kFlightSpeed); }

// The stage's music starts; circles 0 and 1 stand beside the boss, 2 and 3
// wait on its centre.
void SetUpFirstStock() {
  for (int i = 0; i < 4; ++i) PlaceCircle(i, BossCentre());
  CircleSetup({0, 1});
  magicCircles[0].moveMode = 1;
  magicCircles[1].moveMode = 1;
  PlaceCircle(0, LeftSide());
  PlaceCircle(1, RightSide());
  PlaySoundHandle(stageMusic[5], 3, 1);
}

void FirstStock() {
  if (!SetUpStockOrFire(SetUpFirstStock, OtherPhase::kIdle)) return;
  if (EveryFrames(90, 1)) TwinRings();
  RingBurst();
}

// Circles 0 and 1 fly from beside the boss to the top corners; circles 4
// and 5 take their places.
void SetUpSecondStock() {
  for (int i : {0, 1, 4, 5}) magicCircles[i].active = 1;
  for (int i : {0, 1}) {
    magicCircles[i].moveMode = 0;
    magicCircles[i].age = 0;
  }
  for (BulletRecord& circle : magicCircles) circle.kind = CirclePicture();
  PlaceCircle(4, LeftSide());
  PlaceCircle(5, RightSide());
}

void SecondStock() {
  if (!SetUpStockOrFire(SetUpSecondStock)) return;
  StopFlights({0, 1});
  if (EveryFrames(90, 1)) TwinRings();
  RingBurst();
  if (EveryFrames(30, 1)) {
    AimedShot(enemyBulletsD, 3.0, LeftSide(), {.keepAngle = true});
    AimedShot(enemyBulletsD, 3.0, RightSide(), {.keepAngle = true});
  }
  if (EveryFrames(45, 1)) {
    const SpawnStyle style{.kind = 2, .keepAngle = true};
    Ring(enemyBulletsD, 5, PI_APPROX / 10, 3.0, CirclePosition(0), 0.0, style);
    Ring(enemyBulletsD, 5, PI_APPROX / 10, 3.0, CirclePosition(1), PI_APPROX / 2, style);
  }
}

// Circles 2 and 3 fly from the boss's centre to the bottom corners.
void SetUpThirdStock() {
  for (int i : {2, 3}) {
    magicCircles[i].moveMode = 0;
    magicCircles[i].active = 1;
    magicCircles[i].age = 0;
  }
}

void ThirdStock() {
  if (!SetUpStockOrFire(SetUpThirdStock, OtherPhase::kIdle)) return;
  StopFlights({0, 1, 2, 3});
  if (EveryFrames(30, 1)) {
    HomingShot(4.0, CirclePosition(4));
    HomingShot(4.0, CirclePosition(5));
  }
  // The homing bullets die at their age limit, wherever they are.
  AgeBurstActive(enemyBulletsC, kHomingLife, BurstRelease::kFree, [](Point) { return 0; });
  if (EveryFrames(90, 1)) TwinRings();
  RingBurst();
  if (EveryFrames(45, 1)) {
    // Three bullets from each corner, pointing into the playfield.
    const SpawnStyle small{.kind = 1};
    const double step = PI_APPROX / 10;
    Fan(enemyBulletsA, 1, 3, step, 3.0, CirclePosition(1), PI_APPROX / 2, small);
    Fan(enemyBulletsA, 1, 3, step, 3.0, CirclePosition(0), 0.0, small);
    Fan(enemyBulletsA, 1, 3, step, 3.0, CirclePosition(2), PI_APPROX, small);
    Fan(enemyBulletsA, 1, 3, -step, 3.0, CirclePosition(3), 0.0, small);
  }
}

// All nine circles stand still in the two columns.
void SetUpColumns() {
  CircleSetup({0, 1, 2, 3, 4, 5, 6, 7, 8});
  for (int i = 0; i <= 8; ++i) magicCircles[i].moveMode = 1;
  for (int i = 0; i < kFirstRightCircle; ++i) PlaceCircle(i, {kLeftColumnX, kLeftColumnY[i]});
  for (int i = 0; i < 4; ++i) PlaceCircle(kFirstRightCircle + i, {kRightColumnX, kRightColumnY[i]});
}

// One column fires straight across for 300 frames, then the other; the
// count goes on from wherever an earlier battle left it.
void SweepColumns() {
  if (boss.groupToggle != 0 && boss.groupToggle != 1) return;
  const bool leftColumn = boss.groupToggle == 1;
  boss.volleyCount = boss.volleyCount + 1;
  if (boss.volleyCount >= kColumnFrames) {
    boss.volleyCount = 0;
    boss.groupToggle = leftColumn ? 0 : 1;
  }
  if (!EveryFrames(10, 1)) return;
  const int first = leftColumn ? 0 : kFirstRightCircle;
  const int last = leftColumn ? kFirstRightCircle - 1 : 8;
  const double vx = leftColumn ? kColumnShotSpeed : -kColumnShotSpeed;
  for (int i = first; i <= last; ++i)
    StraightShot(enemyBulletsA, kColumnShotSpeed, CirclePosition(i), vx, 0.0, {.kind = 1});
}

// A large bullet of age 60 bursts into a ring whose bullet 20 flies at the
// player; with the ring pool full it stays and tries again next frame.
int AimedBurst(Point origin) {
  return Ring(enemyBulletsD, 40, PI_APPROX / 20, 3.0, origin, AimFromPlayer(origin), {.kind = 2, .keepAngle = true});
}

void LastStock() {
  if (!SetUpStockOrFire(SetUpColumns, OtherPhase::kIdle)) return;
  SweepColumns();
  if (EveryFrames(60, 40)) Ring(enemyBulletsB, 10, PI_APPROX / 5, 3.0, BossCentre(), 0.0, {.resetAge = true});
  AgeBurstActive(enemyBulletsB, kBurstAge, BurstRelease::kFreeIfAnyBulletLeft, AimedBurst);
}

}  // namespace

void RunStage6Battle() {
  // This boss counts only the pattern frame.
  boss.patternFrame = boss.patternFrame + 1;
  RunStockRoutine({LastStock, ThirdStock, SecondStock, FirstStock});
  CornerFlight();
}
