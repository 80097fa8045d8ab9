// The title assets, the new-game reset and the title menu.
#include "title_menu.h"

#include <WqLib.h>

#include "game_state.h"
#include "key_codes.h"
#include "key_hold.h"
#include "picture_cache.h"

namespace {

constexpr const char* kFontFace = "メイリオ";

int CreateGameFont(int size, int thickness) {
  return CreateFontToHandle(kFontFace, size, thickness, 0, -1, -1, 0, -1, -1);
}

template <int N>
void ClearEnemyPool(BulletRecord (&pool)[N]) {
  for (BulletRecord& bullet : pool) {
    bullet.active = 0;
    bullet.kind = 0;
  }
}

// Plays the cursor sound to its end.
void PlayCursorSound() { PlaySoundHandle(cursorSound, 0, 1); }

}  // namespace

void LoadTitle() {
  titleMenuIndex = 0;
  titleGraph = LoadPicture("Pict/Backgraund/title.png");
  sideFrameGraph = LoadPicture("Pict/Backgraund/sideflame.png");
  titleMenu[0].x = TITLE_CURSOR_X;
  titleMenu[0].y = TITLE_CURSOR_START_Y;
  cursorGraph = LoadPicture("Pict/Other/や.png");
  hudFont = CreateGameFont(50, 5);
  bannerFont = CreateGameFont(70, 5);
  dialogueFont = CreateGameFont(25, 7);
}

void ResetGame() {
  score = 0;
  timeBonus = 0;
  hpBonus = 0;
  titleMusicStarted = 0;
  gameOverMusicStarted = 0;
  battleClock.frames = 0;
  battleClock.seconds = 0;
  ClearEnemyPool(enemyBulletsA);
  ClearEnemyPool(enemyBulletsB);
  ClearEnemyPool(enemyBulletsC);
  ClearEnemyPool(enemyBulletsD);
  for (BulletRecord& circle : magicCircles) {
    circle.active = 0;
    circle.moveMode = 0;
  }
  for (ObjectRecord& explosion : explosions) explosion.alive = 0;
  StopSoundHandle(gameOverMusic);
  bombs = 3;
}

void RunTitleMenu() {
  if (titleMusicStarted == 0) {
    PlaySoundHandle(titleMusic, 3, 1);
    titleMusicStarted = 1;
  }
  // Up and down both toggle between the two items; pressed together they
  // cancel out.
  const bool down = KeyPressed(KEY_DOWN);
  const bool up = KeyPressed(KEY_UP);
  if (down) titleMenuIndex = (titleMenuIndex + 1) % 2;
  if (up) titleMenuIndex = (titleMenuIndex + 1) % 2;
  if (up || down) titleMenu[0].y = titleMenuIndex == 0 ? TITLE_CURSOR_START_Y : TITLE_CURSOR_QUIT_Y;

  if (KeyPressed(KEY_ENTER)) {
    if (titleMenu[0].y == TITLE_CURSOR_START_Y) {
      PlayCursorSound();
      StopSoundHandle(titleMusic);
      sceneNumber = 2;
    }
    if (titleMenu[0].y == TITLE_CURSOR_QUIT_Y) {
      PlayCursorSound();
      EndLibrary();
    }
  }
}
