// Every global of the game: the pools, the scalars and the handles of the
// pictures, fonts and sounds. All of it is zero when the program starts and
// lives until it ends; the game allocates nothing while it runs.
#pragma once

#include <cstdint>

#include "game_records.h"

// ---- Pools and tables ----
extern ObjectRecord player;
extern ObjectRecord boss;
extern ObjectRecord explosions[EXPLOSION_COUNT];
extern int explosionFrames[EXPLOSION_FRAME_COUNT];
extern BulletRecord enemyBulletsA[ENEMY_POOL_SIZE];  // small bullets, circles and stars
extern BulletRecord enemyBulletsB[ENEMY_POOL_SIZE];  // large bullets
extern BulletRecord enemyBulletsC[ENEMY_POOL_SIZE];  // bullets homing on the player
extern BulletRecord enemyBulletsD[ENEMY_POOL_SIZE];  // ring bullets
extern BulletRecord playerShots[SHOT_POOL_SIZE];
extern BulletRecord sideShots[SHOT_POOL_SIZE];
extern BulletRecord magicCircles[MAGIC_CIRCLE_COUNT];
// Squared distances, one row per pool, indexed like the pool's records:
// player to bullet for pools A to D, boss to shot for the two shot pools.
extern int bulletDistSq[ENEMY_POOL_COUNT][ENEMY_POOL_SIZE];
extern int shotDistSq[SHOT_POOL_COUNT][SHOT_POOL_SIZE];
extern HudPip playerHpPips[HUD_PIP_COUNT];
extern HudPip bossHpPips[HUD_PIP_COUNT];
extern TitleMenuItem titleMenu[TITLE_MENU_ITEM_COUNT];
extern std::uint32_t keyHold[KEY_CODE_COUNT];
extern int dialoguePictures[DIALOGUE_PICTURE_COUNT];
extern int stageMusic[STAGE_COUNT];

// ---- Scalars ----
extern int sceneNumber;
extern int score;
extern int bombs;
extern int dialogueIndex;
extern int dialogueTimer;
extern BattleClock battleClock;
extern int timeBonus;
extern int hpBonus;
extern double spinAngle;
extern int fireCounter;
extern int firstFrameWaitDone;
extern int titleMenuIndex;
extern int titleMusicStarted;
extern int gameOverMusicStarted;
extern int scrollX;
extern int scrollY;

// ---- Graph and font handles ----
extern int titleGraph;
extern int sideFrameGraph;
extern int cursorGraph;
extern int hudFont;
extern int bannerFont;
extern int dialogueFont;
extern int backgroundGraph;
extern int shotGraph;
extern int smallBulletGraph;
extern int largeBulletGraph;
extern int roundBulletGraph;
extern int longBulletGraph;
extern int needleBulletGraph;
extern int blueStarGraph;
extern int orangeStarGraph;
extern int greenStarGraph;
extern int stockGraph;
extern int bombGraph;
extern int bossFaceGraph;
extern int clearGraph;
extern int playerDialogueGraph;
extern int dialogueBackdropGraph;
extern int staffGraph;
extern int endGraph;
extern int gameOverGraph;

// ---- Sound handles ----
extern int cursorSound;
extern int hitSound;
extern int warpSound;
extern int bossBreakSound;
extern int bombSound;
extern int titleMusic;
extern int gameOverMusic;

