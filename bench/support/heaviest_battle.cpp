#include "support/heaviest_battle.h"

#include <cmath>
#include <cstring>
#include <random>
#include <utility>

#include <WqLib.h>

#include "background_scroll.h"
#include "boss_battles.h"
#include "boss_drawing.h"
#include "bullet_pools.h"
#include "explosions.h"
#include "game_state.h"
#include "hit_tests.h"
#include "hud.h"
#include "key_codes.h"
#include "player.h"

namespace wqbench {

namespace {

constexpr int kBattleScene = 4;
constexpr double kBulletSpeed = 3.0;
constexpr double kPi = 3.14159265358979;

// The parts of the game's state a battle frame reads or writes.
std::vector<std::pair<void*, std::size_t>> BattleState() {
  return {{&player, sizeof player},
          {&boss, sizeof boss},
          {explosions, sizeof explosions},
          {enemyBulletsA, sizeof enemyBulletsA},
          {enemyBulletsB, sizeof enemyBulletsB},
          {enemyBulletsC, sizeof enemyBulletsC},
          {enemyBulletsD, sizeof enemyBulletsD},
          {playerShots, sizeof playerShots},
          {sideShots, sizeof sideShots},
          {magicCircles, sizeof magicCircles},
          {bulletDistSq, sizeof bulletDistSq},
          {shotDistSq, sizeof shotDistSq},
          {playerHpPips, sizeof playerHpPips},
          {bossHpPips, sizeof bossHpPips},
          {keyHold, sizeof keyHold},
          {&sceneNumber, sizeof sceneNumber},
          {&score, sizeof score},
          {&bombs, sizeof bombs},
          {&battleClock, sizeof battleClock},
          {&fireCounter, sizeof fireCounter},
          {&firstFrameWaitDone, sizeof firstFrameWaitDone},
          {&scrollX, sizeof scrollX},
          {&scrollY, sizeof scrollY}};
}

// Somewhere inside the playfield's bounds, flying at the stage's speed in
// any direction.
void Scatter(BulletRecord& record, std::mt19937& random, int kind) {
  const double angle = static_cast<double>(random() % 6283) / 1000.0;
  record.kind = kind;
  record.x = 40.0 + static_cast<double>(random() % 800);
  record.y = 190.0 + static_cast<double>(random() % 600);
  record.speed = kBulletSpeed;
  record.vx = kBulletSpeed * std::cos(angle);
  record.vy = kBulletSpeed * std::sin(angle);
  record.angle = angle;
  record.age = static_cast<int>(random() % 50);  // below the age at which pool B converts
  record.active = 1;
}

template <int N>
void Fill(BulletRecord (&pool)[N], std::mt19937& random, int kind) {
  for (BulletRecord& record : pool) Scatter(record, random, kind);
}

}  // namespace

void SetUpHeaviestBattle() {
  // The player at its start place, moving left and shooting, HP full,
  // every bomb in hand.
  player.x = 422.0;
  player.y = 751.0;
  player.width = 38;
  player.height = 49;
  player.centreX = 441.0;
  player.centreY = 775.0;
  player.alive = 1;
  player.hp = 30.0;
  keyHold[KEY_SHOOT] = 5;
  keyHold[KEY_LEFT] = 5;
  fireCounter = 0;
  bombs = 3;

  std::mt19937 random(2024);
  // The kinds stage 1 fires: small bullets into A, large rings into B and
  // round ring bullets into D; C holds the small bullets its reset leaves.
  Fill(enemyBulletsA, random, 1);
  Fill(enemyBulletsB, random, 0);
  Fill(enemyBulletsC, random, 0);
  Fill(enemyBulletsD, random, 0);
  Fill(sideShots, random, 0);
  // The main shots in a column above the player, on their way up.
  for (int i = 0; i < SHOT_POOL_SIZE; ++i) {
    BulletRecord& shot = playerShots[i];
    shot.x = player.centreX + (i % 4 - 1.5) * 9;
    shot.y = 200.0 + 5.5 * i;
    shot.vy = -20.0;
    shot.active = 1;
  }

  // The boss in its last stock where stage 1 starts it, at the frame of the
  // ring into pool D, with its two circles beside it.
  boss.x = 414.0;
  boss.y = 255.0;
  boss.width = 55;
  boss.height = 94;
  boss.centreX = 441.0;
  boss.centreY = 302.0;
  boss.alive = 1;
  boss.stocks = 0;
  boss.phase = 1;
  boss.hp = 30.0;
  boss.patternFrame = 30;
  boss.volleyCount = 0;
  boss.swayDirection = 1;
  for (int i = 0; i < 2; ++i) {
    BulletRecord& circle = magicCircles[i];
    circle.active = 1;
    circle.x = boss.centreX + (i == 0 ? 150.0 : -150.0);
    circle.y = boss.centreY - 30.0;
    circle.angle = 0.5 * i;
  }

  for (int i = 0; i < EXPLOSION_COUNT; ++i) {
    ObjectRecord& explosion = explosions[i];
    explosion.alive = 1;
    explosion.phase = 1;
    explosion.patternFrame = 1 + i % (EXPLOSION_FRAME_COUNT - 1);
    explosion.x = 100.0 + 45.0 * i;
    explosion.y = 250.0 + 30.0 * (i % 8);
  }

  score = 987654321;
  battleClock = {.frames = 30, .seconds = 95};
  scrollX = PLAYFIELD_LEFT;
  scrollY = 500;
  firstFrameWaitDone = 1;
  sceneNumber = kBattleScene;
}

SavedBattle::SavedBattle() {
  for (const auto& [data, size] : BattleState()) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + size);
  }
}

