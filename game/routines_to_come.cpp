// Placeholders for the scene routines still to be written. Most do nothing;
// those that end a scene end it at once, so that a game runs from the title
// through every stage and back while the real routines are missing: the
// boss falls in the first battle frame.
#include "routines_to_come.h"

#include "game_state.h"

void ScrollBackground() {}
void DrawBoss() {}
void SpawnExplosion(double, double) {}
void DrawExplosions() {}

void LoadHud() {}
void LayoutHudPips() {}
void DrawHud() {}
void TickClockAndDrawScore() {}
void ShowStageClear() {}

void ResetPlayer() {}
void MovePlayer() {}
void ClampPlayer() {}
void FirePlayerShots() {}

void LoadBullets() {}
void MoveShotsAndBullets() {}
void DrawShotsAndBullets() {}

void MeasureShotDistances() {}
// The boss's defeat, without the explosion, sound and pause.
void ApplyShotHits() {
  boss.alive = 0;
  dialogueIndex = 0;
  sceneNumber = sceneNumber + 1;
}
void MeasureBulletDistances() {}
void ApplyBulletHits() {}

void RunStage1Battle() {}
void RunStage2Battle() {}
void RunStage3Battle() {}
void RunStage4Battle() {}
void RunStage5Battle() {}
void RunStage6Battle() {}
