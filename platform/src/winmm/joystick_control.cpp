// Pads made by the controls: SDL virtual joysticks, which the layer's
// DirectInput and winmm read exactly as they read real ones.
#include <SDL.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/control_input.h"
#include "winmm/joystick_pads.h"

namespace {

constexpr int kAxes = 8;
constexpr int kButtons = 32;
constexpr int kMostControlPads = 64;

struct ControlPad {
  std::atomic<SDL_Joystick*> joystick{nullptr};  // null once detached
  std::atomic<std::uint16_t> strong{0};
  std::atomic<std::uint16_t> weak{0};
};

// Slots are never moved, so SDL's rumble callback (run under SDL's own
// lock) reaches its pad without taking the controls' lock.
std::mutex attach_lock;
std::array<ControlPad, kMostControlPads> control_pads;
std::atomic<int> control_pad_count{0};

int RumbleOfControlPad(void* userdata, Uint16 strong, Uint16 weak) {
  ControlPad& pad = control_pads[reinterpret_cast<std::uintptr_t>(userdata)];
  pad.strong = strong;
  pad.weak = weak;
  return 0;
}

bool IsControlPad(int pad) { return pad >= 0 && pad < control_pad_count.load(); }

SDL_Joystick* ControlJoystick(int pad) {
  return IsControlPad(pad) ? control_pads[pad].joystick.load() : nullptr;
}

}  // namespace

int WqControlAttachPad(const char* name) {
  wqplat::AttachedPads();  // starts SDL's joysticks
  std::lock_guard lock(attach_lock);
  int pad = control_pad_count.load();
  if (pad == kMostControlPads) return -1;
  SDL_VirtualJoystickDesc description{};
  description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  description.naxes = kAxes;
  description.nbuttons = kButtons;
  description.nhats = 1;
  description.name = name;
  description.userdata = reinterpret_cast<void*>(static_cast<std::uintptr_t>(pad));
  description.Rumble = RumbleOfControlPad;
  int device_index = SDL_JoystickAttachVirtualEx(&description);
  if (device_index < 0) return -1;
  SDL_Joystick* joystick = SDL_JoystickOpen(device_index);
  if (!joystick) {
    SDL_JoystickDetachVirtual(device_index);
    return -1;
  }
  control_pads[pad].joystick = joystick;
  control_pad_count = pad + 1;
  return pad;
}

void WqControlDetachPad(int pad) {
  std::lock_guard lock(attach_lock);
  SDL_Joystick* joystick = ControlJoystick(pad);
  if (!joystick) return;
  SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (SDL_JoystickGetDeviceInstanceID(index) == id) SDL_JoystickDetachVirtual(index);
  }
  SDL_JoystickClose(joystick);
  control_pads[pad].joystick = nullptr;
}

void WqControlSetPad(int pad, const WqPadInput& input) {
  std::lock_guard lock(attach_lock);
  SDL_Joystick* joystick = ControlJoystick(pad);
  if (!joystick) return;
  for (int axis = 0; axis < kAxes; ++axis) {
    SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(input.axes[axis]));
  }
  for (int button = 0; button < kButtons; ++button) {
    SDL_JoystickSetVirtualButton(joystick, button, (input.buttons >> button) & 1u);
  }
  SDL_JoystickSetVirtualHat(joystick, 0, static_cast<Uint8>(input.hat));
}

bool WqControlReadPadRumble(int pad, std::uint16_t* strong, std::uint16_t* weak) {
  if (!IsControlPad(pad)) return false;
  *strong = control_pads[pad].strong;
  *weak = control_pads[pad].weak;
  return true;
}
