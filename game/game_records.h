// The game's record types and the sizes of its fixed pools and tables.
#pragma once

#include <cstdint>

inline constexpr int SCREEN_WIDTH = 882;
inline constexpr int SCREEN_HEIGHT = 820;
inline constexpr int PLAYFIELD_LEFT = 25;
inline constexpr int PLAYFIELD_RIGHT = 857;
inline constexpr int PLAYFIELD_TOP = 176;
inline constexpr int PLAYFIELD_BOTTOM = 800;

inline constexpr int ENEMY_POOL_SIZE = 2000;
inline constexpr int SHOT_POOL_SIZE = 100;
inline constexpr int EXPLOSION_COUNT = 16;
inline constexpr int EXPLOSION_FRAME_COUNT = 16;  // cells of the explosion strip
inline constexpr int MAGIC_CIRCLE_COUNT = 20;
inline constexpr int ENEMY_POOL_COUNT = 4;
inline constexpr int SHOT_POOL_COUNT = 2;
inline constexpr int HUD_PIP_COUNT = 30;
inline constexpr int TITLE_MENU_ITEM_COUNT = 5;
inline constexpr int KEY_CODE_COUNT = 256;
inline constexpr int DIALOGUE_PICTURE_COUNT = 4;
inline constexpr int STAGE_COUNT = 6;

// The player, the boss and each explosion. Explosions use x and y as the
// centre of the drawn frame, phase as their kind and patternFrame as the
// animation frame.
struct ObjectRecord {
  int graph;
  double x;
  double y;
  double vx;
  double vy;
  double baseX;
  double baseY;
  int width;
  int height;
  std::uint8_t alive;
  double centreX;
  double centreY;
  double hp;
  int stocks;
  std::uint8_t swayDirection;
  int frameCounter;
  int phase;
  int groupToggle;
  int patternFrame;
  int volleyCount;
  int rotatingIndex;
  int pathTime;
};

// One enemy bullet, player shot or magic circle (whose kind is its graph).
struct BulletRecord {
  int kind;
  double x;
  double y;
  double vx;
  double vy;
  double speed;
  double angle;
  int age;
  std::uint8_t active;
  int moveMode;
};

// One pip of an HP bar; only the first pip of a table holds the picture.
struct HudPip {
  double x;
  double y;
  int graph;
};

inline constexpr int TITLE_MENU_LABEL_SIZE = 64;

// A title-menu position; record 0 is the cursor, the labels stay empty.
struct TitleMenuItem {
  int x;
  int y;
  char label[TITLE_MENU_LABEL_SIZE];
};

// The two counters of the battle clock: frames 0..59 and whole seconds.
struct BattleClock {
  int frames;
  int seconds;
};
