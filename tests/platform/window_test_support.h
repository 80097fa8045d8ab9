// A window class whose procedure records every message it receives, for
// asserting what the window module sends and in which order.
#pragma once

#include <string>
#include <vector>

#include "platform/windows.h"

namespace wqtest {

struct RecordedMessage {
  HWND window;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};

class RecordingWindowClass {
 public:
  explicit RecordingWindowClass(const char* name = "WqRecordingWindow");
  ~RecordingWindowClass();
  RecordingWindowClass(const RecordingWindowClass&) = delete;
  RecordingWindowClass& operator=(const RecordingWindowClass&) = delete;

  // A window of the class with the given client size, not yet shown.
  HWND Create(DWORD style = WS_OVERLAPPEDWINDOW, DWORD ex_style = 0, int client_width = 320,
              int client_height = 240);

  const std::vector<RecordedMessage>& messages() const;
  // The recorded message ids, in order, restricted to those in `wanted`
  // when it is not empty.
  std::vector<UINT> MessageIds(const std::vector<UINT>& wanted = {}) const;
  void Clear();

 private:
  std::string name_;
};

// Takes and dispatches (after TranslateMessage) everything the calling
// thread's queue holds now; returns the messages taken, in order.
std::vector<MSG> DispatchQueued();

}  // namespace wqtest
