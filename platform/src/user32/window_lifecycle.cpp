// Window classes, creating, showing and destroying windows, and their
// stored values (text, styles, user data).
#include <SDL.h>

#include "platform/kernel32.h"
#include "user32/class_mark.h"
#include "user32/input_script.h"
#include "user32/thread_queue.h"
#include "user32/window_messages.h"
#include "user32/window_presenter.h"
#include "user32/window_state.h"
#include "user32/window_surface_bridge.h"
#include "user32/window_system.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

// Where a window with CW_USEDEFAULT goes, and its size.
constexpr int kDefaultX = 64;
constexpr int kDefaultY = 64;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

bool IsBorderless(DWORD style) { return (style & WS_CAPTION) != WS_CAPTION; }

std::shared_ptr<WindowRecord> OwnWindow(HWND window) {
  auto record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (record->thread_id != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return record;
}

LPARAM PackPoint(LONG x, LONG y) { return MAKELONG(static_cast<SHORT>(x), static_cast<SHORT>(y)); }

void SendCreatedSizeAndPosition(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  CallWindowProcedure(window, WM_SIZE, SIZE_RESTORED, PackPoint(client.right, client.bottom));
  CallWindowProcedure(window, WM_MOVE, 0, PackPoint(origin.x, origin.y));
}

void ForgetWindow(const std::shared_ptr<WindowRecord>& record) {
  CurrentThreadQueue()->KillWindowTimers(record->handle);
  {
    std::lock_guard lock(UserLock());
    --record->window_class->window_count;
  }
  ReleaseClassMark(record->window_class->name);
  RemoveWindow(record->handle);
}

}  // namespace
}  // namespace wqplat

using namespace wqplat;

