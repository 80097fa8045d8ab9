// What the battle tests share: every test starts from the game state the
// program starts with, on a virtual clock so that the boss's defeat pause
// passes at once, with helpers to hold keys and place the player, the boss
// and the pools' records.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <ostream>

#include "bullet_pools.h"
#include "game_rand.h"
#include "game_state.h"
#include "player.h"
#include "platform/control.h"

// The cases build records with designated initializers that name only the
// fields they set; the others are zero, as the language defines.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// The pi of the game's angles.
inline constexpr double kPi = 3.14159;

// One frame of a swaying boss: where it stands and goes, and whether the
// frame fires (a frame that turns the sway fires nothing).
struct SwayCase {
  int direction;
  double x, xAfter;
  int directionAfter;
  bool fires;
};

inline std::ostream& operator<<(std::ostream& out, const SwayCase& sway) {
  return out << "direction " << sway.direction << " x " << sway.x;
}

class BattleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    ResetBattleState();
  }

  // The pools, tables and scalars a battle reads and writes, and the random
  // sequence, as the program starts them: a test sees nothing that an
  // earlier test in the same process left. The picture, font and sound
  // handles stay; no battle test starts the library.
  static void ResetBattleState() {
    Zero(player, boss, explosions, enemyBulletsA, enemyBulletsB, enemyBulletsC, enemyBulletsD, playerShots, sideShots,
         magicCircles, bulletDistSq, shotDistSq, playerHpPips, bossHpPips, keyHold, sceneNumber, score, bombs,
         dialogueIndex, dialogueTimer, battleClock, timeBonus, hpBonus, spinAngle, fireCounter, firstFrameWaitDone,
         scrollX, scrollY);
    RestartGameRand();
  }

  // Value-initializes each argument, every element of a table.
  template <typename... Values>
  static void Zero(Values&... values) {
    (ZeroOne(values), ...);
  }

  // Exactly these keys down, each for `frames` frames (1: pressed now).
  static void HoldKeys(std::initializer_list<int> keys, std::uint32_t frames = 2) {
    Zero(keyHold);
    for (int key : keys) keyHold[key] = frames;
  }

  static void PlacePlayer(double x, double y) {
    player.width = kPlayerWidth;
    player.height = kPlayerHeight;
    player.x = x;
    player.y = y;
    player.centreX = x + kPlayerHitOffsetX;
    player.centreY = y + kPlayerHitOffsetY;
  }

  static void FillPool(BulletRecord* pool, int size) {
    for (int i = 0; i < size; ++i) pool[i].active = 1;
  }

  // A full pool but for the records named, which are free; each record
  // keeps its other fields. The list may be braced or any range of indices.
  template <typename Indices = std::initializer_list<int>>
  static void FillPoolExcept(BulletRecord* pool, int size, const Indices& freeRecords) {
    FillPool(pool, size);
    for (int i : freeRecords) pool[i].active = 0;
  }

  // Every record free; each keeps its other fields.
  template <int N>
  static void FreePool(BulletRecord (&pool)[N]) {
    for (BulletRecord& record : pool) record.active = 0;
  }

  static int CountActive(const BulletRecord* pool, int size) {
    int count = 0;
    for (int i = 0; i < size; ++i) count += pool[i].active != 0;
    return count;
  }

  static int Active(const BulletRecord* pool) { return CountActive(pool, ENEMY_POOL_SIZE); }

  // The boss as a stage loader leaves it: its box, the centre on the box
  // (integer halves), a full stock of HP, the first of its stocks, alive.
  static void PlaceBossAsLoaded(int x, int y, int width, int height) {
    boss = {};
    boss.x = x;
    boss.y = y;
    boss.width = width;
    boss.height = height;
    boss.centreX = x + width / 2;
    boss.centreY = y + height / 2;
    boss.hp = 30;
    boss.stocks = 3;
    boss.alive = 1;
  }

  // The boss in a stock, a phase of it and at a frame of its pattern.
  static void InStock(int stocks, int phase, int patternFrame) {
    boss.stocks = stocks;
    boss.phase = phase;
    boss.patternFrame = patternFrame;
  }

  // Where and which way a sway case starts the boss.
  static void StartSway(const SwayCase& sway) {
    boss.swayDirection = static_cast<std::uint8_t>(sway.direction);
    boss.x = sway.x;
  }

  static void ExpectSwayed(const SwayCase& sway) {
    EXPECT_EQ(boss.x, sway.xAfter);
    EXPECT_EQ(boss.swayDirection, sway.directionAfter);
  }

  // A battle's frames as the frame loop runs them: the pools move, then the
  // boss moves and fires.
  static void Frames(void (*runBattle)(), int count) {
    for (int frame = 0; frame < count; ++frame) {
      MoveShotsAndBullets();
      runBattle();
    }
  }

 private:
  template <typename T>
  static void ZeroOne(T& value) {
    value = T{};
  }

  template <typename T, std::size_t N>
  static void ZeroOne(T (&table)[N]) {
    for (T& element : table) ZeroOne(element);
  }
};
