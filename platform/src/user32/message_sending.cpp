// Posting, sending and dispatching messages.
#include "platform/kernel32.h"
#include "user32/thread_queue.h"
#include "user32/window_messages.h"
#include "user32/window_table.h"

using namespace wqplat;

BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return PostToWindow(window, message, wparam, lparam);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (record->thread_id != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  return CallWindowProcedure(window, message, wparam, lparam);
}

void PostQuitMessage(int exit_code) { CurrentThreadQueue()->PostQuit(exit_code); }

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wparam,
                        LPARAM lparam) {
  return procedure ? procedure(window, message, wparam, lparam) : 0;
}

int TranslateAcceleratorA(HWND, HACCEL, LPMSG) { return 0; }

BOOL IsDialogMessageA(HWND, LPMSG) { return FALSE; }
