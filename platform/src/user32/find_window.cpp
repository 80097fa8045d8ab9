// FindWindowA: this process's windows first, then other processes' marks.
#include <cstdint>
#include <map>
#include <mutex>

#include "user32/class_mark.h"
#include "user32/window_table.h"

namespace {

// Handles naming windows of other processes, one per class name. They are
// not windows of this process (IsWindow says no), only proof of existence.
HWND ForeignWindowHandle(const std::string& class_name) {
  static std::mutex lock;
  static std::map<std::string, HWND> handles;
  static std::uintptr_t next_handle = 0x7FFF0000;
  std::lock_guard guard(lock);
  for (const auto& [name, handle] : handles) {
    if (wqplat::SameClassName(name, class_name)) return handle;
  }
  HWND handle = reinterpret_cast<HWND>(next_handle);
  next_handle += 2;
  handles[class_name] = handle;
  return handle;
}

}  // namespace

HWND FindWindowA(LPCSTR class_name, LPCSTR window_name) {
  for (const auto& window : wqplat::AllWindows()) {
    std::lock_guard lock(wqplat::UserLock());
    if (window->destroying) continue;
    if (class_name && !wqplat::SameClassName(window->window_class->name, class_name)) continue;
    if (window_name && window->text != window_name) continue;
    return window->handle;
  }
  if (class_name && wqplat::ClassMarkedElsewhere(class_name)) {
    return ForeignWindowHandle(class_name);
  }
  return nullptr;
}
