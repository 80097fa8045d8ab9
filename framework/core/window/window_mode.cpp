#include "WqLib.h"
#include "graphics/draw_target.h"
#include "graphics/screen_mode.h"
#include "text/mask_screen.h"
#include "core/base/log_file.h"
#include "core/window/main_window.h"
#include "core/window/menu_toolbar.h"
#include "core/window/message_pump.h"
#include "core/window/window_system_state.h"

namespace {

constexpr int kDisplayChangeWaitPasses = 10;

int ClientHeightWithToolBar(int screenHeight) { return screenHeight + GetToolBarHeight(); }

bool Is320x240(int width, int height) { return width == 320 && height == 240; }

}  // namespace

int FullScreenSizeUsable() {
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  // 320 x 240 is drawn enlarged on 640 x 480, which only the hardware
  // renderer does, and only where the display offers 640 x 480.
  return IsDisplayModeListed(width, height) ||
         (Is320x240(width, height) && GetUseHardwareRenderer() && IsDisplayModeListed(640, 480));
}

void EmulateFullScreen320x240() {
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  if (WindowSystem().windowMode || !Is320x240(width, height)) return;
  SetEmulate320x240(1);
  SetScreenMode(640, 480, GetScreenColorBits(), -1);
}

int IsDisplayModeListed(int width, int height) {
  const int count = GetDisplayModeCount();
  for (int i = 0; i < count; ++i) {
    DisplayModeRecord mode{};
    GetDisplayMode(&mode, i);
    if (mode.width == width && mode.height == height) return 1;
  }
  return 0;
}

void GetScaledScreenSize(int* width, int* height) {
  int screenWidth = 0;
  int screenHeight = 0;
  GetScreenSize(&screenWidth, &screenHeight);
  double scaleX = 1.0;
  double scaleY = 1.0;
  GetWindowScale(&scaleX, &scaleY);
  *width = static_cast<int>(screenWidth * scaleX);
  *height = static_cast<int>(screenHeight * scaleY);
}

RECT CentredWindowRect(int clientWidth, int clientHeight) {
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, GetMainWindowStyle(), FALSE, GetMainWindowExStyle());
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  int desktopWidth = 0;
  int desktopHeight = 0;
  GetDesktopSize(&desktopWidth, &desktopHeight, nullptr);
  const int x = (desktopWidth - width) / 2;
  const int y = (desktopHeight - height) / 2;
  return RECT{x, y, x + width, y + height};
}

