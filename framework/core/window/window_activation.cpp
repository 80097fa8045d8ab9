#include "graphics/device_rebuild.h"
#include "graphics/graphics_start.h"
#include "graphics/present_screen.h"
#include "core/window/input_devices.h"
#include "core/base/log_file.h"
#include "core/window/main_window.h"
#include "WqLib.h"
#include "core/window/text_input.h"
#include "core/window/window_procedure.h"
#include "core/window/window_system_state.h"

namespace {

void Activate(WPARAM wParam) {
  const WindowSystemState& state = WindowSystem();
  if (IsImeInUse()) MarkImeReenable();
  if (state.windowMode) {
    if (PresentActivatedDevice() != 0) RebuildGraphicsKeepMode();
  } else {
    if (!state.initialised) return;
    // A window restored from the task bar keeps its device.
    if (HIWORD(wParam) == 0) RebuildGraphicsKeepMode();
  }
  if (!state.windowMode || !state.runWhileInactive) ResumeAllMovies();
  ReacquireInputDevices();
}

// Returns false when the window asked to close instead.
bool Deactivate(HWND window) {
  WindowSystemState& state = WindowSystem();
  if (!state.windowMode) {
    if (state.osCode >= 0x108 || !IsDirect3DRendererInUse()) {
      ChangeDisplaySettingsA(nullptr, 0);
      ShowWindow(window, SW_MINIMIZE);
    }
    if (!state.windowMode && IsDirectDrawReady()) {
      if (state.compositionDisabled) SetDesktopComposition(1);
      if (!IsRestoreGraphCallbackSet()) {
        LogWrite("復元関数が登録されていないため終了します\n");
        RequestWindowClose();
        return false;
      }
      PauseAllMovies();
      return true;
    }
  }
  if (!state.runWhileInactive) PauseAllMovies();
  ReacquireInputDevices();
  return true;
}

}  // namespace

LRESULT HandleActivation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowSystemState& state = WindowSystem();
  state.active = LOWORD(wParam) != 0;
  if (state.creating) return DefWindowProcA(window, message, wParam, lParam);
  if (state.active) {
    Activate(wParam);
  } else {
    if (!Deactivate(window)) return DefWindowProcA(window, message, wParam, lParam);
    HDC dc = GetDC(window);
    DrawStoredScreenGraph(dc);
    ReleaseDC(window, dc);
  }
  SetJoypadEffect();
  return DefWindowProcA(window, message, wParam, lParam);
}
