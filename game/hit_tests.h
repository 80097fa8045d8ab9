// What hit what in a battle frame: the player's shots against the boss,
// then the enemy bullets against the player. Each side measures the
// squared distance of every record first and applies the hits after.
#pragma once

#include "game_state.h"

// Each enemy pool, the squared distance under which its bullets hit the
// player, and the HP a hit takes.
struct EnemyPoolHits {
  BulletRecord* pool;
  int reachSq;
  double damage;
};
extern const EnemyPoolHits kEnemyPoolHits[ENEMY_POOL_COUNT];

// The squared distance dx² + dy², truncated toward zero to int. A distance
// too large for an int counts as the largest int, so it never hits.
int TruncatedDistanceSq(double dx, double dy);

void MeasureShotDistances();
// Takes the shots that hit the boss: HP, score, and the loss of a stock or
// the boss's defeat.
void ApplyShotHits();
void MeasureBulletDistances();
// Takes the bullets that hit the player; game over when its HP is gone.
void ApplyBulletHits();
