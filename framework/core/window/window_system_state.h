// The window and system state that every subsystem reads: the main window,
// its mode and activity flags, its rectangles and scale, the desktop, and
// what the start-up report found. Cleared when the window is created,
// keeping the settings made before start-up.
#pragma once

#include <cstdint>

#include "WqLib.h"
#include "platform/windows.h"

inline constexpr int kWindowTextSize = 256;

struct WindowSystemState {
  // Library life cycle (kept across window creation).
  int initialised;
  int starting;
  int comInitialised;
  int ending;
  char startupDirectory[MAX_PATH];

  // Settings made before start-up (kept across window creation).
  int windowMode;
  // Empty until set before start-up or until the class is registered; the
  // class is named after the text set before start-up.
  char windowText[kWindowTextSize];
  char className[kWindowTextSize];
  double windowScaleX;
  double windowScaleY;
  // Switches nothing in this program sets: layered-window presentation
  // (which also adds the transparent extended style) and the layered
  // extended style, both for window mode.
  int transparentWindow;
  int layeredStyle;

  // System report (kept across window creation).
  int osCode;
  int logicalProcessors;
  int hasCpuid;
  int hasTimeStampCounter;
  int hasMmx;
  int hasSse;
  int hasSse2;
  int charSetCodePage;

  // The window and its flags.
  HINSTANCE instance;
  HWND mainWindow;
  DWORD mainThreadId;
  int active;
  int quit;
  int closeRequested;
  int windowDestroyed;
  int creating;
  int changingMode;
  int displayChanged;
  int painting;
  int hasPainted;
  int runWhileInactive;
  int visibleStyle;
  int pumping;  // ProcessWindowMessages is inside the text-input step

  RECT clientRect;  // screen coordinates
  RECT windowRect;
  int captionOffset;

  int desktopWidth;
  int desktopHeight;
  int desktopColorBits;
  std::uint64_t totalPhysicalMemory;
  std::uint64_t availablePhysicalMemory;

  int mouseVisible;
  int cursorShown;
  int compositionDisabled;
  int mouseWheel;
};

WindowSystemState& WindowSystem();

// Keeps the settings, the system report and the library life cycle; zeroes
// everything else. Called first by CreateMainWindow.
void ClearWindowStateForCreation();

// The window style and extended style of the current mode.
DWORD GetMainWindowStyle();
DWORD GetMainWindowExStyle();

// Bits per pixel times planes of the screen device context.
int ReadDesktopColorBits();

// Getters other subsystems read; plain reads, callable from any thread.
int GetQuitFlag();
HWND GetMainWindow();
int IsWindowMode();
int IsWindowActive();
int IsRunWhileInactive();
int GetWindowCloseRequest();
