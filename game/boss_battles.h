// The boss battles: one call per battle frame moves the boss and fires the
// pattern of its current stock and phase.
#pragma once

void RunStage1Battle();
void RunStage2Battle();
void RunStage3Battle();
void RunStage4Battle();
void RunStage5Battle();
void RunStage6Battle();
