// The system keyboard through DirectInput and through the window system's
// key state: physical keys at their DirectInput codes, left and right
// modifiers apart, and the change notification.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>

#include "platform/control.h"
#include "platform/dinput.h"
#include "platform/windows.h"
#include "user32/window_system_events.h"
#include "user32/window_table.h"
#include "window_test_support.h"

namespace {

using wqtest::RecordingWindowClass;

class DinputKeyboardTest : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    window_ = window_class_.Create(WS_POPUP, 0, 320, 240);
    ShowWindow(window_, SW_SHOW);
    wqtest::DispatchQueued();
    ASSERT_EQ(CoCreateInstance(D_CLSID_DirectInput8, nullptr, CLSCTX_INPROC_SERVER, D_IID_IDirectInput8A,
                               reinterpret_cast<void**>(&input_)),
              S_OK);
    ASSERT_EQ(input_->Initialize(nullptr, 0x0800), D_DI_OK);
    ASSERT_EQ(input_->CreateDevice(D_GUID_SysKeyboard, &keyboard_, nullptr), D_DI_OK);
    ASSERT_EQ(keyboard_->SetDataFormat(&D_c_dfDIKeyboard), D_DI_OK);
    ASSERT_EQ(keyboard_->SetCooperativeLevel(window_, D_DISCL_NONEXCLUSIVE | D_DISCL_BACKGROUND), D_DI_OK);
  }
  void TearDown() override {
    keyboard_->Release();
    input_->Release();
    CoUninitialize();
  }

  std::array<BYTE, 256> ReadKeys() {
    std::array<BYTE, 256> keys{};
    EXPECT_EQ(keyboard_->GetDeviceState(256, keys.data()), D_DI_OK);
    return keys;
  }

  void Press(int key_code, bool down) { WqControlInjectPhysicalKey(window_, key_code, down); }

  RecordingWindowClass window_class_;
  HWND window_ = nullptr;
  D_IDirectInput8A* input_ = nullptr;
  D_IDirectInputDevice8A* keyboard_ = nullptr;
};

TEST_F(DinputKeyboardTest, StateNeedsTheFormatTheDeviceAndAcquisition) {
  BYTE keys[256];
  EXPECT_EQ(keyboard_->GetDeviceState(256, keys), D_DIERR_NOTACQUIRED);
  EXPECT_EQ(keyboard_->SetDataFormat(&D_c_dfDIMouse), D_DIERR_INVALIDPARAM);
  ASSERT_EQ(keyboard_->Acquire(), D_DI_OK);
  EXPECT_EQ(keyboard_->Acquire(), S_FALSE);
  EXPECT_EQ(keyboard_->GetDeviceState(128, keys), D_DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard_->SetDataFormat(&D_c_dfDIKeyboard), D_DIERR_ACQUIRED);
  EXPECT_EQ(keyboard_->Unacquire(), D_DI_OK);
  EXPECT_EQ(keyboard_->GetDeviceState(256, keys), D_DIERR_NOTACQUIRED);
}

TEST_F(DinputKeyboardTest, PhysicalKeysReadAtTheirCodesTable) {
  const int cases[] = {
      D_DIK_A,        D_DIK_W,      D_DIK_RETURN, D_DIK_NUMPADENTER, D_DIK_UP,
      D_DIK_NUMPAD8,  D_DIK_LSHIFT, D_DIK_RSHIFT, D_DIK_RCONTROL,    D_DIK_RMENU,
      D_DIK_DIVIDE,   D_DIK_PAUSE,  D_DIK_NUMLOCK, D_DIK_KANA,       D_DIK_KANJI,
      D_DIK_YEN,      D_DIK_CONVERT, D_DIK_NOCONVERT, D_DIK_ABNT_C1,
  };
  ASSERT_EQ(keyboard_->Acquire(), D_DI_OK);
  for (int key : cases) {
    SCOPED_TRACE(testing::Message() << "key 0x" << std::hex << key);
    Press(key, true);
    std::array<BYTE, 256> keys = ReadKeys();
    for (int code = 0; code < 256; ++code) EXPECT_EQ(keys[code], code == key ? 0x80 : 0) << code;
    Press(key, false);
    EXPECT_EQ(ReadKeys()[key], 0);
  }
}

