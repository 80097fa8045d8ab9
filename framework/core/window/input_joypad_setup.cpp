// Pads through DirectInput: each attached game controller is created,
// given the joystick format, a range of -1000..1000 with a dead zone on
// its axes, its two vibration effects and a notification event.
#include "core/window/input_devices.h"
#include "core/window/input_direct_input.h"
#include "core/window/input_state.h"
#include "core/base/string_utils.h"
#include "core/window/window_system_state.h"

namespace {

constexpr LONG kAxisRange = 1000;
constexpr DWORD kDeadZone = 3500;
constexpr DWORD kEffectMagnitude = 10000;
constexpr DWORD kFullPower = 10000;

struct AxisSetup {
  DWORD offset;
  const char* rangeFailure;  // null: a failure is ignored
  const char* deadZoneFailure;
};

constexpr AxisSetup kAxes[] = {
    {D_DIJOFS_X, "ジョイパッドデバイスのＸ軸関係の設定に失敗しました\n",
     "ジョイパッドデバイスのＸ軸の無効ゾーンの設定に失敗しました\n"},
    {D_DIJOFS_Y, "ジョイパッドデバイスのＹ軸関係の設定に失敗しました\n",
     "ジョイパッドデバイスのＹ軸の無効ゾーンの設定に失敗しました\n"},
    {D_DIJOFS_Z, nullptr, nullptr},
    {D_DIJOFS_RX, nullptr, nullptr},
    {D_DIJOFS_RY, nullptr, nullptr},
    {D_DIJOFS_RZ, nullptr, nullptr},
};

D_DIPROPHEADER AxisHeader(DWORD size, DWORD offset) {
  return D_DIPROPHEADER{size, sizeof(D_DIPROPHEADER), offset, D_DIPH_BYOFFSET};
}

// Range on every axis, then the dead zone; false when X or Y refuses.
bool SetUpAxes(D_IDirectInputDevice7A* device) {
  for (const AxisSetup& axis : kAxes) {
    D_DIPROPRANGE range{AxisHeader(sizeof(D_DIPROPRANGE), axis.offset), -kAxisRange, kAxisRange};
    if (FAILED(device->SetProperty(D_DIPROP_RANGE, &range.diph)) && axis.rangeFailure != nullptr) {
      LogWrite(axis.rangeFailure);
      return false;
    }
  }
  for (const AxisSetup& axis : kAxes) {
    D_DIPROPDWORD deadZone{AxisHeader(sizeof(D_DIPROPDWORD), axis.offset), kDeadZone};
    if (FAILED(device->SetProperty(D_DIPROP_DEADZONE, &deadZone.diph)) &&
        axis.deadZoneFailure != nullptr) {
      LogWrite(axis.deadZoneFailure);
      return false;
    }
  }
  return true;
}

D_IDirectInputEffect* CreateEffect(D_IDirectInputDevice7A* device, REFGUID type, DWORD coordinates,
                                   void* parameters, DWORD parametersSize) {
  DWORD axes[2] = {D_DIJOFS_X, D_DIJOFS_Y};
  LONG direction[2] = {0, 0};
  D_DIEFFECT effect{};
  effect.dwSize = sizeof effect;
  effect.dwFlags = coordinates | D_DIEFF_OBJECTOFFSETS;
  effect.dwDuration = INFINITE;
  effect.dwGain = kEffectMagnitude;
  effect.dwTriggerButton = D_DIEB_NOTRIGGER;
  effect.cAxes = 2;
  effect.rgdwAxes = axes;
  effect.rglDirection = direction;
  effect.cbTypeSpecificParams = parametersSize;
  effect.lpvTypeSpecificParams = parameters;
  D_IDirectInputEffect* created = nullptr;
  return SUCCEEDED(device->CreateEffect(type, &effect, &created, nullptr)) ? created : nullptr;
}

void CreateVibrationEffects(JoypadRecord& pad) {
  D_DIPERIODIC periodic{kEffectMagnitude, 0, 0, 0};
  pad.sineEffect = CreateEffect(pad.device, D_GUID_Sine, D_DIEFF_POLAR, &periodic, sizeof periodic);
  D_DICONSTANTFORCE constant{static_cast<LONG>(kEffectMagnitude)};
  pad.constantEffect =
      CreateEffect(pad.device, D_GUID_ConstantForce, D_DIEFF_CARTESIAN, &constant, sizeof constant);
  if (pad.constantEffect == nullptr) LogWrite("周期的エフェクトの作成に失敗しました。\n");
}

void ReleaseEffect(D_IDirectInputEffect*& effect) {
  if (effect == nullptr) return;
  effect->Stop();
  effect->Release();
  effect = nullptr;
}

// Sets up the device in the next pad record; false (and the record left
// empty) when the pad is skipped.
bool AddJoypadDevice(D_LPCDIDEVICEINSTANCEA instance) {
  InputState& input = Input();
  JoypadRecord& pad = input.pads[input.padCount];
  if (FAILED(CreateDirectInputDevice(instance->guidInstance, &pad.device))) {
    LogWrite("入力装置の取得に失敗しました\n");
    return false;
  }
  StringCopyN(pad.instanceName, instance->tszInstanceName, MAX_PATH - 1);
  StringCopyN(pad.productName, instance->tszProductName, MAX_PATH - 1);
  IncreaseLogIndent();
  LogWriteFormat("デバイスの登録名:%s", pad.instanceName);
  LogWriteFormat("デバイスの製品登録名:%s", pad.productName);
  DecreaseLogIndent();
  bool added = false;
  if (FAILED(pad.device->SetDataFormat(&D_c_dfDIJoystick))) {
    LogWrite("ジョイパッドデバイスではありませんでした、又は設定に失敗しました\n");
  } else {
    if (FAILED(pad.device->SetCooperativeLevel(WindowSystem().mainWindow,
                                               D_DISCL_EXCLUSIVE | D_DISCL_FOREGROUND))) {
      LogWrite("ジョイパッドデバイスの協調レベルの設定に失敗しました\n");
    }
    added = SetUpAxes(pad.device);
  }
  if (added) {
    if (!input.effectsOff) CreateVibrationEffects(pad);
    pad.vibration = JoypadVibration{0, static_cast<int>(kFullPower), 0, 0, 0, 0, 0};
    pad.event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (pad.event == nullptr || FAILED(pad.device->SetEventNotification(pad.event))) {
      LogWrite("ジョイパッドイベントのセットアップが失敗しました\n");
      added = false;
    }
  }
  if (!added) {
    ReleaseEffect(pad.sineEffect);
    ReleaseEffect(pad.constantEffect);
    if (pad.event != nullptr) CloseHandle(pad.event);
    pad.device->Release();
    pad = JoypadRecord{};
    return false;
  }
  pad.device->Acquire();
  pad.addedHalf = 0.5;
  ++input.padCount;
  LogWrite("ジョイパッドの追加は正常に終了しました\n");
  return true;
}

BOOL JoypadFound(D_LPCDIDEVICEINSTANCEA instance, LPVOID) {
  LogWrite("入力装置を見つけました\n");
  AddJoypadDevice(instance);
  return Input().padCount < kMaxJoypads ? D_DIENUM_CONTINUE : D_DIENUM_STOP;
}

}  // namespace

int SetupJoypads() {
  ReleaseJoypads();
  LogWrite("ジョイパッドの初期化... \n");
  EnumGameControllers(JoypadFound, nullptr);
  LogWrite("ジョイパッドの初期化は正常に終了しました\n");
  return 0;
}

int ReleaseJoypads() {
  InputState& input = Input();
  if (input.mode != InputMode::kDirectInput) return 0;
  for (int index = 0; index < input.padCount; ++index) {
    JoypadRecord& pad = input.pads[index];
    pad.device->Unacquire();
    pad.device->SetEventNotification(nullptr);
    ReleaseEffect(pad.sineEffect);
    ReleaseEffect(pad.constantEffect);
    pad.device->Release();
    if (pad.event != nullptr) CloseHandle(pad.event);
    pad = JoypadRecord{};
  }
  input.padCount = 0;
  return 0;
}
