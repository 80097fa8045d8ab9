// The mouse cursor, the mouse position in screen-image coordinates, the
// click log and bringing a window to the foreground.
#pragma once

#include "platform/windows.h"

inline constexpr int kMaxLoggedClicks = 32;

struct MouseClick {
  int button;  // 1 left, 2 right, 4 middle
  int x;
  int y;
};

// Appends the click at the current mouse position while fewer than 32 are
// logged.
void RecordMouseClick(int button);
int GetMouseClickCount();
const MouseClick* GetMouseClick(int index);

// The client rectangle in screen coordinates, moved down by the tool bar.
int GetWindowClientScreenRect(RECT* rect);
// Makes the window the foreground one despite the foreground lock;
// topmost 1 also puts the main window on top of all others.
int ForceForegroundWindow(HWND window, int topmost);
// Repeats ShowCursor until the display counter is shown (>= 0) or hidden.
void DriveCursorCounter(bool show);
