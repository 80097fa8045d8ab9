// The keyboard and mouse buttons as the window system last reported them.
#pragma once

#include <string>

#include "platform/user32.h"

namespace wqplat {

bool IsVirtualKeyDown(BYTE virtual_key);
void SetVirtualKeyDown(BYTE virtual_key, bool down);

// The physical keys by the window system's scan code (left and right keys
// apart), as keyboard devices read them. A change sets every watching event.
bool IsScancodeDown(int sdl_scancode);
void SetScancodeDown(int sdl_scancode, bool down);
void WatchKeyChanges(HANDLE event, bool watch);

// Wheel steps turned since the window system started, for devices that
// report the motion between their reads.
int WheelStepTotal();
void AddWheelSteps(int steps);

// The character a key-down types by itself when the window system typed no
// text: Enter, Backspace, Tab, Escape, and Ctrl with a letter. Empty for
// other keys.
std::string ControlCharacterOfKey(BYTE virtual_key);

// The MK_ flags of mouse messages: the given buttons with Shift and Ctrl.
WPARAM MouseKeyFlags(WPARAM buttons);

}  // namespace wqplat
