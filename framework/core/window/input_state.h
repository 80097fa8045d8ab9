// Input's state: the devices, the key state read each frame, the pads and
// the key-to-pad map. One static block, used only on the framework's
// thread.
#pragma once

#include <iterator>

#include "platform/dinput.h"
#include "platform/windows.h"

inline constexpr int kMaxJoypads = 16;
inline constexpr int kJoypadMapBits = 32;
inline constexpr int kKeysPerMapBit = 4;
// The window system's keys of the mouse buttons, in InputState's order.
inline constexpr BYTE kMouseButtonKeys[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};

struct JoypadVibration {
  int wanted;      // 1 vibrating
  int power;       // 0..10000
  int durationMs;  // -1 without end
  int elapsedMs;
  int lastTime;
  int constantPlaying;
  int sinePlaying;
};

struct JoypadRecord {
  D_IDirectInputDevice7A* device;
  D_IDirectInputEffect* constantEffect;
  D_IDirectInputEffect* sineEffect;
  HANDLE event;
  D_DIJOYSTATE state;
  int hasZAndR;  // multimedia joystick with Z and R axes
  int lastPollTime;
  JoypadVibration vibration;
  char instanceName[MAX_PATH];
  char productName[MAX_PATH];
  double addedHalf;  // 0.5 once the pad is added; nothing reads it
};

enum class InputMode { kNotStarted, kDirectInput, kWindows };

struct InputState {
  // Switches, kept across starts.
  int noDirectInput;
  int effectsOff;
  int directInputKeyboardAlways;  // also on Vista and later
  int keyMapReady;

  // Everything below is zeroed by each start.
  InputMode mode;
  int directInput8;
  D_IDirectInput7A* directInput7;
  D_IDirectInput8A* directInput8Object;
  D_IDirectInputDevice7A* mouse;
  D_IDirectInputDevice7A* keyboard;
  HANDLE keyboardEvent;
  int keyboardReadTime;
  BYTE keys[256];  // by DIK code, bit 7 down
  int mouseButtonsValid;
  BYTE mouseButtons[std::size(kMouseButtonKeys)];
  int padCount;
  JoypadRecord pads[kMaxJoypads];
  int keyboardOffDirectInput;
  int hookKeyA;
  int hookKeyB;
  int refreshing;
  int starting;
};

InputState& Input();

// For each pad, each result bit's keys (DIK codes, -1 none). Kept across
// starts; filled at the first start.
using JoypadKeyMap = int[kMaxJoypads][kJoypadMapBits][kKeysPerMapBit];
JoypadKeyMap& JoypadKeys();
void FillDefaultJoypadKeys();

// Whether the keyboard and the mouse are read through DirectInput now (the
// mouse under the keyboard's condition).
bool UsesDirectInputKeyboard();
bool UsesDirectInputMouse();
// The framework's millisecond timer, as the refreshes compare it.
int InputTimeMs();
