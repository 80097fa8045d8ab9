// The keyboard device's key codes: the window system's physical keys as
// DirectInput numbers them (set-1 scan codes, extended keys with bit 7).
#pragma once

namespace wqplat {

// 0 for a key DirectInput has no code for.
int DikOfScancode(int sdl_scancode);
// The physical key of a code; -1 for none.
int ScancodeOfDik(int dik);

}  // namespace wqplat
