// The framework's main window: creation at start-up, window mode and full
// screen, and the rectangles kept in the window system state.
#pragma once

#include "platform/windows.h"

inline constexpr const char* kDefaultWindowText = "WqLib";
inline constexpr const char* kUnnamedWindowClass = "W123987Q";

// Clears the window state, reports memory and the desktop, chooses the
// clock, refuses a second instance, registers the class and creates, shows
// and activates the window. 0, or -1 with the quit flag set.
int CreateMainWindow();

// Stores the mode flag and logs the change; returns 0.
int StoreWindowModeFlag(int flag);
// Restyles and re-centres the framework window for the current mode.
int SetWindowStyleForMode();
// Resizes the window so that its client area is the scaled screen size,
// keeping its top-left corner.
int UpdateWindowRect();
// WM_MOVE: the client rectangle follows the packed client position.
int UpdateClientRect(LPARAM packedPosition);
// Calls DwmEnableComposition(flag) unless it is already in that state.
int SetDesktopComposition(int flag);
// Draws the stored picture into the window: 0 while the library is ending,
// -1 without a stored picture (always, in this program).
int DrawStoredScreenGraph(HDC dc);

// 1 when the screen layer lists a display mode of that size.
int IsDisplayModeListed(int width, int height);
// 1 when full screen can use the screen size: a listed display mode, or
// 320 x 240 while the hardware renderer is allowed.
int FullScreenSizeUsable();
// In full screen, a 320 x 240 screen becomes 640 x 480 with the emulation
// flag set.
void EmulateFullScreen320x240();

// The window rectangle, centred on the desktop, whose client area is
// clientWidth x clientHeight in the current style.
RECT CentredWindowRect(int clientWidth, int clientHeight);
// The screen size times the window scale, each truncated toward zero.
void GetScaledScreenSize(int* width, int* height);
// Reads the client rectangle of the main window in screen coordinates.
void ReadClientScreenRect();
