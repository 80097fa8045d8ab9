// The keyboard map between the window system's physical keys and Windows
// virtual keys, set-1 scan codes and the characters of a US layout.
#pragma once

#include "platform/user32.h"

namespace wqplat {

struct KeyMapping {
  int sdl_scancode;
  BYTE virtual_key;  // the generic key for Shift, Ctrl and Alt, as WM_KEYDOWN carries it
  BYTE scan_code;
  bool extended;
  char plain;    // the character typed without Shift, 0 for none
  char shifted;  // with Shift
};

const KeyMapping* FindKeyBySdlScancode(int sdl_scancode);
// The first key producing the virtual key (the left one of a pair).
const KeyMapping* FindKeyByVirtualKey(BYTE virtual_key);

}  // namespace wqplat
