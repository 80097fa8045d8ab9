// EnumDisplaySettingsA and ChangeDisplaySettingsA.
#include <SDL.h>

#include <algorithm>
#include <optional>

#include "user32/display_mode_list.h"
#include "user32/window_messages.h"
#include "user32/window_presenter.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

void FillDevMode(const DesktopMode& mode, DEVMODEA* devmode) {
  WORD size = devmode->dmSize;
  *devmode = DEVMODEA{};
  devmode->dmSize = size;
  devmode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
  devmode->dmBitsPerPel = static_cast<DWORD>(mode.bits_per_pixel);
  devmode->dmPelsWidth = static_cast<DWORD>(mode.width);
  devmode->dmPelsHeight = static_cast<DWORD>(mode.height);
  devmode->dmDisplayFrequency = static_cast<DWORD>(mode.refresh_rate);
}

// The requested mode: fields not given keep the current mode's values.
DesktopMode RequestedMode(const DEVMODEA& devmode) {
  DesktopMode mode = CurrentDisplayMode();
  if (devmode.dmFields & DM_PELSWIDTH) mode.width = static_cast<int>(devmode.dmPelsWidth);
  if (devmode.dmFields & DM_PELSHEIGHT) mode.height = static_cast<int>(devmode.dmPelsHeight);
  if (devmode.dmFields & DM_BITSPERPEL) mode.bits_per_pixel = static_cast<int>(devmode.dmBitsPerPel);
  if (devmode.dmFields & DM_DISPLAYFREQUENCY) {
    mode.refresh_rate = static_cast<int>(devmode.dmDisplayFrequency);
  }
  return mode;
}

// The offered mode matching the request, or null.
std::optional<DesktopMode> OfferedMode(const DesktopMode& mode) {
  auto modes = ListDisplayModes();
  auto found = std::find_if(modes.begin(), modes.end(), [&](const DesktopMode& m) {
    // A refresh of 0 or 1 asks for the display's default.
    bool refresh_matches = mode.refresh_rate <= 1 || m.refresh_rate == mode.refresh_rate;
    return m.width == mode.width && m.height == mode.height &&
           m.bits_per_pixel == mode.bits_per_pixel && refresh_matches;
  });
  if (found == modes.end()) return std::nullopt;
  return *found;
}

// Windows covering the whole screen in the new mode go full screen in it;
// with no mode (the desktop restored) every window leaves full screen.
void ApplyToWindows(const DesktopMode* mode) {
  for (const auto& window : AllWindows()) {
    if (!window->presenter) continue;
    if (!mode) {
      window->presenter->SetFullscreen(nullptr);
      continue;
    }
    RECT client = FindClientRectOnScreen(window->handle).value_or(RECT{});
    if (client.left <= 0 && client.top <= 0 && client.right >= mode->width &&
        client.bottom >= mode->height) {
      SDL_DisplayMode display{SDL_PIXELFORMAT_UNKNOWN, mode->width, mode->height,
                              mode->refresh_rate, nullptr};
      window->presenter->SetFullscreen(&display);
    }
  }
}

// Makes the mode current (null: the desktop's) and, when that changed it,
// tells every window with WM_DISPLAYCHANGE (colour bits, width and height).
void SwitchMode(const DesktopMode* mode) {
  DesktopMode before = CurrentDisplayMode();
  SetCurrentDisplayMode(mode);
  ApplyToWindows(mode);
  DesktopMode after = CurrentDisplayMode();
  if (before == after) return;
  WPARAM bits = static_cast<WPARAM>(after.bits_per_pixel);
  LPARAM size = MAKELONG(after.width, after.height);
  for (const auto& window : AllWindows()) {
    HWND handle = window->handle;
    RunOnWindowThread(handle, [handle, bits, size] {
      CallWindowProcedure(handle, WM_DISPLAYCHANGE, bits, size);
    });
  }
}

}  // namespace
}  // namespace wqplat

using namespace wqplat;

BOOL EnumDisplaySettingsA(LPCSTR device_name, DWORD mode_number, LPDEVMODEA mode) {
  if (!mode || device_name != nullptr) return FALSE;
  if (mode_number == ENUM_CURRENT_SETTINGS) {
    FillDevMode(CurrentDisplayMode(), mode);
    return TRUE;
  }
  if (mode_number == ENUM_REGISTRY_SETTINGS) {
    FillDevMode(GetDesktopMode(), mode);
    return TRUE;
  }
  auto modes = ListDisplayModes();
  if (mode_number >= modes.size()) return FALSE;
  FillDevMode(modes[mode_number], mode);
  return TRUE;
}

LONG ChangeDisplaySettingsA(LPDEVMODEA mode, DWORD flags) {
  if (!mode || mode->dmFields == 0) {
    SwitchMode(nullptr);
    return DISP_CHANGE_SUCCESSFUL;
  }
  std::optional<DesktopMode> offered = OfferedMode(RequestedMode(*mode));
  if (!offered) return DISP_CHANGE_BADMODE;
  if (flags & CDS_TEST) return DISP_CHANGE_SUCCESSFUL;
  SwitchMode(&*offered);
  return DISP_CHANGE_SUCCESSFUL;
}
