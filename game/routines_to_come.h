// The scene routines whose real bodies are still to be written: dialogues,
// the ending and game over, and the boss battles of stages 2 to 6. Each is
// replaced by its real routine in a file of its own; until then the
// placeholder lets the scene machine move on. A routine that waits on a
// screen it drew (the staff pages) shows it first with screen_waits.h.
#pragma once

// Dialogue scenes before and after each battle.
void RunStage1DialogueBefore();
void RunStage1DialogueAfter();
void RunStage2DialogueBefore();
void RunStage2DialogueAfter();
void RunStage3DialogueBefore();
void RunStage3DialogueAfter();
void RunStage4DialogueBefore();
void RunStage4DialogueAfter();
void RunStage5DialogueBefore();
void RunStage5DialogueAfter();
void RunStage6DialogueBefore();
void RunStage6DialogueAfter();

// Ending and game over.
void RunEnding();
void StartGameOverMusic();

// The boss battles.
void RunStage2Battle();
void RunStage3Battle();
void RunStage4Battle();
void RunStage5Battle();
void RunStage6Battle();
