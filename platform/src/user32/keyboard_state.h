// The keyboard and mouse buttons as the window system last reported them.
#pragma once

#include <string>

#include "platform/user32.h"

namespace wqplat {

bool IsVirtualKeyDown(BYTE virtual_key);
void SetVirtualKeyDown(BYTE virtual_key, bool down);

// The character a key-down types by itself when the window system typed no
// text: Enter, Backspace, Tab, Escape, and Ctrl with a letter. Empty for
// other keys.
std::string ControlCharacterOfKey(BYTE virtual_key);

// The MK_ flags of mouse messages: the given buttons with Shift and Ctrl.
WPARAM MouseKeyFlags(WPARAM buttons);

}  // namespace wqplat