void ReadClientScreenRect() {
  WindowSystemState& state = WindowSystem();
  RECT client{};
  GetClientRect(state.mainWindow, &client);
  POINT origin{0, 0};
  ClientToScreen(state.mainWindow, &origin);
  state.clientRect = RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

int StoreWindowModeFlag(int flag) {
  WindowSystem().windowMode = flag;
  LogWrite(flag ? "ウインドウモードフラグが立てられました\n" : "ウインドウモードフラグが倒されました\n");
  return 0;
}

int ChangeWindowMode(int flag) {
  LogWrite("ChangeWindowMode実行 \n");
  WindowSystemState& state = WindowSystem();
  if (flag == state.windowMode) return 0;
  const bool rebuildsFullScreen = flag == 0 && state.mainWindow != nullptr;
  if (rebuildsFullScreen && !FullScreenSizeUsable()) return -1;
  state.visibleStyle = 1;
  state.displayChanged = 0;
  StoreWindowModeFlag(flag);
  if (rebuildsFullScreen) EmulateFullScreen320x240();
  if (state.mainWindow == nullptr) return 0;

  state.changingMode = 1;
  SetWindowStyleForMode();
  const int result = ApplyScreenMode(-1, -1, -1, 1, -1);
  // A mode change may bring no WM_DISPLAYCHANGE, so the wait is bounded.
  for (int pass = 0; pass < kDisplayChangeWaitPasses; ++pass) {
    if (ProcessWindowMessages() != 0 || state.displayChanged) break;
  }
  state.changingMode = 0;
  return result;
}

int SetWindowStyleForMode() {
  WindowSystemState& state = WindowSystem();
  HWND window = state.mainWindow;
  if (window == nullptr) return 0;
  LogWrite(state.windowMode ? "ウインドウスタイルをウインドウモード用に変更します... "
                            : "ウインドウスタイルをフルスクリーンモード用に変更します... ");
  SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(GetMainWindowStyle()));
  SetWindowLongA(window, GWL_EXSTYLE, static_cast<LONG>(GetMainWindowExStyle()));
  if (!state.windowMode) {
    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    state.clientRect = RECT{0, 0, width, height};
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, width, height, SWP_NOREDRAW);
    SetMouseVisible(0);
  } else {
    int width = 0;
    int height = 0;
    GetScaledScreenSize(&width, &height);
    RECT frame = CentredWindowRect(width, ClientHeightWithToolBar(height));
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    SetWindowPos(window, HWND_NOTOPMOST, frame.left, frame.top, frameWidth, frameHeight, 0);
    SetWindowPos(window, nullptr, frame.left, frame.top, frameWidth, frameHeight, SWP_NOZORDER);
    ReadClientScreenRect();
    const int shiftX = state.clientRect.left < 0 ? -state.clientRect.left : 0;
    const int shiftY = state.clientRect.top < 0 ? -state.clientRect.top : 0;
    if (shiftX != 0 || shiftY != 0) {
      SetWindowPos(window, nullptr, frame.left + shiftX, frame.top + shiftY, frameWidth, frameHeight, SWP_NOZORDER);
      ReadClientScreenRect();
    }
    SetMouseVisible(1);
  }
  LogWrite("完了\n");
  SetActiveWindow(window);
  PostMessageA(window, WM_SETCURSOR, 0, 0);
  return 0;
}

int UpdateWindowRect() {
  WindowSystemState& state = WindowSystem();
  HWND window = state.mainWindow;
  if (window == nullptr) return 0;
  RECT windowRect{};
  GetWindowRect(window, &windowRect);
  state.windowRect = windowRect;
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  int width = 0;
  int height = 0;
  GetScaledScreenSize(&width, &height);
  height = ClientHeightWithToolBar(height);
  state.clientRect = RECT{origin.x, origin.y, origin.x + width, origin.y + height};
  const int frameWidth = (windowRect.right - windowRect.left) - client.right;
  const int frameHeight = (windowRect.bottom - windowRect.top) - client.bottom;
  // Moving to the size it already has would only bring another WM_SIZE.
  const int newWidth = frameWidth + width;
  const int newHeight = frameHeight + height;
  if (newWidth != windowRect.right - windowRect.left || newHeight != windowRect.bottom - windowRect.top) {
    MoveWindow(window, windowRect.left, windowRect.top, newWidth, newHeight, TRUE);
  }
  if (state.windowMode && !state.visibleStyle) {
    state.visibleStyle = 1;
    SetWindowStyleForMode();
  }
  return 0;
}

int UpdateClientRect(LPARAM packedPosition) {
  WindowSystemState& state = WindowSystem();
  const int left = static_cast<SHORT>(LOWORD(packedPosition));
  const int top = static_cast<SHORT>(HIWORD(packedPosition));
  const int width = state.clientRect.right - state.clientRect.left;
  const int height = state.clientRect.bottom - state.clientRect.top;
  state.clientRect = RECT{left, top, left + width, top + height};
  if (GetDrawTarget() == -4) {
    const int maskWasOn = IsMaskScreenEnabled();
    EnableMaskScreen(0);
    EnableMaskScreen(maskWasOn);
  }
  RECT area{};
  GetDrawArea(&area);
  SetDrawArea(area.left, area.top, area.right, area.bottom);
  return 0;
}
