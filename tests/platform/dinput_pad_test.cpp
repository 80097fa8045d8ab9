// Pads through DirectInput: the joystick state with range and dead zone,
// buttons and the hat, and rumble through the effects.
#include <gtest/gtest.h>

#include "platform/control.h"
#include "platform/dinput.h"
#include "platform/windows.h"
#include "window_test_support.h"

namespace {

class DinputPadTest : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    window_ = window_class_.Create(WS_POPUP, 0, 320, 240);
    pad_ = WqControlAttachPad("Rumble Pad");
    ASSERT_GE(pad_, 0);
    ASSERT_EQ(CoCreateInstance(D_CLSID_DirectInput8, nullptr, CLSCTX_INPROC_SERVER, D_IID_IDirectInput8A,
                               reinterpret_cast<void**>(&input_)),
              S_OK);
    ASSERT_EQ(input_->Initialize(nullptr, 0x0800), D_DI_OK);
    ASSERT_EQ(input_->EnumDevices(D_DI8DEVCLASS_GAMECTRL, First, &instance_, D_DIEDFL_ATTACHEDONLY), D_DI_OK);
    ASSERT_EQ(input_->CreateDevice(instance_, &device_, nullptr), D_DI_OK);
    ASSERT_EQ(device_->SetDataFormat(&D_c_dfDIJoystick), D_DI_OK);
    ASSERT_EQ(device_->SetCooperativeLevel(window_, D_DISCL_EXCLUSIVE | D_DISCL_FOREGROUND), D_DI_OK);
  }
  void TearDown() override {
    if (device_) device_->Release();
    input_->Release();
    CoUninitialize();
  }

  static BOOL First(D_LPCDIDEVICEINSTANCEA instance, LPVOID context) {
    *static_cast<GUID*>(context) = instance->guidInstance;
    return D_DIENUM_STOP;
  }

  void SetAxisProperty(const GUID* property, DWORD offset, LONG first, LONG second = 0) {
    if (property == D_DIPROP_RANGE) {
      D_DIPROPRANGE range{{sizeof range, sizeof(D_DIPROPHEADER), offset, D_DIPH_BYOFFSET}, first, second};
      ASSERT_EQ(device_->SetProperty(property, &range.diph), D_DI_OK);
    } else {
      D_DIPROPDWORD value{{sizeof value, sizeof(D_DIPROPHEADER), offset, D_DIPH_BYOFFSET},
                          static_cast<DWORD>(first)};
      ASSERT_EQ(device_->SetProperty(property, &value.diph), D_DI_OK);
    }
  }

  D_DIJOYSTATE Read() {
    D_DIJOYSTATE state{};
    EXPECT_EQ(device_->Poll(), D_DI_OK);
    EXPECT_EQ(device_->GetDeviceState(sizeof state, &state), D_DI_OK);
    return state;
  }

  D_IDirectInputEffect* MakeEffect(const GUID& type, LONG magnitude, DWORD gain) {
    D_DICONSTANTFORCE constant{magnitude};
    D_DIPERIODIC periodic{static_cast<DWORD>(magnitude), 0, 0, 0};
    D_DIEFFECT effect{};
    effect.dwSize = sizeof effect;
    effect.dwDuration = INFINITE;
    effect.dwGain = gain;
    effect.cbTypeSpecificParams = type == D_GUID_Sine ? sizeof periodic : sizeof constant;
    effect.lpvTypeSpecificParams = type == D_GUID_Sine ? static_cast<void*>(&periodic) : &constant;
    D_IDirectInputEffect* created = nullptr;
    EXPECT_EQ(device_->CreateEffect(type, &effect, &created, nullptr), D_DI_OK);
    return created;
  }

  wqtest::RecordingWindowClass window_class_;
  HWND window_ = nullptr;
  int pad_ = -1;
  GUID instance_{};
  D_IDirectInput8A* input_ = nullptr;
  D_IDirectInputDevice8A* device_ = nullptr;
};

TEST_F(DinputPadTest, AxesReadInTheirRangeWithTheDeadZoneTable) {
  SetAxisProperty(D_DIPROP_RANGE, D_DIJOFS_X, -1000, 1000);
  SetAxisProperty(D_DIPROP_DEADZONE, D_DIJOFS_X, 3500);
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(device_->SetEventNotification(event), D_DI_POLLEDDEVICE);
  ASSERT_EQ(device_->Acquire(), D_DI_OK);
  struct AxisCase {
    int sdl_value;
    LONG x;  // range -1000..1000, dead zone 35 %
    LONG y;  // default range 0..65535, no dead zone
  };
  const AxisCase cases[] = {
      {0, 0, 32768},           {32767, 1000, 65535},    {-32768, -1000, 0},
      {11000, 0, 43768},       {-11000, 0, 21767},      {16384, 231, 49152},
      {-22938, -539, 9829},
  };
  for (const AxisCase& test : cases) {
    SCOPED_TRACE(test.sdl_value);
    WqPadInput pad{};
    pad.axes[0] = pad.axes[1] = test.sdl_value;
    WqControlSetPad(pad_, pad);
    D_DIJOYSTATE state = Read();
    EXPECT_EQ(state.lX, test.x);
    EXPECT_EQ(state.lY, test.y);
  }
  CloseHandle(event);
}

