// The DirectInput 7 and 8 objects: creation through COM, versions,
// enumeration of the devices, and the system mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/dinput.h"
#include "platform/windows.h"
#include "window_test_support.h"

namespace {

class DinputObjectsTest : public testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }

  template <class Interface>
  Interface* Create(const CLSID& clsid, const IID& iid) {
    Interface* object = nullptr;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&object)),
              S_OK);
    return object;
  }
};

struct Enumerated {
  std::vector<DWORD> types;
  std::vector<std::string> names;
};

BOOL Collect(D_LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  auto* found = static_cast<Enumerated*>(context);
  found->types.push_back(instance->dwDevType);
  found->names.emplace_back(instance->tszInstanceName);
  return D_DIENUM_CONTINUE;
}

TEST_F(DinputObjectsTest, EachVersionAcceptsItsOwnVersionsOnly) {
  struct VersionCase {
    bool version8;
    DWORD version;
    HRESULT expected;
  };
  const VersionCase cases[] = {
      {false, 0x0700, D_DI_OK}, {false, 0x0500, D_DI_OK},
      {false, 0x0800, D_DIERR_OLDDIRECTINPUTVERSION}, {true, 0x0800, D_DI_OK},
      {true, 0x0700, D_DIERR_OLDDIRECTINPUTVERSION},
  };
  for (const VersionCase& test : cases) {
    SCOPED_TRACE(testing::Message() << test.version8 << " " << std::hex << test.version);
    if (test.version8) {
      auto* input = Create<D_IDirectInput8A>(D_CLSID_DirectInput8, D_IID_IDirectInput8A);
      EXPECT_EQ(input->Initialize(nullptr, test.version), test.expected);
      input->Release();
    } else {
      auto* input = Create<D_IDirectInput7A>(D_CLSID_DirectInput, D_IID_IDirectInput7A);
      EXPECT_EQ(input->Initialize(nullptr, test.version), test.expected);
      input->Release();
    }
  }
}

TEST_F(DinputObjectsTest, NothingWorksBeforeInitialize) {
  auto* input = Create<D_IDirectInput7A>(D_CLSID_DirectInput, D_IID_IDirectInput7A);
  void* device = nullptr;
  EXPECT_EQ(input->CreateDeviceEx(D_GUID_SysMouse, D_IID_IDirectInputDevice7A, &device, nullptr),
            D_DIERR_NOTINITIALIZED);
  Enumerated found;
  EXPECT_EQ(input->EnumDevices(0, Collect, &found, 0), D_DIERR_NOTINITIALIZED);
  input->Release();
}

TEST_F(DinputObjectsTest, WrongInterfacesAndUnknownDevicesAreRefused) {
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(D_CLSID_DirectInput, nullptr, CLSCTX_INPROC_SERVER, D_IID_IDirectInput8A, &object),
            E_NOINTERFACE);
  auto* input = Create<D_IDirectInput7A>(D_CLSID_DirectInput, D_IID_IDirectInput7A);
  ASSERT_EQ(input->Initialize(nullptr, 0x0700), D_DI_OK);
  void* device = nullptr;
  EXPECT_EQ(input->CreateDeviceEx(D_GUID_SysMouse, D_IID_IDirectInputDevice8A, &device, nullptr),
            D_DIERR_NOINTERFACE);
  EXPECT_EQ(input->CreateDeviceEx(D_GUID_Sine, D_IID_IDirectInputDevice7A, &device, nullptr),
            D_DIERR_DEVICENOTREG);
  EXPECT_EQ(device, nullptr);
  // A device answers both versions' interface ids.
  ASSERT_EQ(input->CreateDeviceEx(D_GUID_SysKeyboard, D_IID_IDirectInputDevice7A, &device, nullptr), D_DI_OK);
  auto* keyboard = static_cast<D_IDirectInputDevice7A*>(device);
  void* same = nullptr;
  EXPECT_EQ(keyboard->QueryInterface(D_IID_IDirectInputDevice8A, &same), S_OK);
  EXPECT_EQ(same, device);
  EXPECT_EQ(keyboard->QueryInterface(D_IID_IDirectInputEffect, &same), E_NOINTERFACE);
  keyboard->Release();
  keyboard->Release();
  input->Release();
}

