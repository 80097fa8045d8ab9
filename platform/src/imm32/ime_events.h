// What the window system's input method does, as user32 hands it to the
// window's input context (on the window's thread).
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace wqplat {

// Text the input method finished (code page 932): sent to the window as a
// composition result when its input method is enabled and open. False
// when it is not, and the text is to be typed as characters instead.
bool DeliverImeResult(HWND window, const std::string& text);
// The text being composed, with the cursor at `cursor` characters; empty
// text ends the composition.
void DeliverImeComposition(HWND window, const std::string& text, int cursor);

// Posts the window's last composition result as its characters
// (WM_CHAR, byte by byte), for windows that do not handle the result.
void TypeImeResult(HWND window);

}  // namespace wqplat
