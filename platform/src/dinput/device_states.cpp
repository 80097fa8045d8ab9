#include "dinput/device_states.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dinput/dik_scancodes.h"
#include "platform/user32.h"
#include "user32/keyboard_state.h"

namespace wqplat {

LONG ScaleAxis(int sdl_value, const AxisSetting& setting) {
  double position = std::clamp(sdl_value / 32767.0, -1.0, 1.0);
  double dead = std::min(setting.dead_zone, 10000u) / 10000.0;
  double magnitude = std::abs(position);
  double live = magnitude <= dead ? 0.0 : (magnitude - dead) / (1.0 - dead);
  double middle = (static_cast<double>(setting.min) + setting.max) / 2.0;
  double half = (static_cast<double>(setting.max) - setting.min) / 2.0;
  return static_cast<LONG>(std::lround(middle + std::copysign(live, position) * half));
}

void ReadKeyboardKeys(BYTE keys[256]) {
  std::memset(keys, 0, 256);
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    int dik = DikOfScancode(scancode);
    if (dik != 0 && IsScancodeDown(scancode)) keys[dik] = 0x80;
  }
}

void ReadMouse(MouseTracker* tracker, D_DIMOUSESTATE* state) {
  POINT cursor{};
  GetCursorPos(&cursor);
  int wheel_steps = WheelStepTotal();
  if (!tracker->started) {
    *tracker = MouseTracker{true, cursor, wheel_steps};
  }
  state->lX = cursor.x - tracker->cursor.x;
  state->lY = cursor.y - tracker->cursor.y;
  state->lZ = (wheel_steps - tracker->wheel_steps) * WHEEL_DELTA;
  tracker->cursor = cursor;
  tracker->wheel_steps = wheel_steps;
  const BYTE kButtons[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1};
  std::memset(state->rgbButtons, 0, sizeof state->rgbButtons);
  for (int button = 0; button < 4; ++button) {
    if (IsVirtualKeyDown(kButtons[button])) state->rgbButtons[button] = 0x80;
  }
}

void ReadJoystick(const PadState& pad, const AxisSettings& axes, D_DIJOYSTATE* state) {
  *state = D_DIJOYSTATE{};
  LONG* const kAxisFields[kJoystickAxes] = {&state->lX,  &state->lY,  &state->lZ,
                                            &state->lRx, &state->lRy, &state->lRz};
  for (int axis = 0; axis < kJoystickAxes; ++axis) {
    *kAxisFields[axis] = ScaleAxis(pad.axes[axis], axes[axis]);
  }
  // Sliders keep the default range.
  for (int slider = 0; slider < 2; ++slider) {
    state->rglSlider[slider] = ScaleAxis(pad.axes[kJoystickAxes + slider], AxisSetting{});
  }
  for (int hat = 0; hat < kPadHats; ++hat) {
    int angle = HatAngle(pad.hats[hat]);
    state->rgdwPOV[hat] = angle < 0 ? 0xFFFFFFFFu : static_cast<DWORD>(angle);
  }
  for (int button = 0; button < kPadButtons; ++button) {
    if ((pad.buttons >> button) & 1u) state->rgbButtons[button] = 0x80;
  }
}

}  // namespace wqplat
