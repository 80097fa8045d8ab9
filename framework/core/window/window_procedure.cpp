#include "core/window/window_procedure.h"

#include "core/window/cursor_services.h"
#include "core/window/dropped_files.h"
#include "graphics/device_rebuild.h"
#include "graphics/graphics_start.h"
#include "graphics/present_screen.h"
#include "core/window/input_devices.h"
#include "core/base/log_file.h"
#include "core/window/main_window.h"
#include "WqLib.h"
#include "core/network/network_handles.h"
#include "sound/sound_system.h"
#include "core/window/text_input.h"
#include "core/window/window_sizing.h"
#include "core/window/window_system_state.h"

namespace {

constexpr UINT kMciNotify = 0x3B9;
constexpr UINT kHookKeyFlagA = WM_USER + 111;
constexpr UINT kHookKeyFlagB = WM_USER + 112;
constexpr UINT kSocketEvent = WM_USER + 261;
constexpr int kEndingByClose = 4;
constexpr int kMenuHitRows = 8;

void StoreWindowRect(HWND window) { GetWindowRect(window, &WindowSystem().windowRect); }

// Control characters that text input edits with; other controls are dropped.
bool IsEditingControl(unsigned char ch) {
  switch (ch) {
    case 0x01: case 0x03: case 0x08: case 0x09: case 0x0D:
    case 0x10: case 0x16: case 0x18: case 0x1B:
      return true;
    default:
      return false;
  }
}

void HandleChar(WPARAM wParam) {
  unsigned char ch = static_cast<unsigned char>(wParam);
  if (ch == '\n') ch = '\r';
  if (ch >= 0x20 || IsEditingControl(ch)) PushTypedByte(ch);
}

void HandleMouseButton(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: RecordMouseClick(1); break;
    case WM_RBUTTONDOWN: RecordMouseClick(2); break;
    case WM_MBUTTONDOWN: RecordMouseClick(4); break;
    default: break;
  }
  if (!WindowSystem().cursorShown) {
    SetCursor(nullptr);
    DriveCursorCounter(false);
  }
}

void HandlePaint(HWND window) {
  WindowSystemState& state = WindowSystem();
  state.hasPainted = 1;
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (state.windowMode) {
    state.painting = 1;
    if (state.initialised) {
      if (GetDrawTarget() == -2) FlipScreenCore(&paint.rcPaint);
    } else {
      FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    state.painting = 0;
  }
  EndPaint(window, &paint);
}

// A desktop change the screen can live with: the same mode, or one the
// graphics can be restored into.
bool DisplayChangeAcceptable(WPARAM newBits, LPARAM newSize) {
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  const int bits = GetScreenColorBits();
  const int newWidth = LOWORD(newSize);
  const int newHeight = HIWORD(newSize);
  const int depth = static_cast<int>(newBits);
  if (newWidth == width && newHeight == height && depth == bits) return true;
  return IsRestoreGraphCallbackSet() && depth != 24 && (depth == bits || depth != 8) && newWidth >= width &&
         newHeight >= height;
}

void HandleDisplayChange(WPARAM wParam, LPARAM lParam) {
  WindowSystemState& state = WindowSystem();
  if (state.windowMode && !state.changingMode) {
    if (!DisplayChangeAcceptable(wParam, lParam)) {
      LogWrite("復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します\n");
      LogWrite("またはスクリーンが小さすぎるためか色ビット数の違いが大きいためか終了します\n");
      RequestWindowClose();
      return;
    }
    ResumeAllMovies();
  }
  state.displayChanged = 1;
}

void HandleSizing(HWND window, WPARAM edge, LPARAM lParam) {
  WindowSystemState& state = WindowSystem();
  StoreWindowRect(window);
  if (!state.windowMode || window != state.mainWindow) return;
  RECT client{};
  GetClientRect(window, &client);
  AspectSizing sizing{};
  sizing.dragged = *reinterpret_cast<RECT*>(lParam);
  sizing.edge = static_cast<int>(edge);
  sizing.frameWidth = (state.windowRect.right - state.windowRect.left) - client.right;
  sizing.frameHeight = (state.windowRect.bottom - state.windowRect.top) - client.bottom;
  GetScreenSize(&sizing.screenWidth, &sizing.screenHeight);
  GetDesktopSize(&sizing.desktopWidth, &sizing.desktopHeight, nullptr);
  const double scale = ApplyAspectSizing(&sizing);
  *reinterpret_cast<RECT*>(lParam) = sizing.dragged;
  state.windowScaleX = scale;
  state.windowScaleY = scale;
}

void HandleDestroy() {
  WindowSystemState& state = WindowSystem();
  LogWrite("ウインドウが破棄されようとしています\n");
  state.windowDestroyed = 1;
  PostQuitMessage(0);
  state.quit = 1;
  LogWrite("ソフトを終了する準備が整いました\n");
}

}  // namespace

