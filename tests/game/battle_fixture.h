// What the battle tests share: a virtual clock, so that the boss's defeat
// pause passes at once, and helpers to hold keys and place the player.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "game_state.h"
#include "platform/control.h"

// The cases build records with designated initializers that name only the
// fields they set; the others are zero, as the language defines.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// One frame of a swaying boss: where it stands and goes, and whether the
// frame fires (a frame that turns the sway fires nothing).
struct SwayCase {
  int direction;
  double x, xAfter;
  int directionAfter;
  bool fires;
};

class BattleTest : public ::testing::Test {
 protected:
  void SetUp() override { WqControlEnableVirtualClock(true); }

  // Exactly these keys down, each for `frames` frames (1: pressed now).
  static void HoldKeys(std::initializer_list<int> keys, std::uint32_t frames = 2) {
    for (std::uint32_t& counter : keyHold) counter = 0;
    for (int key : keys) keyHold[key] = frames;
  }

  static void PlacePlayer(double x, double y) {
    player.width = 38;
    player.height = 49;
    player.x = x;
    player.y = y;
    player.centreX = x + 19;
    player.centreY = y + 24;
  }

  static void FillPool(BulletRecord* pool, int size) {
    for (int i = 0; i < size; ++i) pool[i].active = 1;
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
};