TEST_F(DinputPadTest, BadAxisPropertiesAreRefused) {
  D_DIPROPRANGE range{{sizeof range, sizeof(D_DIPROPHEADER), D_DIJOFS_X, D_DIPH_BYOFFSET}, 5, 5};
  EXPECT_EQ(device_->SetProperty(D_DIPROP_RANGE, &range.diph), D_DIERR_INVALIDPARAM);
  D_DIPROPDWORD zone{{sizeof zone, sizeof(D_DIPROPHEADER), 28, D_DIPH_BYOFFSET}, 100};
  EXPECT_EQ(device_->SetProperty(D_DIPROP_DEADZONE, &zone.diph), D_DIERR_INVALIDPARAM);
  zone.diph.dwObj = D_DIJOFS_Y;
  zone.dwData = 10001;
  EXPECT_EQ(device_->SetProperty(D_DIPROP_DEADZONE, &zone.diph), D_DIERR_INVALIDPARAM);
}

TEST_F(DinputPadTest, ButtonsAndTheHatAreReported) {
  ASSERT_EQ(device_->Acquire(), D_DI_OK);
  WqPadInput pad{};
  pad.buttons = 0x80000005u;
  pad.hat = 2 | 4;  // right and down
  WqControlSetPad(pad_, pad);
  D_DIJOYSTATE state = Read();
  EXPECT_EQ(state.rgbButtons[0], 0x80);
  EXPECT_EQ(state.rgbButtons[1], 0);
  EXPECT_EQ(state.rgbButtons[2], 0x80);
  EXPECT_EQ(state.rgbButtons[31], 0x80);
  EXPECT_EQ(state.rgdwPOV[0], 13500u);
  EXPECT_EQ(state.rgdwPOV[1], 0xFFFFFFFFu);
}

TEST_F(DinputPadTest, AnUnpluggedPadIsLost) {
  ASSERT_EQ(device_->Acquire(), D_DI_OK);
  WqControlDetachPad(pad_);
  D_DIJOYSTATE state;
  EXPECT_EQ(device_->GetDeviceState(sizeof state, &state), D_DIERR_INPUTLOST);
  EXPECT_EQ(device_->GetDeviceState(sizeof state, &state), D_DIERR_NOTACQUIRED);
}

TEST_F(DinputPadTest, EffectsDriveTheRumbleMotorsUntilStoppedOrReleased) {
  ASSERT_EQ(device_->Acquire(), D_DI_OK);
  D_IDirectInputEffect* constant = MakeEffect(D_GUID_ConstantForce, 10000, 10000);
  D_IDirectInputEffect* sine = MakeEffect(D_GUID_Sine, 10000, 5000);
  ASSERT_NE(constant, nullptr);
  ASSERT_NE(sine, nullptr);
  std::uint16_t strong = 0;
  std::uint16_t weak = 0;
  ASSERT_EQ(constant->Start(1, 0), D_DI_OK);
  ASSERT_TRUE(WqControlReadPadRumble(pad_, &strong, &weak));
  EXPECT_EQ(strong, 0xFFFF);
  EXPECT_EQ(weak, 0);
  ASSERT_EQ(sine->Start(1, 0), D_DI_OK);
  ASSERT_TRUE(WqControlReadPadRumble(pad_, &strong, &weak));
  EXPECT_EQ(weak, 0x7FFF);
  ASSERT_EQ(constant->Stop(), D_DI_OK);
  ASSERT_TRUE(WqControlReadPadRumble(pad_, &strong, &weak));
  EXPECT_EQ(strong, 0);
  EXPECT_EQ(weak, 0x7FFF);
  EXPECT_EQ(constant->Start(2, 0), D_DIERR_UNSUPPORTED);
  constant->Release();
  // The device lives on while an effect holds it; releasing the last
  // reference stops what still plays.
  device_->Release();
  device_ = nullptr;
  ASSERT_TRUE(WqControlReadPadRumble(pad_, &strong, &weak));
  EXPECT_EQ(weak, 0x7FFF);
  sine->Release();
  ASSERT_TRUE(WqControlReadPadRumble(pad_, &strong, &weak));
  EXPECT_EQ(weak, 0);
}

}  // namespace
