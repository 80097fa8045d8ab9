// The head-up display above the playfield: the boss's face, both HP bars,
// the boss's stocks and the player's bombs; the battle clock and score;
// the stage-clear screen with its bonuses.
#pragma once

// Loads the HUD's pip, stock and bomb pictures.
void LoadHud();
// Places ceil(HP) pips of each bar.
void LayoutHudPips();
void DrawHud();
// Counts one battle frame on the clock and draws the score.
void TickClockAndDrawScore();
// The stage's time and HP bonuses, added to the score.
void AddStageClearBonuses();
// Adds the time and HP bonuses, shows them over the stage's clear picture,
// gives one bomb more and waits for a key.
void ShowStageClear();
