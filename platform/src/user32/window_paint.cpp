// Invalid areas, WM_PAINT and the paint calls.
#include <algorithm>

#include "platform/gdi32.h"
#include "platform/kernel32.h"
#include "user32/thread_queue.h"
#include "user32/window_messages.h"
#include "user32/window_state.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

RECT Union(const RECT& a, const RECT& b) {
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

bool Contains(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

void Invalidate(WindowRecord& record, const RECT* area, bool erase) {
  RECT client = ClientRectOnScreen(record);
  RECT whole{0, 0, client.right - client.left, client.bottom - client.top};
  RECT clipped = whole;
  if (area) {
    clipped = RECT{std::max(area->left, whole.left), std::max(area->top, whole.top),
                   std::min(area->right, whole.right), std::min(area->bottom, whole.bottom)};
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom) return;
  }
  record.invalid_area = record.has_invalid_area ? Union(record.invalid_area, clipped) : clipped;
  record.has_invalid_area = true;
  record.erase_pending = record.erase_pending || erase;
}

void WakeWindowThread(const WindowRecord& record) { QueueOfThread(record.thread_id)->Wake(); }

}  // namespace

void InvalidateClientArea(HWND window, bool erase) { InvalidateRect(window, nullptr, erase); }

}  // namespace wqplat

using namespace wqplat;

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  if (!window) {
    for (const auto& record : AllWindows()) InvalidateRect(record->handle, nullptr, erase);
    return TRUE;
  }
  auto record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  {
    std::lock_guard lock(UserLock());
    Invalidate(*record, rect, erase != FALSE);
  }
  WakeWindowThread(*record);
  return TRUE;
}

BOOL ValidateRect(HWND window, const RECT* rect) {
  auto record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  std::lock_guard lock(UserLock());
  // The invalid area is kept as one rectangle: a rectangle that covers it
  // validates it, a smaller one leaves it for the next WM_PAINT.
  if (!rect || Contains(*rect, record->invalid_area)) {
    record->has_invalid_area = false;
    record->erase_pending = false;
  }
  return TRUE;
}

BOOL UpdateWindow(HWND window) {
  auto record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  bool needs_paint;
  {
    std::lock_guard lock(UserLock());
    needs_paint = record->visible && record->has_invalid_area;
  }
  if (needs_paint) SendMessageA(window, WM_PAINT, 0, 0);
  return TRUE;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  auto record = FindWindowRecord(window);
  if (!record || !paint) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  bool erase;
  *paint = PAINTSTRUCT{};
  {
    std::lock_guard lock(UserLock());
    erase = record->erase_pending;
    if (record->has_invalid_area) paint->rcPaint = record->invalid_area;
    record->has_invalid_area = false;
    record->erase_pending = false;
  }
  paint->hdc = GetDC(window);
  // fErase tells the painter that the background still needs erasing.
  paint->fErase = erase && SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0;
  return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  if (paint->hdc) ReleaseDC(window, paint->hdc);
  return TRUE;
}