void RequestWindowClose() {
  WindowSystemState& state = WindowSystem();
  if (state.closeRequested) return;
  state.closeRequested = 1;
  PostMessageA(state.mainWindow, WM_CLOSE, 0, 0);
}

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowSystemState& state = WindowSystem();
  switch (message) {
    case WM_DESTROY:
      HandleDestroy();
      break;
    case WM_MOVE:
      StoreWindowRect(window);
      if (state.windowMode && !state.changingMode) UpdateClientRect(lParam);
      break;
    case WM_SIZE:
      StoreWindowRect(window);
      if (wParam != SIZE_MAXIMIZED) UpdateWindowRect();
      break;
    case WM_ACTIVATE:
      return HandleActivation(window, message, wParam, lParam);
    case WM_ACTIVATEAPP:
      if (wParam == 0) return HandleActivation(window, message, wParam, lParam);
      break;
    case WM_PAINT:
      HandlePaint(window);
      break;
    case WM_CLOSE:
      LogWrite("ウインドウを閉じようとしています\n");
      DestroyWindow(state.mainWindow);
      if (state.ending == 0) state.ending = kEndingByClose;
      return 0;
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      HandleMouseButton(message);
      break;
    case WM_DISPLAYCHANGE:
      HandleDisplayChange(wParam, lParam);
      break;
    case WM_NCHITTEST:
      if (!state.windowMode && IsDirect3DRendererInUse() &&
          static_cast<SHORT>(HIWORD(lParam)) < kMenuHitRows) {
        return HTMENU;
      }
      break;
    case WM_KEYDOWN:
      if (const int editChar = FindEditKeyChar(wParam); editChar != 0) {
        PushInputChar(static_cast<unsigned char>(editChar));
      }
      break;
    case WM_CHAR:
      HandleChar(wParam);
      break;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_NOTIFY:
    case WM_IME_REQUEST:
      return HandleImeMessage(message, wParam, lParam);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0u) == SC_MONITORPOWER || (wParam & 0xFFF0u) == SC_SCREENSAVE) return 1;
      break;
    case WM_MOUSEWHEEL:
      state.mouseWheel += static_cast<SHORT>(HIWORD(wParam)) > 0 ? 1 : -1;
      break;
    case WM_SIZING:
      HandleSizing(window, wParam, lParam);
      break;
    case WM_MOVING:
      StoreWindowRect(window);
      if (!state.windowMode) *reinterpret_cast<RECT*>(lParam) = state.windowRect;
      break;
    case WM_DROPFILES:
      StoreDroppedFiles(reinterpret_cast<HDROP>(wParam));
      break;
    case kMciNotify:
      HandleMusicMciNotify(wParam, lParam);
      break;
    case kHookKeyFlagA:
    case kHookKeyFlagB:
      SetHookKeyFlag(message == kHookKeyFlagA ? 0 : 1, wParam == 1);
      break;
    case kSocketEvent:
      return HandleSocketEvent(lParam, wParam);
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
