// Window and client rectangles, frame sizes and moving windows.
#include <algorithm>

#include "platform/kernel32.h"
#include "user32/window_frame.h"
#include "user32/window_messages.h"
#include "user32/window_presenter.h"
#include "user32/window_state.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

LPARAM PackPoint(LONG x, LONG y) { return MAKELONG(static_cast<SHORT>(x), static_cast<SHORT>(y)); }

std::shared_ptr<WindowRecord> ExistingWindow(HWND window) {
  auto record = FindWindowRecord(window);
  if (!record) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return record;
}

// Moves a point by the client area's origin, forward (1) or back (-1).
BOOL ShiftByClientOrigin(HWND window, LPPOINT point, int direction) {
  std::optional<RECT> client = FindClientRectOnScreen(window);
  if (!client || !point) return FALSE;
  point->x += direction * client->left;
  point->y += direction * client->top;
  return TRUE;
}

}  // namespace

void SyncPresenter(HWND window) {
  auto record = FindWindowRecord(window);
  if (!record || !record->presenter) return;
  RECT client;
  bool borderless;
  bool topmost;
  {
    std::lock_guard lock(UserLock());
    client = ClientRectOnScreen(*record);
    borderless = (record->style & WS_CAPTION) != WS_CAPTION;
    topmost = (record->ex_style & WS_EX_TOPMOST) != 0;
  }
  record->presenter->Place(client, borderless, topmost);
}

void PlaceWindow(HWND window, const RECT& window_rect, PlacementSource source) {
  auto record = FindWindowRecord(window);
  if (!record) return;
  RECT old_client;
  RECT new_client;
  {
    std::lock_guard lock(UserLock());
    old_client = ClientRectOnScreen(*record);
    record->window_rect = window_rect;
    new_client = ClientRectOnScreen(*record);
  }
  if (source == PlacementSource::kProgram) SyncPresenter(window);
  LONG width = new_client.right - new_client.left;
  LONG height = new_client.bottom - new_client.top;
  bool moved = new_client.left != old_client.left || new_client.top != old_client.top;
  bool sized = width != old_client.right - old_client.left ||
               height != old_client.bottom - old_client.top;
  if (moved) CallWindowProcedure(window, WM_MOVE, 0, PackPoint(new_client.left, new_client.top));
  if (sized) {
    CallWindowProcedure(window, WM_SIZE, SIZE_RESTORED, PackPoint(width, height));
    InvalidateClientArea(window, true);
  }
}

}  // namespace wqplat

using namespace wqplat;

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL /*menu*/, DWORD ex_style) {
  if (!rect) return FALSE;
  RECT frame = FrameThickness(style, ex_style);
  rect->left -= frame.left;
  rect->top -= frame.top;
  rect->right += frame.right;
  rect->bottom += frame.bottom;
  return TRUE;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
  auto record = ExistingWindow(window);
  if (!record || !rect) return FALSE;
  std::lock_guard lock(UserLock());
  *rect = record->window_rect;
  return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
  std::optional<RECT> client = FindClientRectOnScreen(window);
  if (!client || !rect) return FALSE;
  *rect = RECT{0, 0, std::max<LONG>(0, client->right - client->left),
               std::max<LONG>(0, client->bottom - client->top)};
  return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
  return ShiftByClientOrigin(window, point, 1);
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
  return ShiftByClientOrigin(window, point, -1);
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL /*repaint*/) {
  if (!ExistingWindow(window)) return FALSE;
  PlaceWindow(window, RECT{x, y, x + width, y + height});
  return TRUE;
}

BOOL SetWindowPos(HWND window, HWND insert_after, int x, int y, int width, int height,
                  UINT flags) {
  auto record = ExistingWindow(window);
  if (!record) return FALSE;
  RECT placed;
  {
    std::lock_guard lock(UserLock());
    placed = record->window_rect;
    if (!(flags & SWP_NOZORDER)) {
      if (insert_after == HWND_TOPMOST) record->ex_style |= WS_EX_TOPMOST;
      if (insert_after == HWND_NOTOPMOST) record->ex_style &= ~WS_EX_TOPMOST;
    }
  }
  if (!(flags & SWP_NOMOVE)) {
    placed = RECT{x, y, x + (placed.right - placed.left), y + (placed.bottom - placed.top)};
  }
  if (!(flags & SWP_NOSIZE)) {
    placed.right = placed.left + width;
    placed.bottom = placed.top + height;
  }
  PlaceWindow(window, placed);
  if (flags & SWP_HIDEWINDOW) ShowWindow(window, SW_HIDE);
  if (flags & SWP_SHOWWINDOW) ShowWindow(window, SW_SHOWNA);
  // Without SWP_NOACTIVATE a visible window is activated, as on Windows.
  if (!(flags & SWP_NOACTIVATE) && IsWindowVisible(window)) ActivateWindow(window);
  return TRUE;
}
