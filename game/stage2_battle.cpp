// The second stage's boss: it traces a figure of eight over the upper
// playfield and fires, stock by stock, rings alternating with a two-sided
// stream; two interleaved ring patterns; staggered rings of long bullets;
// and four orbiting magic circles that aim at the player while needle rings
// leave the boss.
#include <cmath>

#include "angles.h"
#include "boss_battles.h"
#include "boss_patterns.h"
#include "bullet_pools.h"
#include "game_state.h"

namespace {

constexpr Point kPathAnchor{377.0, 275.0};
constexpr double kPathWidth = 200.0;
constexpr double kPathHeight = 100.0;
// One round of the path takes 1,000 frames; the vertical part runs twice
// per round.
constexpr double kPathRate = 0.00628318;
constexpr double kPathVerticalRate = 0.01256636;
constexpr double kCircleClockStep = 1.0;
constexpr double kOrbitRate = 0.01570795;
constexpr int kCircleCount = 4;
constexpr int kStreamWrap = 7;
const SpawnStyle kSmall{.kind = 1};
const SpawnStyle kLong{.kind = 1, .keepAngle = true};
const SpawnStyle kNeedle{.kind = 2, .keepAngle = true};

// The centre from the box as it stands before this call's move.
void SetCentreFromBox() {
  boss.centreX = boss.x + boss.width / 2;
  boss.centreY = boss.y + boss.height / 2;
}

// The box's top-left corner on the figure of eight; the first call of the
// battle anchors the path and starts it at its middle.
void FollowPath() {
  int t = boss.pathTime;
  if (boss.frameCounter == 0) {
    boss.baseX = kPathAnchor.x;
    boss.baseY = kPathAnchor.y;
    t = 0;
  }
  boss.x = boss.baseX + kPathWidth * std::cos(t * kPathRate + PI_APPROX / 2);
  boss.y = boss.baseY + kPathHeight * std::sin(t * kPathVerticalRate);
  boss.pathTime = t + 1;
  boss.frameCounter = boss.frameCounter + 1;
}

// The circles' orbit clocks run in every stock, the circles active or not.
void TurnCircleClocks() {
  for (int i = 0; i < kCircleCount; ++i) magicCircles[i].angle = magicCircles[i].angle + kCircleClockStep;
}

// One bullet of the two-sided stream, falling at 2.6 to 3 pixels a frame
// and drifting to the left (side +1) or the right (side -1) as the rotating
// index turns; a bullet that finds no record leaves the index.
void FireStreamBullet(double side) {
  const double theta = (boss.rotatingIndex + 10) * PI_APPROX / 20;
  BulletRecord* bullet =
      SpawnMoving(enemyBulletsA, BossCentre(), side * (4 * std::cos(theta)), std::sin(theta) + 2);
  if (bullet == nullptr) return;
  bullet->kind = 1;
  AdvanceRotatingIndex(kStreamWrap);
}

void FireNeedleRing() {
  Ring(enemyBulletsD, 32, PI_APPROX / 16, 5.0, BossCentre(), PI_APPROX / 16, kNeedle);
}

// 180 frames of rings every 30 frames, then 140 frames of the stream.
void FirstStock() {
  switch (boss.phase) {
    case 0:
      StartStageMusic(2);
      ClearEnemyPools();
      boss.phase = 1;
      break;
    case 1:
      if (boss.patternFrame >= 180) {
        boss.patternFrame = 0;
        boss.phase = 2;
      }
      if (EveryFrames(30, 1)) Ring(enemyBulletsA, 32, PI_APPROX / 16, 3.0, BossCentre(), 0.0, kSmall);
      break;
    case 2:
      if (boss.patternFrame >= 140) {
        boss.patternFrame = 0;
        boss.phase = 1;
      }
      if (EveryFrames(4, 1)) {
        FireStreamBullet(1.0);
        FireStreamBullet(-1.0);
      }
      break;
    default: boss.phase = 0; break;
  }
}

// Long-bullet rings at 1 of every 30 frames and needle rings, turned by
// half a step, at 16.
void SecondStock() {
  if (!SetUpStockOrFire([] {})) return;
  if (EveryFrames(30, 1)) Ring(enemyBulletsD, 32, PI_APPROX / 16, 3.0, BossCentre(), 0.0, kLong);
  if (EveryFrames(30, 16)) FireNeedleRing();
}

// 32 long bullets in groups of four a twenty-fourth apart, each group a
// further twelfth on; the second volley of each second turned by a twelfth.
void FireStaggeredVolley(bool turned) {
  for (int i = 0; i < 32; ++i) {
    const double group = (i / 4) * (PI_APPROX / 12);
    const double step = i * (PI_APPROX / 24);
    const double theta = turned ? step + PI_APPROX / 12 + group : group + step;
    Ring(enemyBulletsD, 1, 0.0, 3.0, BossCentre(), theta, kLong);
  }
}

void ThirdStock() {
  if (!SetUpStockOrFire([] {})) return;
  if (EveryFrames(60, 1)) FireStaggeredVolley(false);
  if (EveryFrames(60, 31)) FireStaggeredVolley(true);
}

// Four circles orbit the boss and aim at the player; needle rings leave the
// boss.
void LastStock() {
  if (!SetUpStockOrFire([] { CircleSetup({0, 1, 2, 3}, {.angle = 0.0}); })) return;
  CircleOrbit({0, 1, 2, 3}, 100.0, PI_APPROX / 2, 1, kOrbitRate);
  if (EveryFrames(20, 1)) {
    for (int i = 0; i < kCircleCount; ++i) AimedShot(enemyBulletsA, 3.0, CirclePosition(i), kSmall);
  }
  if (EveryFrames(30, 16)) FireNeedleRing();
}

}  // namespace

void RunStage2Battle() {
  SetCentreFromBox();
  boss.patternFrame = boss.patternFrame + 1;
  FollowPath();
  TurnCircleClocks();
  if (!RunStockRoutine({LastStock, ThirdStock, SecondStock, FirstStock})) boss.stocks = 0;
}
