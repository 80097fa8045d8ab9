// The player's volleys and bombs.
#include <cmath>

#include <WqLib.h>

#include "bullet_pools.h"
#include "game_state.h"
#include "key_codes.h"
#include "key_hold.h"
#include "player.h"

namespace {

constexpr int kVolleyPeriod = 3;
constexpr double kMainShotOffsets[] = {-5, +5, -13, +13};
constexpr double kSideShotSpeedX = 10.0;

// A side shot starts toward its side; its vy is what the record last held.
// Its angle is the direction from the boss's centre, as a homing record's.
void SpawnSideShot(double x, double y, double vx) {
  BulletRecord* shot = SpawnBullet(sideShots);
  if (shot == nullptr) return;
  shot->x = x;
  shot->y = y;
  shot->vx = vx;
  shot->angle = std::atan2(shot->y - boss.centreY, shot->x - boss.centreX);
}

// Four main shots from the player's centre, then a side shot on each side.
void FireVolley() {
  const double shotY = player.y + player.height / 2;
  for (double offset : kMainShotOffsets) {
    BulletRecord* shot = SpawnBullet(playerShots);
    if (shot == nullptr) continue;
    shot->x = player.x + player.width / 2 + offset;
    shot->y = shotY;
  }
  SpawnSideShot(player.x, shotY, -kSideShotSpeedX);
  SpawnSideShot(player.x + player.width, shotY, kSideShotSpeedX);
}

}  // namespace

void FirePlayerShots() {
  if (KeyHeld(KEY_SHOOT)) {
    fireCounter = fireCounter + 1;
    if (fireCounter % kVolleyPeriod == 1) FireVolley();
  }
  if (KeyPressed(KEY_BOMB) && bombs >= 1) {
    bombs = bombs - 1;
    PlaySoundHandle(bombSound, 1, 1);
    ClearEnemyPools();
  }
}
