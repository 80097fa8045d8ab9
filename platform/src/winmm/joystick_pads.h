// The attached game pads, on SDL's joysticks: what DirectInput's game
// controllers and winmm's joysticks both read. Pads are numbered by their
// order of attachment (SDL's device order); a pad keeps its instance id
// while attached.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace wqplat {

inline constexpr int kPadAxes = 8;     // X, Y, Z, Rx, Ry, Rz and two sliders
inline constexpr int kPadHats = 4;
inline constexpr int kPadButtons = 32;

struct PadInfo {
  int instance_id;
  std::string name;  // UTF-8
  int axes;
  int buttons;
  int hats;
};

struct PadState {
  std::array<int, kPadAxes> axes{};  // -32768..32767
  std::array<int, kPadHats> hats{};  // SDL_HAT_* bits
  std::uint32_t buttons = 0;         // bit n: button n held
};

// A hat's direction in hundredths of a degree clockwise from up; -1 when
// centred.
int HatAngle(int hat);

// Starts SDL's joysticks on first use; empty when they cannot start.
std::vector<PadInfo> AttachedPads();
// The pad's current state; false when it is no longer attached.
bool ReadPad(int instance_id, PadState* state);
// Strengths 0..0xFFFF of the strong and the weak motor; false when the
// pad has none or is gone.
bool RumblePad(int instance_id, std::uint16_t strong, std::uint16_t weak);

}  // namespace wqplat
