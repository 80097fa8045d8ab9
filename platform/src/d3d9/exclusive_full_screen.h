// Exclusive full screen for a device made with Windowed 0: the display
// switches to the back buffer's size, depth and refresh rate where the
// window system offers that mode, else the window covers the desktop and
// presents scale the back buffer onto it. Leaving restores the desktop
// mode and the window's place and style.
#pragma once

#include "platform/d3d9.h"
#include "platform/windows.h"

namespace wqplat {

class ExclusiveFullScreen {
 public:
  ExclusiveFullScreen() = default;
  ExclusiveFullScreen(const ExclusiveFullScreen&) = delete;
  ExclusiveFullScreen& operator=(const ExclusiveFullScreen&) = delete;
  ~ExclusiveFullScreen() { Leave(); }

  // Enters full screen for the parameters, or leaves it when they are windowed.
  void Apply(const D_D3DPRESENT_PARAMETERS& parameters);
  void Leave();

 private:
  HWND window_ = nullptr;  // null while windowed
  RECT saved_place_{};
  LONG saved_style_ = 0;
  bool mode_changed_ = false;
};

}  // namespace wqplat
