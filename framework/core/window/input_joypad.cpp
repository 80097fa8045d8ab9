// Pads: polled at most once per millisecond, through DirectInput or the
// multimedia joystick functions, and read as direction and button bits,
// optionally merged with the pad's keys.
#include "core/window/input_devices.h"
#include "core/window/input_query.h"
#include "core/window/input_state.h"
#include "core/window/message_pump.h"
#include "platform/mmsystem.h"
#include "core/startup/runtime_libraries.h"

namespace {

constexpr int kKeyMapFlag = 0x1000;
constexpr int kReadButtons = 24;

using JoyGetPosExFunction = MMRESULT (*)(UINT, LPJOYINFOEX);

bool EventSignalled(HANDLE event) {
  return event != nullptr && WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

int PollDirectInputPad(JoypadRecord& pad) {
  if (pad.device == nullptr) return -1;
  const int now = InputTimeMs();
  const bool signalled = EventSignalled(pad.event);
  if (now == pad.lastPollTime && !signalled) return 0;
  D_DIJOYSTATE state;
  pad.device->Poll();
  if (FAILED(pad.device->GetDeviceState(sizeof state, &state))) {
    if (ProcessWindowMessages() != 0 || Input().mode == InputMode::kNotStarted) return -1;
    pad.device->Acquire();
    // A pad that still cannot be read keeps its last state.
    if (SUCCEEDED(pad.device->GetDeviceState(sizeof state, &state))) pad.state = state;
  } else {
    pad.state = state;
  }
  if (signalled) ResetEvent(pad.event);
  pad.lastPollTime = now;
  return 0;
}

int PollMultimediaPad(int index, JoypadRecord& pad) {
  const int now = InputTimeMs();
  if (now == pad.lastPollTime) return 0;
  pad.lastPollTime = now;
  const auto joyGetPosEx = RuntimeEntry<JoyGetPosExFunction>(kRuntimeWinmm, "joyGetPosEx");
  JOYINFOEX info{};
  info.dwSize = sizeof info;
  info.dwFlags = JOY_RETURNALL;
  pad.state = D_DIJOYSTATE{};
  if (joyGetPosEx == nullptr || joyGetPosEx(static_cast<UINT>(index), &info) != JOYERR_NOERROR) return 0;
  pad.state.lX = MapJoystickAxis(info.dwXpos);
  pad.state.lY = MapJoystickAxis(info.dwYpos);
  if (pad.hasZAndR) {
    pad.state.lZ = MapJoystickAxis(info.dwZpos);
    pad.state.lRz = MapJoystickAxis(info.dwRpos);
  }
  for (int button = 0; button < kReadButtons; ++button) {
    if ((info.dwButtons >> button) & 1u) pad.state.rgbButtons[button] = 0x80;
  }
  return 0;
}

int PadBits(const D_DIJOYSTATE& state) {
  int bits = 0;
  if (state.lX < 0) bits |= 1 << 1;
  if (state.lX > 0) bits |= 1 << 2;
  if (state.lY < 0) bits |= 1 << 3;
  if (state.lY > 0) bits |= 1 << 0;
  for (int button = 0; button < kReadButtons; ++button) {
    if (state.rgbButtons[button] & 0x80) bits |= 1 << (4 + button);
  }
  return bits;
}

int MappedKeyBits(int mapIndex) {
  RefreshKeyboardState();
  const InputState& input = Input();
  int bits = 0;
  for (int bit = 0; bit < kJoypadMapBits; ++bit) {
    for (int key : JoypadKeys()[mapIndex][bit]) {
      if (key >= 0 && key < 256 && (input.keys[key] & 0x80)) bits |= 1 << bit;
    }
  }
  return bits;
}

}  // namespace

int MapJoystickAxis(unsigned position) {
  constexpr int kLowDead = 16384;
  constexpr int kHighDead = 49152;
  constexpr int kSpan = 16384;
  const int value = static_cast<int>(position);
  if (value == 0) return -1000;
  if (value == 32767) return 0;
  if (value == 65535) return 1000;
  if (value < kLowDead) return (value - kLowDead) * 1000 / kSpan;
  if (value <= kHighDead) return 0;
  return (value - kHighDead) * 1000 / kSpan;
}

int PollJoypads(int index) {
  if (index < 0 || index >= kMaxJoypads) return -1;
  JoypadRecord& pad = Input().pads[index];
  return Input().mode == InputMode::kDirectInput ? PollDirectInputPad(pad)
                                                 : PollMultimediaPad(index, pad);
}

int ReadJoypadState(int padCode) {
  int result = 0;
  if (!PrepareInputQuery(&result)) return result;
  const InputState& input = Input();
  const bool withKeys = (padCode & kKeyMapFlag) != 0;
  const int index = (padCode & ~kKeyMapFlag) - 1;
  int bits = 0;
  // Only pads that exist are read, and only maps that exist: any other
  // number reads nothing.
  if (index >= 0 && index < input.padCount) {
    PollJoypads(index);
    bits = PadBits(input.pads[index].state);
  }
  const int mapIndex = index < 0 ? 0 : index;
  if (withKeys && index >= -1 && mapIndex < kMaxJoypads) bits |= MappedKeyBits(mapIndex);
  return bits;
}
