#include "core/window/main_window.h"

#include <cstring>

#include "WqLib.h"
#include "core/base/charset_state.h"
#include "core/window/cursor_services.h"
#include "core/window/layered_window.h"
#include "core/base/log_file.h"
#include "core/base/random_generator.h"
#include "core/startup/runtime_libraries.h"
#include "core/base/string_utils.h"
#include "core/window/text_input.h"
#include "core/base/time_source.h"
#include "core/window/window_procedure.h"
#include "core/window/window_system_state.h"

namespace {

constexpr double kBytesPerMegabyte = 1048576.0;
constexpr int kApplicationIconId = 32512;

void ReadMemoryStatus(WindowSystemState& state) {
  if (state.osCode >= 0x106) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (GlobalMemoryStatusEx(&status)) {
      state.totalPhysicalMemory = status.ullTotalPhys;
      state.availablePhysicalMemory = status.ullAvailPhys;
    }
  }
  if (state.totalPhysicalMemory == 0) {
    MEMORYSTATUS status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatus(&status);
    state.totalPhysicalMemory = status.dwTotalPhys;
    state.availablePhysicalMemory = status.dwAvailPhys;
  }
  const double availableMb = static_cast<double>(state.availablePhysicalMemory) / kBytesPerMegabyte;
  LogWriteFormat("メモリ総量:%.2fMB  空きメモリ領域:%.2fMB ",
                 static_cast<double>(state.totalPhysicalMemory) / kBytesPerMegabyte, availableMb);
  char debugLine[64];
  FormatString(debugLine, sizeof(debugLine), "%.2fMB\n", availableMb);
  OutputDebugStringA(debugLine);
}

// The character-set class from the OEM code page; unknown pages count as
// Shift-JIS with no code page of their own.
void SelectCharSet(WindowSystemState& state) {
  switch (GetOEMCP()) {
    case 932: SetCharSetClass(1), state.charSetCodePage = 932; break;
    case 936: SetCharSetClass(4), state.charSetCodePage = 936; break;
    case 949: SetCharSetClass(2), state.charSetCodePage = 949; break;
    case 950: SetCharSetClass(3), state.charSetCodePage = 950; break;
    default: SetCharSetClass(1), state.charSetCodePage = 0; break;
  }
}

int RefuseSecondInstance(WindowSystemState& state) {
  LogWrite("ソフトの二重起動検査... ");
  if (FindWindowA(state.className, nullptr) != nullptr) {
    LogWrite("二重起動されています、ソフトを終了します\n");
    state.quit = 1;
    return -1;
  }
  LogWrite("二重起動はされていませんでした\n");
  return 0;
}

void RegisterMainWindowClass(WindowSystemState& state) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = state.instance;
  windowClass.hIcon = LoadIconA(state.instance, MAKEINTRESOURCEA(kApplicationIconId));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = state.className;
  LogWrite("ウインドウクラスを登録します... ");
  if (RegisterClassExA(&windowClass) != 0) {
    LogWrite("登録に成功しました\n");
  } else {
    state.quit = 1;
  }
  if (state.windowText[0] == '\0') StringCopy(state.windowText, kDefaultWindowText);
}

HWND CreateWindowForMode(WindowSystemState& state) {
  if (state.windowMode) {
    LogWrite("ウインドウモード起動用のウインドウを作成します\n");
    state.mouseVisible = 1;
    int clientWidth = 0;
    int clientHeight = 0;
    GetScaledScreenSize(&clientWidth, &clientHeight);
    RECT adjusted{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&adjusted, GetMainWindowStyle(), FALSE, GetMainWindowExStyle());
    state.captionOffset = -adjusted.top;
    const RECT frame = CentredWindowRect(clientWidth, clientHeight);
    return CreateWindowExA(GetMainWindowExStyle(), state.className, state.windowText, GetMainWindowStyle(), frame.left,
                           frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           state.instance, nullptr);
  }
  LogWrite("フルスクリーンモード用のウインドウを作成します\n");
  state.mouseVisible = 0;
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  return CreateWindowExA(GetMainWindowExStyle(), state.className, state.windowText, GetMainWindowStyle(), 0, 0,
                         width, height, nullptr, nullptr, state.instance, nullptr);
}

void SwitchImeOff(HWND window) {
  LogWrite("ＩＭＥを無効にしました\n");
  if (IsImeInUse()) return;
  const auto enableIme = RuntimeEntry<BOOL (*)(HWND, BOOL)>(kRuntimeUser32, "WINNLSEnableIME");
  if (enableIme != nullptr) enableIme(window, FALSE);
}

}  // namespace

int CreateMainWindow() {
  ClearWindowStateForCreation();
  WindowSystemState& state = WindowSystem();
  if (state.className[0] == '\0') {
    StringCopy(state.className, state.windowText[0] != '\0' ? state.windowText : kUnnamedWindowClass);
  }
  ReadUpdateLayeredWindowEntry();
  state.instance = GetModuleHandleA(nullptr);
  state.mainThreadId = GetCurrentThreadId();

  ReadMemoryStatus(state);
  state.desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  state.desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  state.desktopColorBits = ReadDesktopColorBits();

  SelectTimeSource();
  SeedRandom(static_cast<std::uint32_t>(GetTimeMs()));
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, SPIF_SENDCHANGE);
  SelectCharSet(state);

  if (RefuseSecondInstance(state) != 0) return -1;

  state.creating = 1;
  RegisterMainWindowClass(state);
  state.mainWindow = CreateWindowForMode(state);
  if (state.mainWindow == nullptr) {
    state.quit = 1;
    state.creating = 0;
    LogWrite("ウインドウの作成に失敗しました\n");
    return -1;
  }
  LogWrite("ウインドウの作成に成功しました\n");
  ShowWindow(state.mainWindow, SW_SHOW);
  UpdateWindow(state.mainWindow);

  state.closeRequested = 0;
  state.windowDestroyed = 0;
  state.active = 1;
  if (!state.windowMode) {
    LogWrite("カーソルを不可視にしました\n");
    SetCursor(nullptr);
  }
  SwitchImeOff(state.mainWindow);
  if (state.windowMode) ReadClientScreenRect();
  SetMouseVisible(-1);
  BringWindowToTop(state.mainWindow);
  UpdateWindowRect();
  state.creating = 0;
  return 0;
}

int SetDesktopComposition(int flag) {
  WindowSystemState& state = WindowSystem();
  if (state.compositionDisabled == !flag) return 0;
  const auto enable = RuntimeEntry<HRESULT (*)(UINT)>(kRuntimeDwmapi, "DwmEnableComposition");
  if (enable != nullptr) enable(static_cast<UINT>(flag));
  state.compositionDisabled = !flag;
  return 0;
}
