// The scene table: for each of the 30 scenes the fixed list of steps it
// runs in one frame. A step may change sceneNumber; the remaining steps of
// the scene still run, and the new scene starts with the next frame.
#include "scene_machine.h"

#include <WqLib.h>

#include "asset_loading.h"
#include "background_scroll.h"
#include "boss_battles.h"
#include "boss_drawing.h"
#include "bullet_pools.h"
#include "dialogue_scripts.h"
#include "ending.h"
#include "explosions.h"
#include "game_over.h"
#include "game_state.h"
#include "hit_tests.h"
#include "hud.h"
#include "picture_cache.h"
#include "player.h"
#include "screen_waits.h"
#include "stage_loaders.h"
#include "title_menu.h"

namespace {

// ---- Steps shared by several scenes ----

void DrawSideFrame() { DrawGraph(0, 0, sideFrameGraph, 1); }

void DrawPlayer() {
  if (player.alive == 1) DrawGraph(static_cast<int>(player.x), static_cast<int>(player.y), player.graph, 1);
}

// The one-second pause on the first battle frame of stages 1 to 3.
void WaitOnFirstBattleFrame() {
  if (firstFrameWaitDone == 0) {
    WaitMilliseconds(1000);
    firstFrameWaitDone = firstFrameWaitDone + 1;
  }
}

// Every explosion record, alive or not, moves on one animation frame; a
// kind-1 explosion ends after its sixteenth.
void TickAndDrawExplosions() {
  for (ObjectRecord& explosion : explosions) {
    explosion.patternFrame = explosion.patternFrame + 1;
    if (explosion.phase == 1 && explosion.patternFrame == EXPLOSION_FRAME_COUNT) explosion.alive = 0;
  }
  DrawExplosions();
}

void RunBattleTail() {
  MeasureShotDistances();
  ApplyShotHits();
  MeasureBulletDistances();
  ApplyBulletHits();
  TickClockAndDrawScore();
}

void NextScene() { sceneNumber = sceneNumber + 1; }

// The shots and bullets of a battle frame: fired, moved, then drawn.
void RunShotsAndBullets() {
  FirePlayerShots();
  MoveShotsAndBullets();
  DrawShotsAndBullets();
}

void DrawHudWithPips() {
  LayoutHudPips();
  DrawHud();
}

// The stage clear of `stage` (2 to 5) and the load of the next one; stage
// 1's clear loads in an order of its own.
void ClearStageAndLoadNext(int stage, void (*loadNextStage)()) {
  StopSoundHandle(stageMusic[stage - 1]);
  ShowStageClear();
  loadNextStage();
  ResetPlayer();
  LoadBullets();
  LoadHud();
  NextScene();
}

// ---- The scenes ----

void NewGameScene() {
  ResetGame();
  sceneNumber = 1;
}

void TitleScene() {
  RunTitleMenu();
  DrawGraph(0, 0, titleGraph, 1);
  DrawGraph(titleMenu[0].x, titleMenu[0].y, cursorGraph, 1);
  scrollX = PLAYFIELD_LEFT;
  scrollY = PLAYFIELD_TOP;
}

void LoadStage1Scene() {
  ResetPlayer();
  LoadBullets();
  LoadStage1();
  LoadHud();
  LoadEffectGraphs();
  sceneNumber = 3;
}

void Stage1Before() {
  RunStage1DialogueBefore();
  DrawPlayer();
  DrawSideFrame();
}

void Stage1Battle() {
  ScrollBackground();
  DrawPlayer();
  DrawBoss();
  DrawSideFrame();
  DrawHudWithPips();
  WaitOnFirstBattleFrame();
  MovePlayer();
  ClampPlayer();
  RunShotsAndBullets();
  TickAndDrawExplosions();
  RunStage1Battle();
  RunBattleTail();
}

void Stage1After() {
  DrawSideFrame();
  RunStage1DialogueAfter();
  DrawBoss();
  DrawPlayer();
}

// Stage 2's loading calls the bullets and HUD before the player.
void Clear1Load2() {
  StopSoundHandle(stageMusic[0]);
  ShowStageClear();
  LoadStage2();
  LoadBullets();
  LoadHud();
  ResetPlayer();
  NextScene();
}

void Stage2Before() {
  RunStage2DialogueBefore();
  DrawPlayer();
  DrawBoss();
  DrawSideFrame();
}

// Stages 2, 3 and 6 draw the player at the position of this frame's move.
void RunBattleMovedFirst(void (*runBattle)(), bool waitOnFirstFrame) {
  ScrollBackground();
  DrawSideFrame();
  MovePlayer();
  DrawPlayer();
  DrawBoss();
  DrawHudWithPips();
  if (waitOnFirstFrame) WaitOnFirstBattleFrame();
  ClampPlayer();
  RunShotsAndBullets();
  runBattle();
  RunBattleTail();
}

void Stage2Battle() { RunBattleMovedFirst(RunStage2Battle, true); }

void Stage2After() {
  DrawSideFrame();
  DrawPlayer();
  RunStage2DialogueAfter();
  DrawBoss();
}

void Clear2Load3() { ClearStageAndLoadNext(2, LoadStage3); }

// The before-dialogue of stages 3, 5 and 6 draws the boss but no player.
void RunDialogueBeforeBossOnly(void (*runDialogue)()) {
  runDialogue();
  DrawBoss();
  DrawSideFrame();
}

void Stage3Before() { RunDialogueBeforeBossOnly(RunStage3DialogueBefore); }

void Stage3Battle() { RunBattleMovedFirst(RunStage3Battle, true); }

// The after-dialogue of stages 3, 4 and 5.
void RunDialogueAfterPlayerOnTop(void (*runDialogue)()) {
  DrawSideFrame();
  runDialogue();
  DrawPlayer();
  DrawBoss();
}

void Stage3After() { RunDialogueAfterPlayerOnTop(RunStage3DialogueAfter); }

void Clear3Load4() { ClearStageAndLoadNext(3, LoadStage4); }

void Stage4Before() {
  DrawSideFrame();
  RunStage4DialogueBefore();
  DrawBoss();
}

// Stages 4 and 5 draw the player where the last frame left it.
void RunBattleDrawnFirst(void (*drawActors)(), void (*runBattle)()) {
  ScrollBackground();
  DrawSideFrame();
  drawActors();
  DrawHudWithPips();
  MovePlayer();
  ClampPlayer();
  RunShotsAndBullets();
  runBattle();
  RunBattleTail();
}

void Stage4Battle() {
  RunBattleDrawnFirst(
      [] {
        DrawBoss();
        DrawPlayer();
      },
      RunStage4Battle);
}

void Stage4After() { RunDialogueAfterPlayerOnTop(RunStage4DialogueAfter); }

void Clear4Load5() { ClearStageAndLoadNext(4, LoadStage5); }

void Stage5Before() { RunDialogueBeforeBossOnly(RunStage5DialogueBefore); }

void Stage5Battle() {
  RunBattleDrawnFirst(
      [] {
        DrawPlayer();
        DrawBoss();
      },
      RunStage5Battle);
}

void Stage5After() { RunDialogueAfterPlayerOnTop(RunStage5DialogueAfter); }

void Clear5Load6() { ClearStageAndLoadNext(5, LoadStage6); }

void Stage6Before() { RunDialogueBeforeBossOnly(RunStage6DialogueBefore); }

void Stage6Battle() { RunBattleMovedFirst(RunStage6Battle, false); }

void Stage6After() {
  DrawSideFrame();
  RunStage6DialogueAfter();
  DrawBoss();
}

void Clear6() {
  StopSoundHandle(stageMusic[5]);
  ShowStageClear();
  NextScene();
  dialogueIndex = 0;
  dialogueTimer = 0;
}

void EndingScene() {
  DrawSideFrame();
  RunEnding();
}

void EndPictureScene() {
  DrawGraph(0, 0, endGraph, 1);
  ShowAndWaitAnyKey();
  sceneNumber = 0;
}

void GameOverScene() {
  StartGameOverMusic();
  gameOverGraph = LoadPicture("Pict/Backgraund/gameover3.png");
  DrawGraph(PLAYFIELD_LEFT, PLAYFIELD_TOP, gameOverGraph, 1);
  DrawSideFrame();
  ShowAndWaitAnyKey();
  sceneNumber = -1;
}

void (*const kScenes[SCENE_COUNT])() = {
    NewGameScene, TitleScene,   LoadStage1Scene, Stage1Before, Stage1Battle, Stage1After,
    Clear1Load2,  Stage2Before, Stage2Battle,    Stage2After,  Clear2Load3,  Stage3Before,
    Stage3Battle, Stage3After,  Clear3Load4,     Stage4Before, Stage4Battle, Stage4After,
    Clear4Load5,  Stage5Before, Stage5Battle,    Stage5After,  Clear5Load6,  Stage6Before,
    Stage6Battle, Stage6After,  Clear6,          EndingScene,  EndPictureScene, GameOverScene,
};

}  // namespace

void RunScene() {
  if (static_cast<unsigned>(sceneNumber) >= SCENE_COUNT) {
    sceneNumber = 0;
    return;
  }
  kScenes[sceneNumber]();
}
