#include "user32/desktop_mode.h"

#include <SDL.h>

#include "user32/window_system.h"

namespace wqplat {

DesktopMode GetDesktopMode() {
  DesktopMode mode{1920, 1080, 32, 60};
  SDL_DisplayMode display{};
  if (EnsureWindowSystem() && SDL_GetDesktopDisplayMode(0, &display) == 0) {
    mode.width = display.w;
    mode.height = display.h;
    // A 24-bit-deep display stores 32-bit pixels, which Windows reports as
    // a 32-bit desktop.
    mode.bits_per_pixel = SDL_BYTESPERPIXEL(display.format) * 8;
    if (display.refresh_rate > 0) mode.refresh_rate = display.refresh_rate;
  }
  return mode;
}

}  // namespace wqplat
