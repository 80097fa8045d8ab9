#include "winmm/joystick_pads.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>

namespace wqplat {
namespace {

std::mutex pads_lock;
// Pads opened so far, by instance id; closed when found detached.
std::map<int, SDL_Joystick*> opened;

bool EnsureJoysticks() {
  static const bool started = [] {
    // Pads are read while the window is in the background too.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
    // States are read directly; no joystick events pile up in SDL's queue.
    SDL_JoystickEventState(SDL_IGNORE);
    return true;
  }();
  return started;
}

SDL_Joystick* OpenPad(int instance_id) {
  auto found = opened.find(instance_id);
  if (found != opened.end()) {
    if (SDL_JoystickGetAttached(found->second)) return found->second;
    SDL_JoystickClose(found->second);
    opened.erase(found);
    return nullptr;
  }
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (SDL_JoystickGetDeviceInstanceID(index) != instance_id) continue;
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (joystick) opened.emplace(instance_id, joystick);
    return joystick;
  }
  return nullptr;
}

}  // namespace

int HatAngle(int hat) {
  switch (hat) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return -1;
  }
}

std::vector<PadInfo> AttachedPads() {
  std::vector<PadInfo> pads;
  if (!EnsureJoysticks()) return pads;
  std::lock_guard lock(pads_lock);
  SDL_JoystickUpdate();
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    SDL_Joystick* joystick = OpenPad(SDL_JoystickGetDeviceInstanceID(index));
    if (!joystick) continue;
    const char* name = SDL_JoystickName(joystick);
    pads.push_back(PadInfo{SDL_JoystickInstanceID(joystick), name ? name : "",
                           SDL_JoystickNumAxes(joystick), SDL_JoystickNumButtons(joystick),
                           SDL_JoystickNumHats(joystick)});
  }
  return pads;
}

bool ReadPad(int instance_id, PadState* state) {
  if (!EnsureJoysticks()) return false;
  std::lock_guard lock(pads_lock);
  SDL_JoystickUpdate();
  SDL_Joystick* joystick = OpenPad(instance_id);
  if (!joystick) return false;
  *state = PadState{};
  int axes = std::min(SDL_JoystickNumAxes(joystick), kPadAxes);
  for (int axis = 0; axis < axes; ++axis) state->axes[axis] = SDL_JoystickGetAxis(joystick, axis);
  int hats = std::min(SDL_JoystickNumHats(joystick), kPadHats);
  for (int hat = 0; hat < hats; ++hat) state->hats[hat] = SDL_JoystickGetHat(joystick, hat);
  int buttons = std::min(SDL_JoystickNumButtons(joystick), kPadButtons);
  for (int button = 0; button < buttons; ++button) {
    if (SDL_JoystickGetButton(joystick, button)) state->buttons |= 1u << button;
  }
  return true;
}

bool RumblePad(int instance_id, std::uint16_t strong, std::uint16_t weak) {
  if (!EnsureJoysticks()) return false;
  std::lock_guard lock(pads_lock);
  SDL_Joystick* joystick = OpenPad(instance_id);
  // SDL stops rumble after its longest duration; effects without an end
  // are started again by the program whenever it changes them.
  return joystick && SDL_JoystickRumble(joystick, strong, weak, UINT32_MAX) == 0;
}

}  // namespace wqplat
