// The default handling of window messages.
#include "imm32/ime_events.h"
#include "platform/gdi32.h"
#include "platform/imm.h"
#include "user32/window_table.h"

using namespace wqplat;

namespace {

LRESULT EraseBackground(HWND window, HDC dc) {
  HBRUSH background = nullptr;
  if (auto record = FindWindowRecord(window)) {
    std::lock_guard lock(UserLock());
    background = record->window_class->background;
  }
  if (!background) return 0;
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, background);
  return 1;
}

LRESULT SetClassCursor(HWND window, LPARAM hit_test) {
  if (LOWORD(hit_test) != HTCLIENT) return FALSE;
  HCURSOR cursor = nullptr;
  if (auto record = FindWindowRecord(window)) {
    std::lock_guard lock(UserLock());
    cursor = record->window_class->cursor;
  }
  if (!cursor) return FALSE;
  SetCursor(cursor);
  return TRUE;
}

LRESULT SystemCommand(HWND window, WPARAM command) {
  switch (command & 0xFFF0u) {
    case SC_CLOSE: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); break;
    case SC_RESTORE: ShowWindow(window, SW_RESTORE); break;
    default: break;
  }
  return 0;
}

}  // namespace

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE:
    case WM_NCACTIVATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SYSCOMMAND:
      return SystemCommand(window, wparam);
    case WM_SYSKEYDOWN:
      // Alt+F4 closes, as the system menu would.
      if (wparam == VK_F4 && (lparam & (1 << 29))) SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_SETCURSOR:
      return SetClassCursor(window, lparam);
    case WM_ERASEBKGND:
      return EraseBackground(window, reinterpret_cast<HDC>(wparam));
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_IME_COMPOSITION:
      // A window that leaves the input method's result alone gets it typed.
      if (lparam & GCS_RESULTSTR) TypeImeResult(window);
      return 0;
    default:
      return 0;
  }
}
