// Window-system events (SDL's, or the controls' made the same way) turned
// into the messages Windows would produce.
#pragma once

#include <SDL.h>

#include <string>

#include "platform/user32.h"

namespace wqplat {

// Hands the event to the window's thread, which turns it into messages the
// next time it reads its queue (at once when that is the calling thread).
// A dropped file's name travels separately, in UTF-8.
void DeliverWindowSystemEvent(HWND window, const SDL_Event& event, std::string dropped_file = {});

// Whether the window system's own focus changes reach the windows.
void FollowWindowSystemFocus(bool follow);

}  // namespace wqplat
