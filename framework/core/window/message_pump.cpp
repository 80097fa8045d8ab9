#include "core/window/message_pump.h"

#include "core/window/input_devices.h"
#include "WqLib.h"
#include "core/window/menu_toolbar.h"
#include "core/network/network_handles.h"
#include "sound/sound_system.h"
#include "core/window/text_input.h"
#include "core/window/window_system_state.h"

namespace {

constexpr int kMessagesPerCall = 5;
constexpr DWORD kInactiveBackgroundSleepMs = 24;

bool OnMainThread() { return GetCurrentThreadId() == WindowSystem().mainThreadId; }

bool WaitingInactive() {
  const WindowSystemState& state = WindowSystem();
  return !state.active && !state.runWhileInactive;
}

// Any message of the thread's windows, else one posted to the thread, else
// one of the main window.
bool TakeMessage(MSG* msg) {
  if (PeekMessageA(msg, nullptr, 0, 0, PM_REMOVE)) return true;
  if (PeekMessageA(msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE)) return true;
  return PeekMessageA(msg, WindowSystem().mainWindow, 0, 0, PM_REMOVE) != 0;
}

void StreamSoundOnSingleProcessor() {
  if (WindowSystem().logicalProcessors != 1) return;
  ProcessAllStreamSounds();
  UpdateSoftSoundPlayers();
}

// Background work of one inactive pass: sound, network and movies keep
// running while the program waits.
void RunInactivePass() {
  ProcessNetWorkMessages(1);
  StreamSoundOnSingleProcessor();
  DrawAllMoviesToWindow();
  Sleep(kInactiveBackgroundSleepMs);
}

// Returns false when the quit flag was found set and the rest of the loop
// is to be skipped.
bool PumpBatch(int* dispatched, bool* batchDone) {
  WindowSystemState& state = WindowSystem();
  MSG msg{};
  while (TakeMessage(&msg)) {
    *batchDone = true;
    if (msg.message == WM_ACTIVATEAPP && state.windowMode) state.active = LOWORD(msg.wParam) != 0;
    if (state.quit) {
      if (OnMainThread()) UpdateFullScreenMenu();
      return false;
    }
    if (msg.message == WM_QUIT) state.quit = 1;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (++*dispatched == kMessagesPerCall) {
      *dispatched = 0;
      return true;
    }
    *batchDone = false;
  }
  *batchDone = true;
  return true;
}

bool RunMessageLoop() {
  WindowSystemState& state = WindowSystem();
  int dispatched = 0;
  bool batchDone = false;
  for (;;) {
    const bool mayLeave = state.closeRequested || state.active || state.runWhileInactive;
    if (mayLeave && (batchDone || state.quit)) return true;
    if (WaitingInactive()) Sleep(1);
    if (!PumpBatch(&dispatched, &batchDone)) return false;
    if (WaitingInactive()) RunInactivePass();
    if (state.quit || !OnMainThread()) return true;
  }
}

void RunFrameWork() {
  WindowSystemState& state = WindowSystem();
  StreamSoundOnSingleProcessor();
  UpdateMusicPlayState();
  RefreshKeyboardState();
  UpdateJoypadVibration();
  ProcessNetWorkMessages(1);
  state.pumping = 1;
  ProcessTextInput();
  state.pumping = 0;
}

}  // namespace

int ProcessWindowMessages() {
  WindowSystemState& state = WindowSystem();
  if (state.pumping) return 0;
  if (state.mainWindow == nullptr) return state.quit ? -1 : 0;
  if (RunMessageLoop() && OnMainThread()) UpdateFullScreenMenu();
  RunFrameWork();
  return state.quit ? -1 : 0;
}

int WaitWhileInactive() {
  const WindowSystemState& state = WindowSystem();
  if (state.painting || state.active) return 0;
  if (state.windowMode && state.runWhileInactive) return 0;
  while (ProcessWindowMessages() == 0 && !state.active) {
  }
  return 0;
}
