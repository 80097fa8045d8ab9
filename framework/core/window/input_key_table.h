// Windows virtual keys and the DirectInput codes of the same keys, for
// reading the keyboard without DirectInput.
#pragma once

#include <span>

struct VirtualKeyCode {
  unsigned char virtualKey;
  unsigned char keyCode;  // D_DIK_*
};

// Enter has two rows: the window system's one Enter key sets both codes.
std::span<const VirtualKeyCode> VirtualKeyCodeTable();
