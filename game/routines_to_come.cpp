// Placeholders for the scene routines still to be written. Most do nothing;
// those that end a scene end it at once, so that a game runs from the title
// through every stage, the ending and back while the real routines are
// missing: a dialogue ends in its first frame and the ending goes straight
// to the end picture.
#include "routines_to_come.h"

#include "game_state.h"
#include "picture_cache.h"

namespace {

// A dialogue scene's end step.
void EndDialogueScene() { sceneNumber = sceneNumber + 1; }

}  // namespace

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

void RunStage2Battle() {}
void RunStage3Battle() {}
void RunStage4Battle() {}
void RunStage5Battle() {}
void RunStage6Battle() {}
