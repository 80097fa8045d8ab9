#include "core/window/input_state.h"

#include "platform/mmsystem.h"
#include "core/window/window_system_state.h"

namespace {

InputState g_input;
JoypadKeyMap g_joypadKeys;

struct DefaultMapBit {
  int bit;
  int keys[2];
};

// Pad 1's keys: directions on the numeric pad and the arrows, buttons on
// the letters, Escape and Space.
constexpr DefaultMapBit kDefaultPad1Keys[] = {
    {0, {D_DIK_NUMPAD2, D_DIK_DOWN}},  {1, {D_DIK_NUMPAD4, D_DIK_LEFT}},
    {2, {D_DIK_NUMPAD6, D_DIK_RIGHT}}, {3, {D_DIK_NUMPAD8, D_DIK_UP}},
    {4, {D_DIK_Z, -1}},                {5, {D_DIK_X, -1}},
    {6, {D_DIK_C, -1}},                {7, {D_DIK_A, -1}},
    {8, {D_DIK_S, -1}},                {9, {D_DIK_D, -1}},
    {10, {D_DIK_Q, -1}},               {11, {D_DIK_W, -1}},
    {12, {D_DIK_ESCAPE, -1}},          {13, {D_DIK_SPACE, -1}},
};

// The switches of Vista and later read the keyboard from the window
// system instead, unless DirectInput is asked for on every system.
bool DirectInputAllowedForKeyboardAndMouse() {
  const InputState& input = Input();
  return input.directInputKeyboardAlways || WindowSystem().osCode < 0x108;
}

}  // namespace

InputState& Input() { return g_input; }

JoypadKeyMap& JoypadKeys() { return g_joypadKeys; }

void FillDefaultJoypadKeys() {
  for (auto& pad : g_joypadKeys) {
    for (auto& bit : pad) {
      for (int& key : bit) key = -1;
    }
  }
  for (const DefaultMapBit& entry : kDefaultPad1Keys) {
    g_joypadKeys[0][entry.bit][0] = entry.keys[0];
    g_joypadKeys[0][entry.bit][1] = entry.keys[1];
  }
}

bool UsesDirectInputKeyboard() {
  const InputState& input = Input();
  return input.keyboard != nullptr && !input.noDirectInput && !input.keyboardOffDirectInput &&
         DirectInputAllowedForKeyboardAndMouse();
}

bool UsesDirectInputMouse() { return Input().mouse != nullptr && UsesDirectInputKeyboard(); }

int InputTimeMs() { return static_cast<int>(timeGetTime()); }