ATOM RegisterClassExA(const WNDCLASSEXA* window_class) {
  if (!window_class || window_class->cbSize != sizeof(WNDCLASSEXA) || !window_class->lpszClassName ||
      !window_class->lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  static ATOM next_atom = 0xC000;
  auto record = std::make_shared<WindowClassRecord>();
  record->name = window_class->lpszClassName;
  record->style = window_class->style;
  record->procedure = window_class->lpfnWndProc;
  record->instance = window_class->hInstance;
  record->icon = window_class->hIcon;
  record->cursor = window_class->hCursor;
  record->background = window_class->hbrBackground;
  std::lock_guard lock(UserLock());
  if (!AddWindowClass(record)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  return next_atom++;
}

BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE /*instance*/) {
  std::lock_guard lock(UserLock());
  auto record = class_name ? FindWindowClass(class_name) : nullptr;
  if (!record) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (record->window_count > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  RemoveWindowClass(record->name);
  return TRUE;
}

HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID parameter) {
  auto window_class = class_name ? FindWindowClass(class_name) : nullptr;
  if (!window_class) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  // An overlapped window always has a caption, as on Windows.
  if (!(style & (WS_POPUP | WS_CHILD))) style |= WS_CAPTION | WS_CLIPSIBLINGS;
  if (x == CW_USEDEFAULT) {
    x = kDefaultX;
    y = kDefaultY;
  }
  if (width == CW_USEDEFAULT) {
    width = kDefaultWidth;
    height = kDefaultHeight;
  }
  auto record = std::make_shared<WindowRecord>();
  record->window_class = window_class;
  record->procedure = window_class->procedure;
  record->style = style & ~WS_VISIBLE;
  record->ex_style = ex_style;
  record->window_rect = RECT{x, y, x + width, y + height};
  record->text = window_name ? window_name : "";
  record->thread_id = GetCurrentThreadId();
  record->accepts_files = (ex_style & WS_EX_ACCEPTFILES) != 0;
  InstallWindowSurface();
  if (EnsureWindowSystem()) {
    ClaimEventThread();
    record->presenter =
        WindowPresenter::Create(record->text, ClientRectOnScreen(*record), IsBorderless(style),
                                (ex_style & WS_EX_LAYERED) != 0);
    if (record->presenter) record->sdl_window_id = record->presenter->sdl_window_id();
  }
  {
    std::lock_guard lock(UserLock());
    ++window_class->window_count;
  }
  HWND window = AddWindow(record);
  HoldClassMark(window_class->name);

  CREATESTRUCTA create{parameter, instance, menu, parent, height, width, y, x,
                       static_cast<LONG>(style), window_name, class_name, ex_style};
  LPARAM create_lparam = reinterpret_cast<LPARAM>(&create);
  if (!CallWindowProcedure(window, WM_NCCREATE, 0, create_lparam)) {
    ForgetWindow(record);
    return nullptr;
  }
  if (CallWindowProcedure(window, WM_CREATE, 0, create_lparam) == -1) {
    DestroyWindow(window);
    return nullptr;
  }
  if (!IsWindow(window)) return nullptr;  // destroyed by its own procedure
  SendCreatedSizeAndPosition(window);
  if (style & WS_VISIBLE) ShowWindow(window, SW_SHOW);
  return window;
}

BOOL DestroyWindow(HWND window) {
  auto record = OwnWindow(window);
  if (!record) return FALSE;
  {
    std::lock_guard lock(UserLock());
    if (record->destroying) return TRUE;
    record->destroying = true;
  }
  if (ActiveWindow() == window) ActivateWindow(nullptr);
  if (record->presenter) record->presenter->Show(false);
  CallWindowProcedure(window, WM_DESTROY, 0, 0);
  CallWindowProcedure(window, WM_NCDESTROY, 0, 0);
  ForgetWindow(record);
  return TRUE;
}

BOOL IsWindow(HWND window) {
  return window == GetDesktopWindow() || FindWindowRecord(window) != nullptr;
}

BOOL IsWindowVisible(HWND window) {
  auto record = FindWindowRecord(window);
  std::lock_guard lock(UserLock());
  return record && record->visible;
}

BOOL ShowWindow(HWND window, int command) {
  auto record = OwnWindow(window);
  if (!record) return FALSE;
  bool was_visible;
  bool was_minimized;
  {
    std::lock_guard lock(UserLock());
    was_visible = record->visible;
    was_minimized = record->minimized;
    record->visible = command != SW_HIDE;
    record->minimized = command == SW_MINIMIZE || command == SW_SHOWMINIMIZED ||
                        command == SW_SHOWMINNOACTIVE;
  }
  if (command == SW_HIDE) {
    if (was_visible) {
      if (record->presenter) record->presenter->Show(false);
      CallWindowProcedure(window, WM_SHOWWINDOW, FALSE, 0);
      if (ActiveWindow() == window) ActivateWindow(nullptr);
    }
    return was_visible;
  }
  if (!was_visible) {
    CallWindowProcedure(window, WM_SHOWWINDOW, TRUE, 0);
    if (record->presenter) record->presenter->Show(true);
    InvalidateClientArea(window, true);
    StartEnvironmentInputScript(window);
  }
  if (record->minimized) {
    if (!was_minimized) {
      if (record->presenter) record->presenter->Minimize();
      CallWindowProcedure(window, WM_SIZE, SIZE_MINIMIZED, 0);
    }
    if (command == SW_MINIMIZE && ActiveWindow() == window) ActivateWindow(nullptr);
    if (command != SW_SHOWMINIMIZED) return was_visible;
  } else if (was_minimized) {
    if (record->presenter) record->presenter->Show(true);
    SendCreatedSizeAndPosition(window);
  }
  if (command != SW_SHOWNOACTIVATE && command != SW_SHOWNA) ActivateWindow(window);
  return was_visible;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  auto record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  std::lock_guard lock(UserLock());
  record->text = text ? text : "";
  if (record->presenter) record->presenter->SetTitle(record->text);
  return TRUE;
}

int GetWindowTextA(HWND window, LPSTR text, int max_count) {
  auto record = FindWindowRecord(window);
  if (!record || !text || max_count <= 0) return 0;
  std::lock_guard lock(UserLock());
  std::size_t length = std::min(record->text.size(), static_cast<std::size_t>(max_count - 1));
  record->text.copy(text, length);
  text[length] = '\0';
  return static_cast<int>(length);
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
  auto record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  std::lock_guard lock(UserLock());
  switch (index) {
    case GWL_STYLE: return static_cast<LONG>(record->style | (record->visible ? WS_VISIBLE : 0));
    case GWL_EXSTYLE: return static_cast<LONG>(record->ex_style);
    case GWLP_USERDATA: return record->user_data;
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(record->procedure);
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
  }
}

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  auto record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LONG_PTR previous = GetWindowLongPtrA(window, index);
  {
    std::lock_guard lock(UserLock());
    switch (index) {
      case GWL_STYLE: record->style = static_cast<DWORD>(value) & ~WS_VISIBLE; break;
      case GWL_EXSTYLE: record->ex_style = static_cast<DWORD>(value); break;
      case GWLP_USERDATA: record->user_data = value; break;
      case GWLP_WNDPROC: record->procedure = reinterpret_cast<WNDPROC>(value); break;
      default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
  }
  // The frame follows the style at once: keep the window rectangle and fit
  // the on-screen client area inside it.
  if (index == GWL_STYLE || index == GWL_EXSTYLE) SyncPresenter(window);
  if (index == GWL_STYLE && ((previous ^ value) & WS_VISIBLE)) {
    ShowWindow(window, (value & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
  }
  return previous;
}

LONG GetWindowLongA(HWND window, int index) {
  return static_cast<LONG>(GetWindowLongPtrA(window, index));
}

LONG SetWindowLongA(HWND window, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrA(window, index, value));
}

BOOL WINNLSEnableIME(HWND window, BOOL enable) {
  auto record = FindWindowRecord(window);
  if (!record) return FALSE;
  std::lock_guard lock(UserLock());
  BOOL previous = record->ime_enabled;
  record->ime_enabled = enable != FALSE;
  return previous;
}
