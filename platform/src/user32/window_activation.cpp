// The active window and the calls that change it.
#include <unistd.h>

#include "platform/kernel32.h"
#include "user32/window_messages.h"
#include "user32/window_presenter.h"
#include "user32/window_state.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

HWND active_window = nullptr;  // guarded by UserLock()

WPARAM ActivationWParam(WORD state, HWND window) {
  auto record = FindWindowRecord(window);
  bool minimized = record && record->minimized;
  return static_cast<WPARAM>(MAKELONG(state, minimized ? 1 : 0));
}

bool IsUsableWindow(HWND window) {
  auto record = FindWindowRecord(window);
  return record && !record->destroying;
}

void RaiseOnScreen(HWND window) {
  auto record = FindWindowRecord(window);
  if (record && record->presenter) record->presenter->Raise();
}

}  // namespace

HWND ActiveWindow() {
  std::lock_guard lock(UserLock());
  return active_window;
}

void ActivateWindow(HWND target) {
  HWND previous;
  {
    std::lock_guard lock(UserLock());
    previous = active_window;
    if (previous == target) return;
    active_window = target;
  }
  if (previous && IsWindow(previous)) {
    RunOnWindowThread(previous, [previous, target] {
      CallWindowProcedure(previous, WM_ACTIVATE, ActivationWParam(WA_INACTIVE, previous),
                          reinterpret_cast<LPARAM>(target));
      if (!target) CallWindowProcedure(previous, WM_ACTIVATEAPP, FALSE, 0);
      CallWindowProcedure(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(target), 0);
    });
  }
  if (target) {
    RunOnWindowThread(target, [previous, target] {
      if (!previous) CallWindowProcedure(target, WM_ACTIVATEAPP, TRUE, 0);
      CallWindowProcedure(target, WM_ACTIVATE, ActivationWParam(WA_ACTIVE, target),
                          reinterpret_cast<LPARAM>(previous));
      CallWindowProcedure(target, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    });
  }
}

}  // namespace wqplat

using namespace wqplat;

HWND SetActiveWindow(HWND window) {
  HWND previous = ActiveWindow();
  if (!IsUsableWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  ActivateWindow(window);
  return previous;
}

HWND GetActiveWindow() { return ActiveWindow(); }

HWND GetForegroundWindow() { return ActiveWindow(); }

HWND GetFocus() { return ActiveWindow(); }

BOOL SetForegroundWindow(HWND window) {
  if (!IsUsableWindow(window)) return FALSE;
  RaiseOnScreen(window);
  ActivateWindow(window);
  return TRUE;
}

BOOL BringWindowToTop(HWND window) {
  if (!IsUsableWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  RaiseOnScreen(window);
  ActivateWindow(window);
  return TRUE;
}

DWORD GetWindowThreadProcessId(HWND window, LPDWORD process_id) {
  auto record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (process_id) *process_id = static_cast<DWORD>(getpid());
  return record->thread_id;
}

BOOL AttachThreadInput(DWORD attach_thread, DWORD attach_to_thread, BOOL /*attach*/) {
  if (attach_thread == 0 || attach_to_thread == 0 || attach_thread == attach_to_thread) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
