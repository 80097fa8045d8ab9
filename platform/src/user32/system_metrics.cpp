// GetSystemMetrics and SystemParametersInfoA.
#include <SDL.h>

#include <atomic>

#include "platform/kernel32.h"
#include "platform/user32.h"
#include "user32/display_mode_list.h"
#include "user32/window_system.h"

namespace {

// The default foreground lock time-out of Windows, in milliseconds.
std::atomic<UINT> foreground_lock_timeout{200000};
std::atomic<bool> screen_saver_active{true};

}  // namespace

int GetSystemMetrics(int index) {
  // The frame and caption sizes of a Windows 7 desktop at 96 dots per inch.
  switch (index) {
    case SM_CXSCREEN: return wqplat::CurrentDisplayMode().width;
    case SM_CYSCREEN: return wqplat::CurrentDisplayMode().height;
    case SM_CYCAPTION: return 22;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 20;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS: return 1;
    default: return 0;
  }
}

BOOL SystemParametersInfoA(UINT action, UINT uint_parameter, LPVOID parameter, UINT /*win_ini*/) {
  switch (action) {
    case SPI_GETSCREENSAVEACTIVE:
      if (!parameter) break;
      *static_cast<BOOL*>(parameter) = screen_saver_active.load();
      return TRUE;
    case SPI_SETSCREENSAVEACTIVE:
      screen_saver_active = uint_parameter != FALSE;
      if (wqplat::EnsureWindowSystem()) {
        if (uint_parameter) {
          SDL_EnableScreenSaver();
        } else {
          SDL_DisableScreenSaver();
        }
      }
      return TRUE;
    case SPI_GETFOREGROUNDLOCKTIMEOUT:
      if (!parameter) break;
      *static_cast<DWORD*>(parameter) = foreground_lock_timeout.load();
      return TRUE;
    case SPI_SETFOREGROUNDLOCKTIMEOUT:
      foreground_lock_timeout = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(parameter));
      return TRUE;
    default:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
