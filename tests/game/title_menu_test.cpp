// The title menu and the new-game reset, run without the framework (every
// sound and draw call then fails at once, as with a missing file).
#include <gtest/gtest.h>

#include "game_state.h"
#include "key_codes.h"
#include "title_menu.h"

namespace {

struct MenuCase {
  const char* name;
  int index;
  int cursorY;
  std::initializer_list<int> pressed;  // counters at 1 this frame
  std::initializer_list<int> held;     // counters at 2: down since an earlier frame
  int expectedIndex;
  int expectedCursorY;
  int expectedScene;
};

TEST(TitleMenu, KeysMoveTheCursorAndChoose) {
  const MenuCase cases[] = {
      {"down toggles", 0, 540, {KEY_DOWN}, {}, 1, 603, 1},
      {"up toggles too", 0, 540, {KEY_UP}, {}, 1, 603, 1},
      {"down from quit wraps to start", 1, 603, {KEY_DOWN}, {}, 0, 540, 1},
      {"up and down together cancel out", 1, 603, {KEY_UP, KEY_DOWN}, {}, 1, 603, 1},
      {"held keys do not move it again", 0, 540, {}, {KEY_DOWN, KEY_UP}, 0, 540, 1},
      {"Enter on start starts a game", 0, 540, {KEY_ENTER}, {}, 0, 540, 2},
      {"held Enter chooses nothing", 0, 540, {}, {KEY_ENTER}, 0, 540, 1},
      {"Enter on quit ends, scene unchanged", 1, 603, {KEY_ENTER}, {}, 1, 603, 1},
      {"down and Enter together choose quit", 0, 540, {KEY_DOWN, KEY_ENTER}, {}, 1, 603, 1},
  };
  for (const MenuCase& c : cases) {
    for (std::uint32_t& counter : keyHold) counter = 0;
    for (int code : c.pressed) keyHold[code] = 1;
    for (int code : c.held) keyHold[code] = 2;
    titleMenuIndex = c.index;
    titleMenu[0].y = c.cursorY;
    sceneNumber = 1;
    RunTitleMenu();
    EXPECT_EQ(titleMenuIndex, c.expectedIndex) << c.name;
    EXPECT_EQ(titleMenu[0].y, c.expectedCursorY) << c.name;
    EXPECT_EQ(sceneNumber, c.expectedScene) << c.name;
  }
}

// The music starts on the first title frame after a reset, not again.
TEST(TitleMenu, StartsTheTitleMusicOncePerReset) {
  RunTitleMenu();
  EXPECT_EQ(titleMusicStarted, 1);
  RunTitleMenu();
  EXPECT_EQ(titleMusicStarted, 1);
  ResetGame();
  EXPECT_EQ(titleMusicStarted, 0);
}

TEST(ResetGame, ClearsWhatTheLastGameLeftAndKeepsTheRest) {
  score = 1234;
  timeBonus = 5;
  hpBonus = 6;
  bombs = 0;
  gameOverMusicStarted = 1;
  battleClock = {42, 99};
  for (BulletRecord* pool : {enemyBulletsA, enemyBulletsB, enemyBulletsC, enemyBulletsD}) {
    for (int i : {0, ENEMY_POOL_SIZE - 1}) {
      pool[i].kind = 3;
      pool[i].x = 7.0;
      pool[i].active = 1;
    }
  }
  magicCircles[MAGIC_CIRCLE_COUNT - 1].kind = 9;
  magicCircles[MAGIC_CIRCLE_COUNT - 1].active = 1;
  magicCircles[MAGIC_CIRCLE_COUNT - 1].moveMode = 1;
  explosions[EXPLOSION_COUNT - 1].alive = 1;
  playerShots[0].active = 1;
  player.hp = 12.0;
  boss.stocks = 2;
  fireCounter = 77;
  spinAngle = 1.5;
  titleMenuIndex = 1;
  titleMenu[0].y = 603;
  dialogueIndex = 4;

  ResetGame();

  EXPECT_EQ(score, 0);
  EXPECT_EQ(timeBonus, 0);
  EXPECT_EQ(hpBonus, 0);
  EXPECT_EQ(bombs, 3);
  EXPECT_EQ(gameOverMusicStarted, 0);
  EXPECT_EQ(battleClock.frames, 0);
  EXPECT_EQ(battleClock.seconds, 0);
  for (BulletRecord* pool : {enemyBulletsA, enemyBulletsB, enemyBulletsC, enemyBulletsD}) {
    for (int i : {0, ENEMY_POOL_SIZE - 1}) {
      EXPECT_EQ(pool[i].active, 0);
      EXPECT_EQ(pool[i].kind, 0);
      EXPECT_EQ(pool[i].x, 7.0) << "only the flag and kind are cleared";
    }
  }
  EXPECT_EQ(magicCircles[MAGIC_CIRCLE_COUNT - 1].active, 0);
  EXPECT_EQ(magicCircles[MAGIC_CIRCLE_COUNT - 1].moveMode, 0);
  EXPECT_EQ(magicCircles[MAGIC_CIRCLE_COUNT - 1].kind, 9) << "a circle keeps its picture";
  EXPECT_EQ(explosions[EXPLOSION_COUNT - 1].alive, 0);
  // What the stage-1 load sets, and what outlives a game, stays.
  EXPECT_EQ(playerShots[0].active, 1);
  EXPECT_EQ(player.hp, 12.0);
  EXPECT_EQ(boss.stocks, 2);
  EXPECT_EQ(fireCounter, 77);
  EXPECT_EQ(spinAngle, 1.5);
  EXPECT_EQ(titleMenuIndex, 1);
  EXPECT_EQ(titleMenu[0].y, 603);
  EXPECT_EQ(dialogueIndex, 4);
}

}  // namespace
