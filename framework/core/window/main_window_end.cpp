#include "core/window/cursor_services.h"
#include "core/window/dropped_files.h"
#include "core/window/layered_window.h"
#include "core/window/message_pump.h"
#include "platform/mmsystem.h"
#include "core/startup/runtime_libraries.h"
#include "core/window/text_input.h"
#include "core/window/window_procedure.h"
#include "core/window/window_system_state.h"

namespace {

void RestoreCursorAndIme(WindowSystemState& state) {
  const auto enableIme = RuntimeEntry<BOOL (*)(HWND, BOOL)>(kRuntimeUser32, "WINNLSEnableIME");
  if (enableIme != nullptr) enableIme(state.mainWindow, TRUE);
  state.mouseVisible = 1;
  if (!state.cursorShown) {
    DriveCursorCounter(true);
    PostMessageA(state.mainWindow, WM_SETCURSOR, 0, 0);
    state.cursorShown = 1;
  }
}

void CloseWindowAndWait(WindowSystemState& state) {
  RequestWindowClose();
  while (ProcessWindowMessages() == 0 && !state.windowDestroyed) {
  }
  // The pump stops at the quit flag, which may leave the quit message the
  // destroyed window posted in the thread's queue; a later start on this
  // thread would take it for its own and quit at once.
  MSG quit{};
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  UnregisterClassA(state.className, state.instance);
}

}  // namespace

int EndMainWindow() {
  WindowSystemState& state = WindowSystem();
  if (state.mainWindow == nullptr) return 0;
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDCHANGE);
  RestoreCursorAndIme(state);
  CloseWindowAndWait(state);
  DeleteAllTextInputHandles();
  FreeDroppedFileNames();

  TIMECAPS caps{};
  timeGetDevCaps(&caps, sizeof(caps));
  timeEndPeriod(caps.wPeriodMin);
  DeleteLayeredWindowBitmap();
  ReleaseUpdateLayeredWindowEntry();
  return 0;
}
