// The on-screen log overlay drawn over the screen at each present. Nothing
// in this program enables it or writes its lines; start-up sets it up and
// shutdown releases its font.
#pragma once

inline constexpr int kScreenLogLines = 80;
inline constexpr int kScreenLogLineSize = 255;

struct ScreenLogState {
  int setUp;
  int enabled;  // the present draws the overlay only when it is set
  int fontSize;
  int font;
  int fontLost;  // registered with the font, so a deleted font is made again
  char lines[kScreenLogLines][kScreenLogLineSize];
  int lineCount;
  int lineStart;
};

ScreenLogState& ScreenLog();

// Sets up once; -1 before graphics are started or without a main window.
int SetupScreenLog();
// Creates the overlay font when it is lost; returns 0.
int CreateScreenLogFont();
// Draws the lines that fit on the screen, white with a black edge; 0.
int DrawScreenLog();
// Deletes the overlay font and forgets the set-up (start of shutdown).
void ReleaseScreenLog();
// The enable flag.
int GetScreenLogFlag();
