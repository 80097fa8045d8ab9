// The non-client frame a window style adds around the client area.
#pragma once

#include "platform/user32.h"

namespace wqplat {

// The frame's thickness on each side (each field a non-negative width).
RECT FrameThickness(DWORD style, DWORD ex_style);

}  // namespace wqplat
