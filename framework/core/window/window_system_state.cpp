#include "core/window/window_system_state.h"

#include <cstring>

namespace {

// Window style table row 0 (popup, caption, system menu, minimise box with
// window and client edges); full screen is a topmost popup.
constexpr DWORD kWindowedStyle = 0x80CA0000u;
constexpr DWORD kWindowedExStyle = 0x300u;
constexpr DWORD kFullScreenStyle = WS_POPUP;
constexpr DWORD kFullScreenExStyle = WS_EX_TOPMOST;

WindowSystemState MakeInitialState() {
  WindowSystemState state{};
  state.windowMode = 0;
  state.windowScaleX = 1.0;
  state.windowScaleY = 1.0;
  state.mouseVisible = 1;
  return state;
}

WindowSystemState g_windowSystem = MakeInitialState();

}  // namespace

WindowSystemState& WindowSystem() { return g_windowSystem; }

void ClearWindowStateForCreation() {
  WindowSystemState kept = g_windowSystem;
  WindowSystemState& state = g_windowSystem;
  std::memset(&state, 0, sizeof(state));
  state.initialised = kept.initialised;
  state.starting = kept.starting;
  state.comInitialised = kept.comInitialised;
  std::memcpy(state.startupDirectory, kept.startupDirectory, sizeof(state.startupDirectory));
  state.windowMode = kept.windowMode;
  std::memcpy(state.windowText, kept.windowText, sizeof(state.windowText));
  std::memcpy(state.className, kept.className, sizeof(state.className));
  state.windowScaleX = kept.windowScaleX;
  state.windowScaleY = kept.windowScaleY;
  state.transparentWindow = kept.transparentWindow;
  state.layeredStyle = kept.layeredStyle;
  state.osCode = kept.osCode;
  state.logicalProcessors = kept.logicalProcessors;
  state.hasCpuid = kept.hasCpuid;
  state.hasTimeStampCounter = kept.hasTimeStampCounter;
  state.hasMmx = kept.hasMmx;
  state.hasSse = kept.hasSse;
  state.hasSse2 = kept.hasSse2;
  state.charSetCodePage = kept.charSetCodePage;
}

DWORD GetMainWindowStyle() {
  const DWORD visible = g_windowSystem.visibleStyle ? WS_VISIBLE : 0;
  return g_windowSystem.windowMode ? kWindowedStyle | visible : kFullScreenStyle;
}

DWORD GetMainWindowExStyle() {
  if (!g_windowSystem.windowMode) return kFullScreenExStyle;
  return kWindowedExStyle | (g_windowSystem.transparentWindow ? WS_EX_TRANSPARENT : 0) |
         (g_windowSystem.layeredStyle ? WS_EX_LAYERED : 0);
}

int ReadDesktopColorBits() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits;
}

int GetQuitFlag() { return g_windowSystem.quit; }
HWND GetMainWindow() { return g_windowSystem.mainWindow; }
int IsWindowMode() { return g_windowSystem.windowMode; }
int IsWindowActive() { return g_windowSystem.active; }
int IsRunWhileInactive() { return g_windowSystem.runWhileInactive; }
int GetWindowCloseRequest() { return g_windowSystem.closeRequested; }

int GetDesktopSize(int* width, int* height, int* colorBits) {
  const WindowSystemState& state = g_windowSystem;
  const bool live = state.mainWindow == nullptr;
  if (width) *width = live ? GetSystemMetrics(SM_CXSCREEN) : state.desktopWidth;
  if (height) *height = live ? GetSystemMetrics(SM_CYSCREEN) : state.desktopHeight;
  if (colorBits) *colorBits = live ? ReadDesktopColorBits() : state.desktopColorBits;
  return 0;
}

double GetWindowScale(double* x, double* y) {
  WindowSystemState& state = g_windowSystem;
  if (state.windowScaleX <= 0.0) state.windowScaleX = 1.0;
  if (state.windowScaleY <= 0.0) state.windowScaleY = 1.0;
  const double scaleX = state.windowMode ? state.windowScaleX : 1.0;
  const double scaleY = state.windowMode ? state.windowScaleY : 1.0;
  if (x) *x = scaleX;
  if (y) *y = scaleY;
  return scaleX;
}
