// What each kind of device reports in its data format.
#pragma once

#include <array>

#include "platform/dinput.h"
#include "winmm/joystick_pads.h"

namespace wqplat {

// An axis's range and dead zone (0..10000 of the half range around the
// middle), as set through the device's properties.
struct AxisSetting {
  LONG min = 0;
  LONG max = 65535;
  DWORD dead_zone = 0;
};
inline constexpr int kJoystickAxes = 6;
using AxisSettings = std::array<AxisSetting, kJoystickAxes>;

// An SDL axis value (-32768..32767) in the axis's range: values inside the
// dead zone read as the middle, the rest is spread over the whole range.
LONG ScaleAxis(int sdl_value, const AxisSetting& setting);

void ReadKeyboardKeys(BYTE keys[256]);

// The mouse's motion since the previous read of the same device.
struct MouseTracker {
  bool started = false;
  POINT cursor{};
  int wheel_steps = 0;
};
void ReadMouse(MouseTracker* tracker, D_DIMOUSESTATE* state);

void ReadJoystick(const PadState& pad, const AxisSettings& axes, D_DIJOYSTATE* state);

}  // namespace wqplat
