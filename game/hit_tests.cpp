#include "hit_tests.h"

#include <climits>

#include <WqLib.h>

#include "explosions.h"
#include "game_state.h"
#include "player.h"

namespace {

constexpr int BOSS_HIT_RADIUS_SQ = 462;
constexpr int HIT_RADIUS_SQ = 169;
constexpr int LARGE_HIT_RADIUS_SQ = 1400;
constexpr double kMainShotDamage = 0.05;
constexpr double kSideShotDamage = 0.02;
constexpr int kHitScore = 100;
constexpr int kStockScore = 100;
constexpr double kBossStockHp = 30.0;
constexpr int kDefeatPauseMs = 1000;
constexpr int kGameOverScene = 29;

void MeasurePool(const BulletRecord* pool, int size, double x, double y, int* distances) {
  for (int i = 0; i < size; ++i) distances[i] = TruncatedDistanceSq(pool[i].x - x, pool[i].y - y);
}

// A shot that hits is used up and scores.
bool TakeShotHit(BulletRecord& shot, int distanceSq, double damage) {
  if (shot.active == 0 || distanceSq >= BOSS_HIT_RADIUS_SQ) return false;
  boss.hp = boss.hp - damage;
  shot.active = 0;
  score = score + kHitScore;
  return true;
}

// The next stock starts with full HP at the centre of the boss's box, at
// the set-up of its pattern in the next frame.
void LoseStock() {
  boss.stocks = boss.stocks - 1;
  boss.hp = kBossStockHp;
  boss.centreX = boss.x + boss.width / 2;
  boss.centreY = boss.y + boss.height / 2;
  PlaySoundHandle(bossBreakSound, 1, 1);
  SpawnExplosion(boss.centreX, boss.centreY);
  score = score + kStockScore;
  boss.phase = 0;
}

// The game stands still for a second, then the after-battle dialogue
// starts at its first step.
void DefeatBoss() {
  SpawnExplosion(boss.centreX, boss.centreY);
  PlaySoundHandle(bossBreakSound, 1, 1);
  boss.alive = 0;
  dialogueIndex = 0;
  WaitMilliseconds(kDefeatPauseMs);
  sceneNumber = sceneNumber + 1;
}

// Main shots: once the HP is gone the stock is lost (or the last stock
// defeated) and the rest of the pool waits for the next frame.
void ApplyMainShotHits() {
  for (int i = 0; i < SHOT_POOL_SIZE; ++i) {
    if (!TakeShotHit(playerShots[i], shotDistSq[0][i], kMainShotDamage) || boss.hp > 0) continue;
    if (boss.stocks > 0 && boss.alive != 0) {
      LoseStock();
      return;
    }
    if (boss.stocks == 0) {
      DefeatBoss();
      return;
    }
  }
}

// Side shots hit also after a main shot emptied a stock in this frame;
// against a boss that is gone they still score but change nothing more.
void ApplySideShotHits() {
  for (int i = 0; i < SHOT_POOL_SIZE; ++i) {
    if (!TakeShotHit(sideShots[i], shotDistSq[1][i], kSideShotDamage) || boss.hp > 0 || boss.alive == 0) continue;
    if (boss.stocks > 0) {
      LoseStock();
      return;
    }
    if (boss.stocks == 0) {
      DefeatBoss();
      return;
    }
  }
}

}  // namespace

const EnemyPoolHits kEnemyPoolHits[ENEMY_POOL_COUNT] = {
    {enemyBulletsA, HIT_RADIUS_SQ, 1.0},
    {enemyBulletsB, LARGE_HIT_RADIUS_SQ, 2.0},
    {enemyBulletsC, HIT_RADIUS_SQ, 1.0},
    {enemyBulletsD, HIT_RADIUS_SQ, 1.0},
};

int TruncatedDistanceSq(double dx, double dy) {
  const double distanceSq = dx * dx + dy * dy;
  if (!(distanceSq < static_cast<double>(INT_MAX))) return INT_MAX;
  return static_cast<int>(distanceSq);
}

void MeasureShotDistances() {
  MeasurePool(playerShots, SHOT_POOL_SIZE, boss.centreX, boss.centreY, shotDistSq[0]);
  MeasurePool(sideShots, SHOT_POOL_SIZE, boss.centreX, boss.centreY, shotDistSq[1]);
}

void ApplyShotHits() {
  ApplyMainShotHits();
  ApplySideShotHits();
}

void MeasureBulletDistances() {
  const double hitX = player.x + kPlayerHitOffsetX;
  const double hitY = player.y + kPlayerHitOffsetY;
  for (int p = 0; p < ENEMY_POOL_COUNT; ++p) {
    MeasurePool(kEnemyPoolHits[p].pool, ENEMY_POOL_SIZE, hitX, hitY, bulletDistSq[p]);
  }
}

// Every hit of the frame counts; there is no safe time after a hit.
void ApplyBulletHits() {
  for (int p = 0; p < ENEMY_POOL_COUNT; ++p) {
    const EnemyPoolHits& pool = kEnemyPoolHits[p];
    for (int i = 0; i < ENEMY_POOL_SIZE; ++i) {
      BulletRecord& bullet = pool.pool[i];
      if (bullet.active == 0 || bulletDistSq[p][i] >= pool.reachSq) continue;
      bullet.active = 0;
      PlaySoundHandle(hitSound, 1, 1);
      player.hp = player.hp - pool.damage;
    }
  }
  if (player.hp <= 0) sceneNumber = kGameOverScene;
}
