#include "core/startup/library_startup.h"

#include "WqLib.h"
#include "graphics/device_rebuild.h"
#include "graphics/graphics_start.h"
#include "graphics/model_runtime.h"
#include "core/window/input_devices.h"
#include "core/base/log_file.h"
#include "core/window/main_window.h"
#include "media/yuv_to_rgb.h"
#include "core/window/message_pump.h"
#include "core/network/network_handles.h"
#include "core/window/cursor_services.h"
#include "image/soft_image_table.h"
#include "platform/ole32.h"
#include "core/startup/runtime_libraries.h"
#include "core/base/screen_log.h"
#include "sound/sound_system.h"
#include "core/startup/startup_directory.h"
#include "core/startup/system_report.h"
#include "core/window/text_input.h"
#include "core/base/time_source.h"
#include "core/base/tracked_allocator.h"
#include "core/window/window_system_state.h"

namespace {

constexpr int kUnsupportedColorBits = 24;
constexpr DWORD kDestroyRetryMs = 100;

// Full screen needs the screen size among the display modes; otherwise the
// framework starts in window mode.
void ChooseStartMode() {
  if (WindowSystem().windowMode) return;
  if (!FullScreenSizeUsable()) ChangeWindowMode(1);
  EmulateFullScreen320x240();
}

bool RefusesColorDepth() {
  const bool desktop24 = WindowSystem().windowMode && ReadDesktopColorBits() == kUnsupportedColorBits;
  if (!desktop24 && GetScreenColorBits() != kUnsupportedColorBits) return false;
  LogWrite("ＷＱライブラリは２４ビットカラーモードに対応していません\n");
  return true;
}

void StartCom() {
  WindowSystemState& state = WindowSystem();
  if (state.comInitialised) return;
  const auto coInitialize = RuntimeEntry<HRESULT (*)(LPVOID)>(kRuntimeOle32, "CoInitialize");
  if (coInitialize == nullptr) return;
  LogWrite("ＣＯＭの初期化... ");
  if (coInitialize(nullptr) < 0) {
    LogWrite("ＣＯＭの初期化に失敗しました\n");
    return;
  }
  LogWrite("成功しました\n");
  state.comInitialised = 1;
}

void EndCom() {
  WindowSystemState& state = WindowSystem();
  if (!state.comInitialised) return;
  const auto coUninitialize = RuntimeEntry<void (*)()>(kRuntimeOle32, "CoUninitialize");
  if (coUninitialize != nullptr) coUninitialize();
  LogWrite("ＣＯＭを終了... 完了\n");
  state.comInitialised = 0;
}

// Window, input, sound and graphics, in that order; any failure but the
// sound's fails the start.
bool StartWindowAndDevices() {
  if (CreateMainWindow() == -1) return false;
  if (StartInput() == -1) return false;
  InitializeDirectSound();
  return StartGraphics() >= 0;
}

// Waits until the window is gone, then makes sure its class is too.
void RemoveWindowClass() {
  WindowSystemState& state = WindowSystem();
  while (ProcessWindowMessages() == 0 && !state.quit && !state.windowDestroyed) {
  }
  UnregisterClassA(state.className, state.instance);
  while (state.mainWindow != nullptr && FindWindowA(state.className, nullptr) == state.mainWindow) {
    DestroyWindow(state.mainWindow);
    Sleep(kDestroyRetryMs);
  }
}

// Ends everything start-up may have begun. It checks no flag of its own, so
// a start-up that fails half-way runs it too and leaves nothing behind.
void ShutDownStartedParts() {
  WindowSystemState& state = WindowSystem();
  state.ending = 1;
  ReleaseScreenLog();
  ShutdownNetWork();
  TerminateSoundData();
  TerminateModelSystem();
  ShutdownGraphics();
  EndInput();
  TerminateDirectSound();
  EndMainWindow();
  EndCom();
  EndSoftImages();
  state.initialised = 0;
  RemoveWindowClass();
  RestoreFileLayer();
  DumpAllocations();
  FreeRuntimeLibraries();
  SetCpuCyclesPerSecond(0);
}

}  // namespace

int InitializeLibrary() {
  WindowSystemState& state = WindowSystem();
  if (state.initialised) return 0;
  state.starting = 1;
  LoadEarlyRuntimeLibraries();
  ChooseStartMode();
  BuildYuvToRgbTables();
  PrepareFileLayer();
  OpenLogFile();
  if (RefusesColorDepth()) {
    FreeRuntimeLibraries();
    state.starting = 0;
    return -1;
  }
  ReadPerformanceCounterFrequency();
  ReportSystemInfo();
  LoadLateRuntimeLibraries();
  SetRestoreGraphCallback(nullptr);
  StartCom();

  if (!StartWindowAndDevices()) {
    ShutDownStartedParts();
    state.starting = 0;
    return -1;
  }
  InitTextInput();
  state.initialised = 1;
  if (!state.windowMode) ForceForegroundWindow(state.mainWindow, 1);
  SetupScreenLog();
  SelectDrawTarget(-2);
  SelectDrawTarget(-4);
  InitModelSystem();
  state.starting = 0;
  return 0;
}

int TerminateLibrary() {
  if (!WindowSystem().initialised) return 0;
  ShutDownStartedParts();
  return 0;
}
