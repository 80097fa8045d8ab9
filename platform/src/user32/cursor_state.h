// The pointer position as the window system reports it, kept inside the
// clip rectangle.
#pragma once

#include "platform/user32.h"

namespace wqplat {

// Records a pointer position (screen coordinates) and returns it clipped.
POINT MoveCursorTo(POINT screen_position);

}  // namespace wqplat
