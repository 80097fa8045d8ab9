// The cursor: display counter, shape, position and clip rectangle.
#include <SDL.h>

#include <algorithm>
#include <mutex>

#include "platform/kernel32.h"
#include "platform/user32.h"
#include "user32/cursor_state.h"

namespace wqplat {
namespace {

// The system's own cursor and icon; their addresses are their handles.
struct SystemImage {
  int unused;
};
SystemImage arrow_cursor;
SystemImage application_icon;

constexpr WORD kSystemImageId = 32512;
constexpr DWORD kResourceNameNotFound = 1814;

std::mutex cursor_lock;
int display_count = 0;
HCURSOR current_cursor = reinterpret_cast<HCURSOR>(&arrow_cursor);
POINT position{0, 0};
bool clipped = false;
RECT clip{};

POINT Clip(POINT point) {
  if (!clipped) return point;
  // The right and bottom edges are outside the rectangle, as on Windows.
  point.x = std::clamp<LONG>(point.x, clip.left, std::max(clip.left, clip.right - 1));
  point.y = std::clamp<LONG>(point.y, clip.top, std::max(clip.top, clip.bottom - 1));
  return point;
}

void ApplyVisibility() {
  bool visible = display_count >= 0 && current_cursor != nullptr;
  // Only a running window system has a pointer to show or hide.
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

HICON LoadSystemImage(HINSTANCE instance, LPCSTR name, SystemImage* image) {
  // The program carries no resources of its own, so only the system's
  // images (a null instance) are found.
  if (instance == nullptr && reinterpret_cast<ULONG_PTR>(name) == kSystemImageId) {
    return reinterpret_cast<HICON>(image);
  }
  SetLastError(kResourceNameNotFound);
  return nullptr;
}

}  // namespace

POINT MoveCursorTo(POINT screen_position) {
  std::lock_guard lock(cursor_lock);
  position = Clip(screen_position);
  return position;
}

}  // namespace wqplat

using namespace wqplat;

int ShowCursor(BOOL show) {
  std::lock_guard lock(cursor_lock);
  display_count += show ? 1 : -1;
  ApplyVisibility();
  return display_count;
}

HCURSOR SetCursor(HCURSOR cursor) {
  std::lock_guard lock(cursor_lock);
  HCURSOR previous = current_cursor;
  current_cursor = cursor;
  ApplyVisibility();
  return previous;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  return LoadSystemImage(instance, name, &arrow_cursor);
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  return LoadSystemImage(instance, name, &application_icon);
}

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  std::lock_guard lock(cursor_lock);
  *point = position;
  return TRUE;
}

BOOL ClipCursor(const RECT* rect) {
  std::lock_guard lock(cursor_lock);
  clipped = rect != nullptr;
  if (rect) clip = *rect;
  position = Clip(position);
  return TRUE;
}
