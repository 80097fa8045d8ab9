// The twelve dialogue scenes, one before and one after each boss battle:
// their step tables and the routines the scene machine runs once a frame.
#pragma once

#include "dialogue_step.h"

enum class DialogueMoment { BeforeBattle, AfterBattle };

// The script of stage 1..6 before or after its battle.
const DialogueScript& StageDialogue(int stage, DialogueMoment moment);

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