void SavedBattle::Restore() const {
  const unsigned char* next = bytes_.data();
  for (const auto& [data, size] : BattleState()) {
    std::memcpy(data, next, size);
    next += size;
  }
}

void RunBattleLogic() {
  LayoutHudPips();
  MovePlayer();
  ClampPlayer();
  FirePlayerShots();
  MoveShotsAndBullets();
  RunStage1Battle();
  MeasureShotDistances();
  ApplyShotHits();
  MeasureBulletDistances();
  ApplyBulletHits();
}

void DrawBattle() {
  ScrollBackground();
  DrawGraph(static_cast<int>(player.x), static_cast<int>(player.y), player.graph, 1);
  DrawBoss();
  DrawGraph(0, 0, sideFrameGraph, 1);
  DrawHud();
  DrawShotsAndBullets();
  DrawExplosions();
  TickClockAndDrawScore();
}

const char* PictureFile(Picture picture) {
  static const char* const kFiles[static_cast<int>(Picture::kCount)] = {
      "Pict/Backgraund/backgraund_new.png", "Pict/Chara/それいゆ.png",      "Pict/Chara/すいせい4.png",
      "Pict/Backgraund/sideflame.png",      "Pict/Other/meru.png",          "Pict/Other/HP.png",
      "Pict/Other/eneHP.png",               "Pict/Other/bomb.png",          "Pict/Bullet/tama01.png",
      "Pict/Bullet/弾00.png",               "Pict/Bullet/弾00_1.png",       "Pict/Bullet/弾00_2.png",
      "Pict/Other/magic_circuit02_2.png",   "Pict/Effect/explosion1_1a.png"};
  return kFiles[static_cast<int>(picture)];
}

std::vector<Sprite> HeaviestBattleSprites() {
  std::vector<Sprite> sprites;
  auto at = [&](Picture picture, int x, int y) { sprites.push_back({picture, 0, x, y, 1.0, 0.0, false}); };
  auto centred = [&](Picture picture, double x, double y, double scale, double angle, int cell = 0) {
    sprites.push_back({picture, cell, static_cast<int>(x), static_cast<int>(y), scale, angle, true});
  };
  constexpr int kCopySpacing = PLAYFIELD_BOTTOM - PLAYFIELD_TOP;
  for (int copy = 0; copy < 3; ++copy) at(Picture::kBackground, scrollX, scrollY - copy * kCopySpacing);
  at(Picture::kPlayer, static_cast<int>(player.x), static_cast<int>(player.y));
  centred(Picture::kBoss, boss.centreX, boss.centreY, 1.0, 0.0);
  at(Picture::kSideFrame, 0, 0);
  at(Picture::kBossFace, 406, 90);
  for (int i = 0; i < HUD_PIP_COUNT; ++i) at(Picture::kPlayerPip, 355 - 11 * i, 95);
  for (int i = 0; i < HUD_PIP_COUNT; ++i) at(Picture::kBossPip, 486 + 11 * i, 95);
  for (int i = 0; i < bombs; ++i) at(Picture::kBomb, 365 - 25 * i, 140);
  for (const BulletRecord& shot : playerShots) centred(Picture::kShot, shot.x, shot.y, 0.5, 0.0);
  for (const BulletRecord& shot : sideShots) centred(Picture::kShot, shot.x, shot.y, 0.5, 0.0);
  for (const BulletRecord& bullet : enemyBulletsA) centred(Picture::kSmallBullet, bullet.x, bullet.y, 0.5, 0.0);
  for (const BulletRecord& bullet : enemyBulletsB) centred(Picture::kLargeBullet, bullet.x, bullet.y, 1.5, 0.0);
  for (const BulletRecord& bullet : enemyBulletsC) centred(Picture::kSmallBullet, bullet.x, bullet.y, 0.5, 0.0);
  for (const BulletRecord& bullet : enemyBulletsD) centred(Picture::kRoundBullet, bullet.x, bullet.y, 0.5, 0.0);
  for (int i = 0; i < 2; ++i) {
    centred(Picture::kMagicCircle, magicCircles[i].x, magicCircles[i].y, 1.0, magicCircles[i].angle);
  }
  for (const ObjectRecord& explosion : explosions) {
    centred(Picture::kExplosionStrip, explosion.x, explosion.y, 1.5, 0.0, explosion.patternFrame);
  }
  return sprites;
}

}  // namespace wqbench
