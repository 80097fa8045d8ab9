// Starting and ending input, with DirectInput or through the window
// system's keyboard state and the multimedia joysticks.
#include "core/window/input_devices.h"
#include "core/window/input_direct_input.h"
#include "core/window/input_state.h"
#include "core/startup/library_startup.h"
#include "core/window/message_pump.h"
#include "platform/mmsystem.h"
#include "core/startup/runtime_libraries.h"
#include "core/window/window_system_state.h"

namespace {

constexpr DWORD kKeyboardBufferSize = 100;

using JoyGetDevCapsFunction = MMRESULT (*)(UINT_PTR, LPJOYCAPSA, UINT);

// Zeroes the state, keeping the switches.
void ClearInputState() {
  InputState& input = Input();
  const InputState kept = input;
  input = InputState{};
  input.noDirectInput = kept.noDirectInput;
  input.effectsOff = kept.effectsOff;
  input.directInputKeyboardAlways = kept.directInputKeyboardAlways;
  input.keyMapReady = kept.keyMapReady;
}

struct SystemDeviceSetup {
  const GUID& instance;
  const D_DIDATAFORMAT& format;
  const char* createFailure;
  const char* formatFailure;
  const char* levelFailure;
};

// Creates a system device, shared and in the background; any failure ends
// the program.
D_IDirectInputDevice7A* CreateSystemDevice(const SystemDeviceSetup& setup) {
  D_IDirectInputDevice7A* device = nullptr;
  if (FAILED(CreateDirectInputDevice(setup.instance, &device))) TerminateAndExit(setup.createFailure);
  if (FAILED(device->SetDataFormat(&setup.format))) TerminateAndExit(setup.formatFailure);
  if (FAILED(device->SetCooperativeLevel(WindowSystem().mainWindow, D_DISCL_NONEXCLUSIVE | D_DISCL_BACKGROUND))) {
    TerminateAndExit(setup.levelFailure);
  }
  return device;
}

void StartMouse() {
  LogWrite("マウスデバイスの初期化... ");
  Input().mouse = CreateSystemDevice({D_GUID_SysMouse, D_c_dfDIMouse, "マウスデバイスの取得に失敗しました",
                                      "マウスデバイスのデータ形式の設定に失敗しました",
                                      "マウスデバイスの協調レベルの設定に失敗しました"});
  LogWrite("初期化成功\n");
}

// Returns false when the notification cannot be set up.
bool StartKeyboard() {
  InputState& input = Input();
  LogWrite("キーボードデバイスの初期化... ");
  input.keyboard = CreateSystemDevice({D_GUID_SysKeyboard, D_c_dfDIKeyboard, "キーボードデバイスの取得に失敗しました",
                                       "キーボードデバイスのデータ形式の設定に失敗しました",
                                       "キーボードデバイスの協調レベルの設定に失敗しました"});
  D_DIPROPDWORD bufferSize{{sizeof(D_DIPROPDWORD), sizeof(D_DIPROPHEADER), 0, D_DIPH_DEVICE},
                           kKeyboardBufferSize};
  if (FAILED(input.keyboard->SetProperty(D_DIPROP_BUFFERSIZE, &bufferSize.diph))) {
    LogWrite("キーボードのプロパティ設定に失敗しました\n");
  }
  input.keyboardEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const HRESULT notified = input.keyboard->SetEventNotification(input.keyboardEvent);
  if (notified != D_DI_OK && notified != D_DI_POLLEDDEVICE) {
    LogWrite("キーボードイベントのセットアップが失敗しました\n");
    return false;
  }
  if (FAILED(input.keyboard->Acquire()) && FAILED(input.keyboard->Acquire())) {
    TerminateAndExit("キーボードデバイスの取得に失敗しました");
  }
  LogWrite("初期化成功\n");
  input.keyboardReadTime = InputTimeMs();
  return true;
}

// Returns false when the keyboard's notification failed.
bool StartDirectInputDevices() {
  InputState& input = Input();
  BringWindowToTop(WindowSystem().mainWindow);
  ProcessWindowMessages();
  SetupJoypads();
  StartMouse();
  if (!input.keyboardOffDirectInput && !StartKeyboard()) return false;
  LogWrite("DirectInput 関連の初期化は正常に終了しました\n");
  return true;
}

void StartWithoutDirectInput() {
  InputState& input = Input();
  const auto joyGetDevCaps = RuntimeEntry<JoyGetDevCapsFunction>(kRuntimeWinmm, "joyGetDevCapsA");
  int found = 0;
  while (found < kMaxJoypads && joyGetDevCaps != nullptr) {
    JOYCAPSA caps{};
    if (joyGetDevCaps(static_cast<UINT_PTR>(found), &caps, sizeof caps) != JOYERR_NOERROR) break;
    input.pads[found].hasZAndR = (caps.wCaps & JOYCAPS_HASZ) && (caps.wCaps & JOYCAPS_HASR);
    ++found;
  }
  LogWriteFormat("パッドの数は %d 個です", found);
  input.mode = InputMode::kWindows;
  LogWrite("入力関連の初期化をしました\n");
  // Every id is polled: a pad plugged in later answers on its own.
  input.padCount = kMaxJoypads;
}

void EndKeyboard() {
  InputState& input = Input();
  if (input.keyboard != nullptr) {
    input.keyboard->Unacquire();
    input.keyboard->SetEventNotification(nullptr);
    input.keyboard->Release();
    input.keyboard = nullptr;
  }
  if (input.keyboardEvent != nullptr) CloseHandle(input.keyboardEvent);
  input.keyboardEvent = nullptr;
}

}  // namespace

