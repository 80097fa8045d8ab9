#include "user32/window_table.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/kernel32.h"
#include "user32/window_frame.h"

namespace wqplat {
namespace {

std::vector<std::shared_ptr<WindowClassRecord>>& Classes() {
  static std::vector<std::shared_ptr<WindowClassRecord>> classes;
  return classes;
}

std::map<HWND, std::shared_ptr<WindowRecord>>& Windows() {
  static std::map<HWND, std::shared_ptr<WindowRecord>> windows;
  return windows;
}

// Window handles are small even numbers, as on Windows; they are not reused
// within a run, so a stale handle never names a new window.
std::uintptr_t next_window_handle = 0x10010;

}  // namespace

std::recursive_mutex& UserLock() {
  static std::recursive_mutex lock;
  return lock;
}

bool SameClassName(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
  });
}

std::shared_ptr<WindowClassRecord> FindWindowClass(const std::string& name) {
  std::lock_guard lock(UserLock());
  for (const auto& window_class : Classes()) {
    if (SameClassName(window_class->name, name)) return window_class;
  }
  return nullptr;
}

bool AddWindowClass(std::shared_ptr<WindowClassRecord> window_class) {
  std::lock_guard lock(UserLock());
  if (FindWindowClass(window_class->name)) return false;
  Classes().push_back(std::move(window_class));
  return true;
}

void RemoveWindowClass(const std::string& name) {
  std::lock_guard lock(UserLock());
  std::erase_if(Classes(), [&](const auto& window_class) { return SameClassName(window_class->name, name); });
}

HWND AddWindow(std::shared_ptr<WindowRecord> window) {
  std::lock_guard lock(UserLock());
  HWND handle = reinterpret_cast<HWND>(next_window_handle);
  next_window_handle += 2;
  window->handle = handle;
  Windows()[handle] = std::move(window);
  return handle;
}

void RemoveWindow(HWND handle) {
  std::lock_guard lock(UserLock());
  Windows().erase(handle);
}

std::shared_ptr<WindowRecord> FindWindowRecord(HWND handle) {
  std::lock_guard lock(UserLock());
  auto found = Windows().find(handle);
  return found == Windows().end() ? nullptr : found->second;
}

std::shared_ptr<WindowRecord> FindWindowBySdlId(std::uint32_t sdl_window_id) {
  std::lock_guard lock(UserLock());
  for (const auto& [handle, window] : Windows()) {
    if (window->presenter && window->sdl_window_id == sdl_window_id) return window;
  }
  return nullptr;
}

std::vector<std::shared_ptr<WindowRecord>> AllWindows() {
  std::lock_guard lock(UserLock());
  std::vector<std::shared_ptr<WindowRecord>> windows;
  for (const auto& [handle, window] : Windows()) windows.push_back(window);
  return windows;
}

RECT ClientRectOnScreen(const WindowRecord& window) {
  const RECT frame = FrameThickness(window.style, window.ex_style);
  return RECT{window.window_rect.left + frame.left, window.window_rect.top + frame.top,
              window.window_rect.right - frame.right, window.window_rect.bottom - frame.bottom};
}

std::optional<RECT> FindClientRectOnScreen(HWND handle) {
  auto window = FindWindowRecord(handle);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return std::nullopt;
  }
  std::lock_guard lock(UserLock());
  return ClientRectOnScreen(*window);
}

}  // namespace wqplat
