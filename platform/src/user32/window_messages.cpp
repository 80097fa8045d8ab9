#include "user32/window_messages.h"

#include "platform/kernel32.h"
#include "user32/thread_queue.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

DWORD WindowThread(HWND window) {
  auto record = FindWindowRecord(window);
  return record ? record->thread_id : 0;
}

}  // namespace

LRESULT CallWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  WNDPROC procedure = nullptr;
  if (auto record = FindWindowRecord(window)) {
    std::lock_guard lock(UserLock());
    procedure = record->procedure;
  }
  return procedure ? procedure(window, message, wparam, lparam) : 0;
}

void RunOnWindowThread(HWND window, std::function<void()> work) {
  DWORD thread = WindowThread(window);
  if (thread == 0) return;
  if (thread == GetCurrentThreadId()) {
    work();
  } else {
    QueueOfThread(thread)->AddTask(std::move(work));
  }
}

BOOL PostToWindow(HWND window, UINT message, WPARAM wparam, LPARAM lparam, std::string typed_text) {
  DWORD thread = window ? WindowThread(window) : GetCurrentThreadId();
  if (thread == 0) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  MSG msg{window, message, wparam, lparam, GetTickCount(), cursor};
  QueueOfThread(thread)->Post(QueuedMessage{msg, std::move(typed_text)});
  return TRUE;
}

HWND FindWindowNeedingPaint(DWORD thread_id, HWND window_filter) {
  MessageFilter filter{window_filter, 0, 0};
  std::lock_guard lock(UserLock());
  for (const auto& window : AllWindows()) {
    if (window->thread_id == thread_id && window->visible && window->has_invalid_area &&
        filter.AcceptsWindow(window->handle)) {
      return window->handle;
    }
  }
  return nullptr;
}

}  // namespace wqplat
