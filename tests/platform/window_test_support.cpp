#include "window_test_support.h"

#include <algorithm>

#include "platform/control.h"

namespace wqtest {
namespace {

std::vector<RecordedMessage> recorded;

LRESULT RecordingProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  recorded.push_back(RecordedMessage{window, message, wparam, lparam});
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

RecordingWindowClass::RecordingWindowClass(const char* name) : name_(name) {
  // Test processes share one display: without this they would take the
  // focus from each other's windows.
  WqControlFollowWindowSystemFocus(false);
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = &RecordingProcedure;
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.lpszClassName = name_.c_str();
  RegisterClassExA(&window_class);
  recorded.clear();
}

RecordingWindowClass::~RecordingWindowClass() {
  for (HWND window = FindWindowA(name_.c_str(), nullptr); window && IsWindow(window);
       window = FindWindowA(name_.c_str(), nullptr)) {
    DestroyWindow(window);
  }
  UnregisterClassA(name_.c_str(), nullptr);
  recorded.clear();
}

HWND RecordingWindowClass::Create(DWORD style, DWORD ex_style, int client_width,
                                  int client_height) {
  RECT rect{0, 0, client_width, client_height};
  AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  return CreateWindowExA(ex_style, name_.c_str(), "Recording", style, 100, 80,
                         rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr,
                         nullptr);
}

const std::vector<RecordedMessage>& RecordingWindowClass::messages() const { return recorded; }

std::vector<UINT> RecordingWindowClass::MessageIds(const std::vector<UINT>& wanted) const {
  std::vector<UINT> ids;
  for (const RecordedMessage& message : recorded) {
    if (wanted.empty() || std::find(wanted.begin(), wanted.end(), message.message) != wanted.end()) {
      ids.push_back(message.message);
    }
  }
  return ids;
}

void RecordingWindowClass::Clear() { recorded.clear(); }

std::vector<MSG> DispatchQueued() {
  std::vector<MSG> taken;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    taken.push_back(msg);
    if (msg.message == WM_QUIT) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return taken;
}

}  // namespace wqtest