TEST_F(DinputObjectsTest, EnumerationListsTheKeyboardTheMouseAndAttachedPads) {
  ASSERT_GE(WqControlAttachPad("Test Pad"), 0);
  auto* input = Create<D_IDirectInput8A>(D_CLSID_DirectInput8, D_IID_IDirectInput8A);
  ASSERT_EQ(input->Initialize(nullptr, 0x0800), D_DI_OK);
  Enumerated all;
  ASSERT_EQ(input->EnumDevices(0, Collect, &all, D_DIEDFL_ATTACHEDONLY), D_DI_OK);
  EXPECT_EQ(all.types, (std::vector<DWORD>{D_DIDEVTYPE_MOUSE, D_DIDEVTYPE_KEYBOARD, D_DIDEVTYPE_JOYSTICK}));
  Enumerated pads;
  ASSERT_EQ(input->EnumDevices(D_DI8DEVCLASS_GAMECTRL, Collect, &pads, D_DIEDFL_ATTACHEDONLY), D_DI_OK);
  EXPECT_EQ(pads.names, std::vector<std::string>{"Test Pad"});
  input->Release();
}

TEST_F(DinputObjectsTest, TheMouseReportsMotionSinceItsLastReadAndItsButtons) {
  wqtest::RecordingWindowClass window_class;
  HWND window = window_class.Create(WS_POPUP, 0, 320, 240);
  ShowWindow(window, SW_SHOW);
  wqtest::DispatchQueued();
  auto* input = Create<D_IDirectInput7A>(D_CLSID_DirectInput, D_IID_IDirectInput7A);
  ASSERT_EQ(input->Initialize(nullptr, 0x0700), D_DI_OK);
  D_IDirectInputDevice7A* mouse = nullptr;
  ASSERT_EQ(input->CreateDeviceEx(D_GUID_SysMouse, D_IID_IDirectInputDevice7A,
                                  reinterpret_cast<void**>(&mouse), nullptr),
            D_DI_OK);
  ASSERT_EQ(mouse->SetDataFormat(&D_c_dfDIMouse), D_DI_OK);
  EXPECT_EQ(mouse->SetCooperativeLevel(window, D_DISCL_EXCLUSIVE | D_DISCL_NONEXCLUSIVE),
            D_DIERR_INVALIDPARAM);
  ASSERT_EQ(mouse->SetCooperativeLevel(window, D_DISCL_NONEXCLUSIVE | D_DISCL_BACKGROUND), D_DI_OK);
  WqControlInjectMouse(window, 10, 20, 0, 0);
  ASSERT_EQ(mouse->Acquire(), D_DI_OK);
  D_DIMOUSESTATE state{};
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), D_DI_OK);
  EXPECT_EQ(state.lX, 0);
  WqControlInjectMouse(window, 15, 17, MK_LBUTTON | MK_MBUTTON | MK_XBUTTON1, 2);
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), D_DI_OK);
  EXPECT_EQ(state.lX, 5);
  EXPECT_EQ(state.lY, -3);
  EXPECT_EQ(state.lZ, 2 * WHEEL_DELTA);
  EXPECT_EQ(state.rgbButtons[0], 0x80);
  EXPECT_EQ(state.rgbButtons[1], 0);
  EXPECT_EQ(state.rgbButtons[2], 0x80);
  EXPECT_EQ(state.rgbButtons[3], 0x80);
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), D_DI_OK);
  EXPECT_EQ(state.lX, 0);
  EXPECT_EQ(state.lZ, 0);
  EXPECT_EQ(mouse->SetEventNotification(nullptr), D_DIERR_ACQUIRED);
  mouse->Release();
  input->Release();
}

}  // namespace
