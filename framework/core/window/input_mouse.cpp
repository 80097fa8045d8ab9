// Mouse buttons and the any-input check.
#include <cstddef>

#include "core/window/input_devices.h"
#include "core/window/input_direct_input.h"
#include "core/window/input_query.h"
#include "core/window/input_state.h"
#include "core/window/window_system_state.h"

namespace {

constexpr int kSelectKeyboard = 1;
constexpr int kSelectPads = 2;
constexpr int kSelectMouse = 4;
// Kanji, Caps Lock and Kana stay down as modes on some keyboards.
constexpr int kModeKeys[] = {D_DIK_KANJI, D_DIK_CAPITAL, D_DIK_KANA};
// What the keyboard hook's flag A reports as pressed.
constexpr int kHookKeyCode = D_DIK_F10;

int DirectInputMouseButtons() {
  D_DIMOUSESTATE state;
  if (!ReadDeviceState(Input().mouse, sizeof state, &state)) return 0;
  int bits = 0;
  for (int button = 0; button < 4; ++button) {
    if (state.rgbButtons[button] & 0x80) bits |= 1 << button;
  }
  return bits;
}

int WindowsMouseButtons() {
  RefreshKeyboardState();
  const InputState& input = Input();
  int bits = 0;
  for (std::size_t button = 0; button < std::size(kMouseButtonKeys); ++button) {
    // Before the first read, from the window system's state.
    const BYTE state = input.mouseButtonsValid ? input.mouseButtons[button]
                                               : LOBYTE(GetKeyState(kMouseButtonKeys[button]) >> 8);
    if (state & 0x80) bits |= 1 << button;
  }
  return bits;
}

bool IsModeKey(int key) {
  for (int modeKey : kModeKeys) {
    if (key == modeKey) return true;
  }
  return false;
}

int FirstKeyDown() {
  RefreshKeyboardState();
  const InputState& input = Input();
  for (int key = 0; key < 256; ++key) {
    if (!IsModeKey(key) && (input.keys[key] & 0x80)) return key;
  }
  return input.hookKeyA ? kHookKeyCode : 0;
}

bool AnyPadPressed() {
  for (int pad = 1; pad <= Input().padCount; ++pad) {
    if (ReadJoypadState(pad) != 0) return true;
  }
  return false;
}

bool ClickInClientArea() {
  const WindowSystemState& state = WindowSystem();
  POINT cursor{};
  GetCursorPos(&cursor);
  const RECT& client = state.clientRect;
  const bool inside = cursor.x >= client.left && cursor.x < client.right && cursor.y >= client.top &&
                      cursor.y < client.bottom;
  return inside && state.active && GetMouseButtons() != 0;
}

}  // namespace

int GetMouseButtons() {
  return UsesDirectInputMouse() ? DirectInputMouseButtons() : WindowsMouseButtons();
}

int CheckAnyInput(int selector) {
  int result = 0;
  if (!PrepareInputQuery(&result)) return result;
  if (selector & kSelectKeyboard) {
    if (const int key = FirstKeyDown(); key != 0) return key;
  }
  if ((selector & kSelectPads) && AnyPadPressed()) return -1;
  if ((selector & kSelectMouse) && ClickInClientArea()) return -1;
  return 0;
}
