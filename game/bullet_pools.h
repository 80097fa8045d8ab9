// The pools of everything that flies in a battle: reset, spawn, motion and
// drawing. A spawn takes the first free record of its pool and a full pool
// drops it; every pass walks the whole pool.
#pragma once

#include "game_records.h"

// Marks the first record whose active flag is 0 active and returns it, for
// the spawner to fill the fields it names; nullptr when all are active.
BulletRecord* SpawnBullet(BulletRecord* pool, int size);
template <int N>
BulletRecord* SpawnBullet(BulletRecord (&pool)[N]) {
  return SpawnBullet(pool, N);
}

// Frees every record of the four enemy pools; nothing else changes.
void ClearEnemyPools();

// Resets every pool before a battle and loads the bullet pictures.
void LoadBullets();
// One frame of motion: flight, homing turns, side-shot ageing, bounds.
void MoveShotsAndBullets();
// Draws every active record by pool and kind.
void DrawShotsAndBullets();