TEST_F(DinputKeyboardTest, AJapaneseKeyboardsOwnKeysFromTheWindowSystemTable) {
  struct KeyCase {
    SDL_Scancode scancode;
    int key_code;
  };
  // What a Japanese PC keyboard's keys arrive as from the window system.
  const KeyCase cases[] = {
      {SDL_SCANCODE_INTERNATIONAL1, D_DIK_ABNT_C1}, {SDL_SCANCODE_INTERNATIONAL2, D_DIK_KANA},
      {SDL_SCANCODE_INTERNATIONAL3, D_DIK_YEN},     {SDL_SCANCODE_INTERNATIONAL4, D_DIK_CONVERT},
      {SDL_SCANCODE_INTERNATIONAL5, D_DIK_NOCONVERT}, {SDL_SCANCODE_GRAVE, D_DIK_GRAVE},
  };
  ASSERT_EQ(keyboard_->Acquire(), D_DI_OK);
  for (const KeyCase& test : cases) {
    SCOPED_TRACE(testing::Message() << "scancode " << test.scancode);
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = test.scancode;
    wqplat::DeliverWindowSystemEvent(window_, event);
    EXPECT_EQ(ReadKeys()[test.key_code], 0x80);
    event.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    wqplat::DeliverWindowSystemEvent(window_, event);
    EXPECT_EQ(ReadKeys()[test.key_code], 0);
  }
}

TEST_F(DinputKeyboardTest, KeysFromTheWindowSystemsQueueReachBothPathsTable) {
  struct KeyCase {
    SDL_Scancode scancode;
    int key_code;
    BYTE virtual_key;
  };
  const KeyCase cases[] = {
      {SDL_SCANCODE_A, D_DIK_A, 'A'},
      {SDL_SCANCODE_RETURN, D_DIK_RETURN, VK_RETURN},
      {SDL_SCANCODE_KP_ENTER, D_DIK_NUMPADENTER, VK_RETURN},
      {SDL_SCANCODE_UP, D_DIK_UP, VK_UP},
      {SDL_SCANCODE_RSHIFT, D_DIK_RSHIFT, VK_RSHIFT},
  };
  const auto record = wqplat::FindWindowRecord(window_);
  ASSERT_NE(record, nullptr);
  ASSERT_EQ(keyboard_->Acquire(), D_DI_OK);
  // As the window system queues a key of the window: read with the
  // window's messages.
  const auto queue_key = [&](SDL_Scancode scancode, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = record->sdl_window_id;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    wqtest::DispatchQueued();
  };
  for (const KeyCase& test : cases) {
    SCOPED_TRACE(testing::Message() << "scancode " << test.scancode);
    queue_key(test.scancode, true);
    EXPECT_EQ(ReadKeys()[test.key_code], 0x80);
    EXPECT_EQ(GetKeyState(test.virtual_key) & 0x8000, 0x8000);
    queue_key(test.scancode, false);
    EXPECT_EQ(ReadKeys()[test.key_code], 0);
    EXPECT_EQ(GetKeyState(test.virtual_key), 0);
  }
}

TEST_F(DinputKeyboardTest, InjectedKeysAreSeenByBothPaths) {
  ASSERT_EQ(keyboard_->Acquire(), D_DI_OK);
  WqControlInjectKey(window_, VK_RETURN, true);
  WqControlInjectKey(window_, VK_LEFT, true);
  EXPECT_EQ(ReadKeys()[D_DIK_RETURN], 0x80);
  EXPECT_EQ(ReadKeys()[D_DIK_LEFT], 0x80);
  BYTE states[256];
  ASSERT_TRUE(GetKeyboardState(states));
  EXPECT_EQ(states[VK_RETURN], 0x80);
  EXPECT_EQ(states[VK_LEFT], 0x80);
  EXPECT_EQ(states[VK_UP], 0);
  EXPECT_EQ(GetKeyState(VK_RETURN) & 0x8000, 0x8000);
  WqControlInjectKey(window_, VK_RETURN, false);
  EXPECT_EQ(ReadKeys()[D_DIK_RETURN], 0);
  EXPECT_EQ(GetKeyState(VK_RETURN), 0);
}

TEST_F(DinputKeyboardTest, WindowsKeyStateTellsLeftFromRightModifiers) {
  Press(D_DIK_RSHIFT, true);
  Press(D_DIK_LCONTROL, true);
  BYTE states[256];
  ASSERT_TRUE(GetKeyboardState(states));
  EXPECT_EQ(states[VK_SHIFT], 0x80);
  EXPECT_EQ(states[VK_RSHIFT], 0x80);
  EXPECT_EQ(states[VK_LSHIFT], 0);
  EXPECT_EQ(states[VK_CONTROL], 0x80);
  EXPECT_EQ(states[VK_LCONTROL], 0x80);
  EXPECT_EQ(states[VK_RCONTROL], 0);
}

TEST_F(DinputKeyboardTest, AKeyChangeSetsTheNotificationEvent) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_EQ(keyboard_->SetEventNotification(event), D_DI_OK);
  ASSERT_EQ(keyboard_->Acquire(), D_DI_OK);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  Press(D_DIK_Z, true);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  ResetEvent(event);
  // Held: no change, no signal.
  Press(D_DIK_Z, true);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  ASSERT_EQ(keyboard_->Unacquire(), D_DI_OK);
  ASSERT_EQ(keyboard_->SetEventNotification(nullptr), D_DI_OK);
  Press(D_DIK_Z, false);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(event);
}

}  // namespace
