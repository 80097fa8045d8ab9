// The six stage loaders: each puts its stage's boss in place and loads the
// boss's pictures, the dialogue pictures and the stage-clear picture.
#pragma once

void LoadStage1();
void LoadStage2();
void LoadStage3();
void LoadStage4();
void LoadStage5();
void LoadStage6();

// The start geometry: the boss's box at the top middle of the playfield
// and the player's at the bottom middle.
void ResetStartGeometry();
// Only the boss's part of it, as stage 1's loader applies it.
void ResetBossStartGeometry();
