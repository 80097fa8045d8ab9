#include "core/window/cursor_services.h"

#include "core/window/menu_toolbar.h"
#include "core/window/window_system_state.h"

namespace {

struct ClickLog {
  MouseClick clicks[kMaxLoggedClicks];
  int count;
};

ClickLog g_clicks;

}  // namespace

void DriveCursorCounter(bool show) {
  if (show) {
    while (ShowCursor(TRUE) < 0) {
    }
  } else {
    while (ShowCursor(FALSE) >= 0) {
    }
  }
}

int SetMouseVisible(int flag) {
  WindowSystemState& state = WindowSystem();
  if (flag != -1) state.mouseVisible = flag;
  const int show = (state.mouseVisible == 1 || IsMenuBarShown()) ? 1 : 0;
  if (flag != -1 && show == state.cursorShown) return 0;
  DriveCursorCounter(show != 0);
  if (state.mainWindow != nullptr) PostMessageA(state.mainWindow, WM_SETCURSOR, 0, 0);
  state.cursorShown = show;
  return 0;
}

int GetMousePosition(int* x, int* y) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const WindowSystemState& state = WindowSystem();
  int mouseX = cursor.x;
  int mouseY = cursor.y;
  if (state.windowMode) {
    double scaleX = 1.0;
    double scaleY = 1.0;
    GetWindowScale(&scaleX, &scaleY);
    mouseX = static_cast<int>((cursor.x - state.clientRect.left) / scaleX);
    mouseY = static_cast<int>((cursor.y - state.clientRect.top - GetToolBarHeight()) / scaleY);
  }
  if (x) *x = mouseX;
  if (y) *y = mouseY;
  return 0;
}

void RecordMouseClick(int button) {
  if (g_clicks.count >= kMaxLoggedClicks) return;
  MouseClick& click = g_clicks.clicks[g_clicks.count++];
  click.button = button;
  GetMousePosition(&click.x, &click.y);
}

int GetMouseClickCount() { return g_clicks.count; }
const MouseClick* GetMouseClick(int index) {
  return index >= 0 && index < g_clicks.count ? &g_clicks.clicks[index] : nullptr;
}

int GetWindowClientScreenRect(RECT* rect) {
  *rect = WindowSystem().clientRect;
  const int toolBar = GetToolBarHeight();
  rect->top += toolBar;
  rect->bottom += toolBar;
  return 0;
}

int ForceForegroundWindow(HWND window, int topmost) {
  const DWORD ownThread = GetWindowThreadProcessId(window, nullptr);
  const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  AttachThreadInput(ownThread, foregroundThread, TRUE);
  DWORD savedTimeout = 0;
  SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &savedTimeout, 0);
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
  SetForegroundWindow(window);
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<LPVOID>(static_cast<ULONG_PTR>(savedTimeout)), 0);
  AttachThreadInput(ownThread, foregroundThread, FALSE);
  if (topmost == 1) {
    SetWindowPos(WindowSystem().mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
  }
  return 0;
}
