// The on-screen log overlay drawn over the screen at each present. Nothing
// in this program enables it or writes its lines; start-up sets it up and
// shutdown releases its font.
#pragma once

#include "WqLib.h"

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

// SetupScreenLog, CreateScreenLogFont, DrawScreenLog and GetScreenLogFlag
// are public (WqLib.h).

// Deletes the overlay font and forgets the set-up (start of shutdown).
void ReleaseScreenLog();
