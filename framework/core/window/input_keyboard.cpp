// The keyboard: refreshed at most once per millisecond, through DirectInput
// or from the window system's key state, and the key queries.
#include <cstring>

#include "core/startup/api_lock.h"
#include "core/window/input_devices.h"
#include "core/window/input_direct_input.h"
#include "core/window/input_key_table.h"
#include "core/window/input_query.h"
#include "core/window/input_state.h"
#include "core/window/message_pump.h"
#include "core/window/window_system_state.h"

namespace {

int RefreshFromDirectInput() {
  InputState& input = Input();
  const int now = InputTimeMs();
  const bool signalled = WaitForSingleObject(input.keyboardEvent, 0) == WAIT_OBJECT_0;
  if (now == input.keyboardReadTime && !signalled) return 0;
  if (ProcessWindowMessages() != 0) return 0;
  if (!ReadDeviceState(input.keyboard, sizeof input.keys, input.keys)) return 0;
  input.keyboardReadTime = now;
  if (signalled) ResetEvent(input.keyboardEvent);
  // The device does not tell the right Shift from the left one on every
  // system; the window system's state does.
  input.keys[D_DIK_RSHIFT] = (GetKeyState(VK_RSHIFT) & 0x8000) ? 0x80 : 0;
  return 1;
}

int RefreshFromWindows() {
  InputState& input = Input();
  // Only the thread inside a library call reads the window system's keys:
  // the frame's pump refreshes them, and a read between pumps keeps them.
  if (!IsApiLockHeldByCurrentThread()) return 0;
  const int now = InputTimeMs();
  if (now == input.keyboardReadTime) return 0;
  input.keyboardReadTime = now;
  if (ProcessWindowMessages() != 0) return 0;
  BYTE windowsKeys[256];
  GetKeyboardState(windowsKeys);
  std::memset(input.keys, 0, sizeof input.keys);
  for (const VirtualKeyCode& row : VirtualKeyCodeTable()) {
    input.keys[row.keyCode] = windowsKeys[row.virtualKey];
  }
  for (std::size_t button = 0; button < std::size(kMouseButtonKeys); ++button) {
    input.mouseButtons[button] = windowsKeys[kMouseButtonKeys[button]];
  }
  input.mouseButtonsValid = 1;
  return 1;
}

}  // namespace

bool PrepareInputQuery(int* result) {
  WaitWhileInactive();
  if (Input().mode != InputMode::kNotStarted || GetWindowCloseRequest()) return true;
  *result = StartInput();
  return false;
}

int RefreshKeyboardState() {
  InputState& input = Input();
  if (input.refreshing) return 0;
  input.refreshing = 1;
  const int result = UsesDirectInputKeyboard() ? RefreshFromDirectInput() : RefreshFromWindows();
  input.refreshing = 0;
  return result;
}

int IsKeyDown(int keyCode) {
  int result = 0;
  if (!PrepareInputQuery(&result)) return result;
  RefreshKeyboardState();
  return keyCode >= 0 && keyCode < 256 && (Input().keys[keyCode] & 0x80) ? 1 : 0;
}

int ReadKeyboardState(char* keys) {
  if (keys == nullptr) return -1;
  int result = 0;
  if (!PrepareInputQuery(&result)) return result;
  RefreshKeyboardState();
  for (int key = 0; key < 256; ++key) keys[key] = (Input().keys[key] & 0x80) ? 1 : 0;
  return 0;
}
