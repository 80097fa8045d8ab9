#include "user32/desktop_mode.h"

namespace wqplat {

DesktopMode GetDesktopMode() { return DesktopMode{1920, 1080, 32, 60}; }

}  // namespace wqplat
