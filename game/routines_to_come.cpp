// Placeholders for the scene routines still to be written. Most do nothing;
// those that end a scene end it at once, so that a game runs from the title
// through every stage, the ending and back while the real routines are
// missing: a dialogue ends in its first frame, the boss falls in the first
// battle frame, and the ending goes straight to its end picture.
#include "routines_to_come.h"

#include "game_state.h"
#include "picture_cache.h"

namespace {

// A dialogue scene's end step.
void EndDialogueScene() { sceneNumber = sceneNumber + 1; }

}  // namespace

void ScrollBackground() {}
void DrawBoss() {}
void SpawnExplosion(double, double) {}
void DrawExplosions() {}

void LoadHud() {}
void LayoutHudPips() {}
void DrawHud() {}
void TickClockAndDrawScore() {}
void ShowStageClear() {}

void RunStage1DialogueBefore() { EndDialogueScene(); }
void RunStage1DialogueAfter() { EndDialogueScene(); }
void RunStage2DialogueBefore() { EndDialogueScene(); }
void RunStage2DialogueAfter() { EndDialogueScene(); }
void RunStage3DialogueBefore() { EndDialogueScene(); }
void RunStage3DialogueAfter() { EndDialogueScene(); }
void RunStage4DialogueBefore() { EndDialogueScene(); }
void RunStage4DialogueAfter() { EndDialogueScene(); }
void RunStage5DialogueBefore() { EndDialogueScene(); }
void RunStage5DialogueAfter() { EndDialogueScene(); }
void RunStage6DialogueBefore() { EndDialogueScene(); }
void RunStage6DialogueAfter() { EndDialogueScene(); }

// The ending's last step.
void RunEnding() {
  endGraph = LoadPicture("Pict/Backgraund/end.png");
  sceneNumber = 28;
}
void StartGameOverMusic() {}

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
