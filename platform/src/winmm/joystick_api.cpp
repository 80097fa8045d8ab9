// winmm joysticks over the attached pads: positions 0..65535, six axes
// (X, Y, Z, R, U, V), 32 buttons and the first hat as the point of view.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "kernel32/text_encoding.h"
#include "platform/mmsystem.h"
#include "winmm/joystick_pads.h"

namespace {

constexpr UINT kMostJoysticks = 16;
constexpr UINT kAxisMax = 65535;

std::optional<wqplat::PadInfo> PadOfId(UINT_PTR id) {
  std::vector<wqplat::PadInfo> pads = wqplat::AttachedPads();
  if (id >= pads.size()) return std::nullopt;
  return pads[id];
}

DWORD Position(int sdl_axis) { return static_cast<DWORD>(sdl_axis + 32768); }

UINT AxisCaps(int axes) {
  UINT caps = 0;
  if (axes > 2) caps |= JOYCAPS_HASZ;
  if (axes > 3) caps |= JOYCAPS_HASR;
  if (axes > 4) caps |= JOYCAPS_HASU;
  if (axes > 5) caps |= JOYCAPS_HASV;
  return caps;
}

}  // namespace

MMRESULT joyGetDevCapsA(UINT_PTR id, LPJOYCAPSA caps, UINT size) {
  if (id >= kMostJoysticks || !caps || size != sizeof(JOYCAPSA)) return JOYERR_PARMS;
  auto pad = PadOfId(id);
  if (!pad) return JOYERR_UNPLUGGED;
  *caps = JOYCAPSA{};
  std::string name = wqplat::Utf8ToCp932(pad->name);
  std::strncpy(caps->szPname, name.c_str(), sizeof caps->szPname - 1);
  caps->wXmax = caps->wYmax = caps->wZmax = kAxisMax;
  caps->wRmax = caps->wUmax = caps->wVmax = kAxisMax;
  caps->wNumButtons = static_cast<UINT>(std::min(pad->buttons, wqplat::kPadButtons));
  caps->wMaxButtons = wqplat::kPadButtons;
  caps->wPeriodMin = 10;
  caps->wPeriodMax = 1000;
  caps->wNumAxes = static_cast<UINT>(std::min(pad->axes, 6));
  caps->wMaxAxes = 6;
  caps->wCaps = AxisCaps(pad->axes) | (pad->hats > 0 ? JOYCAPS_HASPOV | JOYCAPS_POV4DIR : 0);
  return JOYERR_NOERROR;
}

MMRESULT joyGetPosEx(UINT id, LPJOYINFOEX info) {
  if (id >= kMostJoysticks || !info || info->dwSize != sizeof(JOYINFOEX)) return JOYERR_PARMS;
  auto pad = PadOfId(id);
  wqplat::PadState state;
  if (!pad || !wqplat::ReadPad(pad->instance_id, &state)) return JOYERR_UNPLUGGED;
  info->dwXpos = Position(state.axes[0]);
  info->dwYpos = Position(state.axes[1]);
  info->dwZpos = Position(state.axes[2]);
  info->dwRpos = Position(state.axes[3]);
  info->dwUpos = Position(state.axes[4]);
  info->dwVpos = Position(state.axes[5]);
  info->dwButtons = state.buttons;
  info->dwButtonNumber = static_cast<DWORD>(__builtin_popcount(state.buttons));
  int angle = wqplat::HatAngle(state.hats[0]);
  info->dwPOV = angle < 0 ? JOY_POVCENTERED : static_cast<DWORD>(angle);
  return JOYERR_NOERROR;
}