int StartInput() {
  InputState& input = Input();
  if (input.mode != InputMode::kNotStarted || input.starting) return 0;
  ClearInputState();
  input.starting = 1;
  int result = 0;
  if (!input.noDirectInput) {
    LogWrite("DirectInput関係初期化処理\n");
    IncreaseLogIndent();
    if (AcquireDirectInput()) {
      input.mode = InputMode::kDirectInput;
      if (!StartDirectInputDevices()) result = -1;
    } else {
      LogWrite("DirectInput を使用しません。\n");
      input.noDirectInput = 1;
    }
    DecreaseLogIndent();
  }
  if (input.noDirectInput) StartWithoutDirectInput();
  if (!input.keyMapReady) {
    FillDefaultJoypadKeys();
    input.keyMapReady = 1;
  }
  input.starting = 0;
  return result;
}

int EndInput() {
  InputState& input = Input();
  if (input.mode == InputMode::kNotStarted) return 0;
  if (input.mode == InputMode::kWindows) {
    LogWrite("入力関連の終了処理... 完了\n");
  } else {
    LogWrite("DirectInput 関連の終了処理... 完了\n");
    ReleaseJoypads();
    EndKeyboard();
    if (input.mouse != nullptr) input.mouse->Release();
    input.mouse = nullptr;
    ReleaseDirectInput();
  }
  input.mode = InputMode::kNotStarted;
  return 0;
}

void SetDirectInputKeyboardAlways(int always) { Input().directInputKeyboardAlways = always != 0; }

int SetHookKeyFlag(int index, int on) {
  InputState& input = Input();
  (index == 0 ? input.hookKeyA : input.hookKeyB) = on != 0;
  return 0;
}

int ReacquireInputDevices() {
  InputState& input = Input();
  if (input.mode != InputMode::kDirectInput) return 0;
  const HWND window = WindowSystem().mainWindow;
  const DWORD padLevel = WindowSystem().active ? D_DISCL_EXCLUSIVE | D_DISCL_FOREGROUND
                                               : D_DISCL_NONEXCLUSIVE | D_DISCL_BACKGROUND;
  for (int pad = 0; pad < input.padCount; ++pad) {
    D_IDirectInputDevice7A* device = input.pads[pad].device;
    device->Unacquire();
    device->SetCooperativeLevel(window, padLevel);
    device->Acquire();
  }
  if (input.keyboard != nullptr) {
    input.keyboard->Unacquire();
    input.keyboard->Acquire();
  }
  return 0;
}
