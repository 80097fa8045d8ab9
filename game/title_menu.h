// The title: its pictures and fonts, the new-game reset and the two-item
// menu (start, quit).
#pragma once

inline constexpr int TITLE_CURSOR_X = 116;
inline constexpr int TITLE_CURSOR_START_Y = 540;
inline constexpr int TITLE_CURSOR_QUIT_Y = 603;

// Once before the frame loop: the title pictures, the cursor and the fonts.
void LoadTitle();
// Scene 0: clears what the last game left.
void ResetGame();
// One frame of the title menu (scene 1).
void RunTitleMenu();
