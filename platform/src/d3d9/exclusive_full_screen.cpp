#include "d3d9/exclusive_full_screen.h"

namespace wqplat {

void ExclusiveFullScreen::Apply(const D_D3DPRESENT_PARAMETERS& parameters) {
  if (parameters.Windowed) {
    Leave();
    return;
  }
  HWND window = parameters.hDeviceWindow;
  if (window_ != window) {
    Leave();
    window_ = window;
    GetWindowRect(window, &saved_place_);
    saved_style_ = GetWindowLongA(window, GWL_STYLE);
  }
  // A borderless window over the screen's top left, then the mode; the
  // window system makes a window that covers the new mode full screen.
  SetWindowLongA(window, GWL_STYLE,
                 static_cast<LONG>(WS_POPUP | (saved_style_ & WS_VISIBLE)));
  int width = static_cast<int>(parameters.BackBufferWidth);
  int height = static_cast<int>(parameters.BackBufferHeight);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, width, height, SWP_FRAMECHANGED);
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  mode.dmPelsWidth = parameters.BackBufferWidth;
  mode.dmPelsHeight = parameters.BackBufferHeight;
  mode.dmBitsPerPel = parameters.BackBufferFormat == D_D3DFMT_R5G6B5 ||
                              parameters.BackBufferFormat == D_D3DFMT_X1R5G5B5
                          ? 16
                          : 32;
  if (parameters.FullScreen_RefreshRateInHz != 0) {
    mode.dmFields |= DM_DISPLAYFREQUENCY;
    mode.dmDisplayFrequency = parameters.FullScreen_RefreshRateInHz;
  }
  bool was_changed = mode_changed_;
  mode_changed_ = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
  if (mode_changed_) return;
  // No such mode here: cover the desktop as it is.
  if (was_changed) ChangeDisplaySettingsA(nullptr, 0);
  DEVMODEA desktop{};
  desktop.dmSize = sizeof desktop;
  EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &desktop);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, static_cast<int>(desktop.dmPelsWidth),
               static_cast<int>(desktop.dmPelsHeight), 0);
}

void ExclusiveFullScreen::Leave() {
  if (!window_) return;
  if (mode_changed_) ChangeDisplaySettingsA(nullptr, 0);
  mode_changed_ = false;
  SetWindowLongA(window_, GWL_STYLE, saved_style_);
  SetWindowPos(window_, HWND_NOTOPMOST, saved_place_.left, saved_place_.top,
               saved_place_.right - saved_place_.left, saved_place_.bottom - saved_place_.top,
               SWP_FRAMECHANGED);
  window_ = nullptr;
}

}  // namespace wqplat
