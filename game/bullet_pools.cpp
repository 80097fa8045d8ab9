// Resetting the pools, loading the bullet pictures and spawning.
#include "bullet_pools.h"

#include "game_state.h"
#include "picture_cache.h"

namespace {

constexpr double kShotSpeedY = -20.0;

void ResetShotPool(BulletRecord (&pool)[SHOT_POOL_SIZE]) {
  for (BulletRecord& shot : pool) {
    shot.x = 0;
    shot.y = 0;
    shot.active = 0;
    shot.vx = 0;
    shot.vy = kShotSpeedY;
  }
}

void ResetEnemyPool(BulletRecord (&pool)[ENEMY_POOL_SIZE]) {
  for (BulletRecord& bullet : pool) {
    bullet.active = 0;
    bullet.age = 0;
    bullet.kind = 0;
  }
}

}  // namespace

BulletRecord* SpawnBullet(BulletRecord* pool, int size) {
  for (int i = 0; i < size; ++i) {
    if (pool[i].active == 0) {
      pool[i].active = 1;
      return &pool[i];
    }
  }
  return nullptr;
}

void ClearEnemyPools() {
  BulletRecord* const pools[ENEMY_POOL_COUNT] = {enemyBulletsA, enemyBulletsB, enemyBulletsC, enemyBulletsD};
  for (BulletRecord* pool : pools) {
    for (int i = 0; i < ENEMY_POOL_SIZE; ++i) pool[i].active = 0;
  }
}

void LoadBullets() {
  ResetShotPool(playerShots);
  ResetShotPool(sideShots);
  ResetEnemyPool(enemyBulletsA);
  ResetEnemyPool(enemyBulletsB);
  ResetEnemyPool(enemyBulletsC);
  ResetEnemyPool(enemyBulletsD);
  for (BulletRecord& circle : magicCircles) circle.active = 0;
  smallBulletGraph = LoadPicture("Pict/Bullet/弾00.png");
  largeBulletGraph = LoadPicture("Pict/Bullet/弾00_1.png");
  roundBulletGraph = LoadPicture("Pict/Bullet/弾00_2.png");
  longBulletGraph = LoadPicture("Pict/Bullet/弾04.png");
  needleBulletGraph = LoadPicture("Pict/Bullet/弾02_0.png");
  blueStarGraph = LoadPicture("Pict/Bullet/star_blue.png");
  orangeStarGraph = LoadPicture("Pict/Bullet/star_orange.png");
  greenStarGraph = LoadPicture("Pict/Bullet/star_green.png");
}
