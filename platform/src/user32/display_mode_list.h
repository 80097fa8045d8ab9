// The display modes the primary display offers and the one in use.
#pragma once

#include <vector>

#include "user32/desktop_mode.h"

namespace wqplat {

// The window system's list of modes, or a fixed list of common modes at 16
// and 32 bits when there is no display.
std::vector<DesktopMode> ListDisplayModes();

// The mode in use: the desktop mode until ChangeDisplaySettingsA changes it.
DesktopMode CurrentDisplayMode();
void SetCurrentDisplayMode(const DesktopMode* mode);  // null: the desktop's

}  // namespace wqplat
