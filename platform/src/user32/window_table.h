// Window classes and windows of the process. One lock guards every record
// field; it is never held while a window procedure runs.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/user32.h"

namespace wqplat {

class WindowPresenter;

struct WindowClassRecord {
  std::string name;  // as registered (code page 932)
  UINT style = 0;
  WNDPROC procedure = nullptr;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  int window_count = 0;
};

struct WindowRecord {
  HWND handle = nullptr;
  std::shared_ptr<WindowClassRecord> window_class;
  WNDPROC procedure = nullptr;
  DWORD style = 0;
  DWORD ex_style = 0;
  RECT window_rect{};  // screen coordinates
  std::string text;    // code page 932
  LONG_PTR user_data = 0;
  DWORD thread_id = 0;
  bool visible = false;
  bool minimized = false;
  bool destroying = false;
  bool accepts_files = false;
  bool ime_enabled = true;
  // The area waiting for WM_PAINT (client coordinates).
  bool has_invalid_area = false;
  bool erase_pending = false;
  RECT invalid_area{};
  // The on-screen window and its pixels; null without a display.
  std::shared_ptr<WindowPresenter> presenter;
  std::uint32_t sdl_window_id = 0;
};

std::recursive_mutex& UserLock();

// Class names compare as Windows compares them: ASCII case-insensitively.
bool SameClassName(const std::string& a, const std::string& b);

std::shared_ptr<WindowClassRecord> FindWindowClass(const std::string& name);
bool AddWindowClass(std::shared_ptr<WindowClassRecord> window_class);
void RemoveWindowClass(const std::string& name);

HWND AddWindow(std::shared_ptr<WindowRecord> window);
void RemoveWindow(HWND handle);
std::shared_ptr<WindowRecord> FindWindowRecord(HWND handle);
std::shared_ptr<WindowRecord> FindWindowBySdlId(std::uint32_t sdl_window_id);
std::vector<std::shared_ptr<WindowRecord>> AllWindows();

// The client rectangle in screen coordinates (the caller holds UserLock()).
RECT ClientRectOnScreen(const WindowRecord& window);
// The same for a window handle; nullopt (ERROR_INVALID_WINDOW_HANDLE) for
// a window that does not exist.
std::optional<RECT> FindClientRectOnScreen(HWND handle);

}  // namespace wqplat
