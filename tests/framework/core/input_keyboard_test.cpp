// The keyboard through each path input can take: the window system's key
// state (the default on Windows 7), DirectInput, and no DirectInput at all.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "WqLib.h"
#include "core/startup/api_lock.h"
#include "core/window/input_devices.h"
#include "core/window/input_state.h"
#include "platform/control.h"
#include "platform/dinput.h"
#include "startup_test_support.h"
#include "core/window/window_system_state.h"

namespace {

enum class KeyboardPath { kWindows, kDirectInput, kNoDirectInput };

std::string PathName(const testing::TestParamInfo<KeyboardPath>& info) {
  switch (info.param) {
    case KeyboardPath::kWindows: return "WindowsKeyState";
    case KeyboardPath::kDirectInput: return "DirectInput";
    case KeyboardPath::kNoDirectInput: return "NoDirectInput";
  }
  return "";
}

class InputKeyboardTest : public wqtest::LibraryTest, public testing::WithParamInterface<KeyboardPath> {
 protected:
  void SetUp() override {
    wqtest::LibraryTest::SetUp();
    SetDirectInputKeyboardAlways(GetParam() == KeyboardPath::kDirectInput);
    const bool absent = GetParam() == KeyboardPath::kNoDirectInput;
    WqControlSetComClassAbsent(D_CLSID_DirectInput, absent);
    WqControlSetComClassAbsent(D_CLSID_DirectInput8, absent);
    ASSERT_EQ(StartLibrary(), 0);
    ASSERT_EQ(PumpMessages(), 0);
    ASSERT_EQ(UsesDirectInputKeyboard(), GetParam() == KeyboardPath::kDirectInput);
  }

  // A new millisecond, so that the next refresh reads the keyboard again.
  static void NextTick() { WqControlAdvanceVirtualClock(1000); }
  // The next frame: a new millisecond and the frame's pump, which refreshes
  // the keyboard, as a game's loop does before it reads.
  static void NextFrame() {
    NextTick();
    ASSERT_EQ(PumpMessages(), 0);
  }
  // A refresh made from inside a library call, where the window system's
  // keys may be read.
  static int RefreshInsideLibraryCall() {
    LockLibraryCall();
    const int result = RefreshKeyboardState();
    UnlockLibraryCall();
    return result;
  }
};

TEST_P(InputKeyboardTest, TheGamesKeysReadAtTheirCodes) {
  struct KeyCase {
    BYTE virtualKey;
    int keyCode;
  };
  const KeyCase cases[] = {
      {VK_LEFT, D_DIK_LEFT}, {VK_RIGHT, D_DIK_RIGHT}, {VK_UP, D_DIK_UP}, {VK_DOWN, D_DIK_DOWN},
      {VK_RETURN, D_DIK_RETURN}, {'A', D_DIK_A},      {'D', D_DIK_D},   {'W', D_DIK_W},
  };
  const HWND window = GetMainWindow();
  for (const KeyCase& key : cases) {
    SCOPED_TRACE(key.keyCode);
    WqControlInjectKey(window, key.virtualKey, true);
    NextFrame();
    char keys[256];
    ASSERT_EQ(ReadKeyboardState(keys), 0);
    for (int code = 0; code < 256; ++code) {
      // The window system's one Enter key stands for both.
      const bool expected = code == key.keyCode ||
                            (key.keyCode == D_DIK_RETURN && code == D_DIK_NUMPADENTER &&
                             GetParam() != KeyboardPath::kDirectInput);
      EXPECT_EQ(keys[code], expected ? 1 : 0) << code;
    }
    EXPECT_EQ(IsKeyDown(key.keyCode), 1);
    WqControlInjectKey(window, key.virtualKey, false);
    NextFrame();
    EXPECT_EQ(IsKeyDown(key.keyCode), 0);
  }
}

TEST_P(InputKeyboardTest, TwoRefreshesWithinOneTickReadTheKeyboardOnce) {
  NextTick();
  EXPECT_EQ(RefreshInsideLibraryCall(), 1);
  EXPECT_EQ(RefreshInsideLibraryCall(), 0);
  if (GetParam() == KeyboardPath::kDirectInput) {
    // A key change signals the device: the next refresh reads at once.
    WqControlInjectKey(GetMainWindow(), 'Z', true);
    EXPECT_EQ(RefreshInsideLibraryCall(), 1);
    EXPECT_EQ(Input().keys[D_DIK_Z], 0x80);
    EXPECT_EQ(RefreshInsideLibraryCall(), 0);
  } else {
    WqControlInjectKey(GetMainWindow(), 'Z', true);
    EXPECT_EQ(RefreshInsideLibraryCall(), 0);
    EXPECT_EQ(Input().keys[D_DIK_Z], 0);
    NextTick();
    EXPECT_EQ(RefreshInsideLibraryCall(), 1);
    EXPECT_EQ(Input().keys[D_DIK_Z], 0x80);
  }
}

// The window system's keys are read only by the thread inside a library
// call: not by the main thread between frames, but by any thread that holds
// the API lock.
class InputWindowsKeyboardTest : public InputKeyboardTest {};

TEST_P(InputWindowsKeyboardTest, KeysAreReadOnlyUnderTheApiLock) {
  WqControlInjectKey(GetMainWindow(), 'Z', true);
  NextTick();
  EXPECT_EQ(RefreshKeyboardState(), 0);
  EXPECT_EQ(IsKeyDown(D_DIK_Z), 0);

  int otherThreadResult = -1;
  std::thread other([&otherThreadResult] { otherThreadResult = RefreshInsideLibraryCall(); });
  other.join();
  EXPECT_EQ(otherThreadResult, 1);
  EXPECT_EQ(Input().keys[D_DIK_Z], 0x80);
}

TEST_P(InputKeyboardTest, PadOneKeyMapTable) {
  struct MapCase {
    BYTE virtualKey;
    int padCode;
    int bits;
  };
  const MapCase cases[] = {
      {VK_NUMPAD0 + 8, 0x1001, 1 << 3}, {VK_NUMPAD0 + 2, 0x1001, 1 << 0}, {VK_LEFT, 0x1001, 1 << 1},
      {VK_RIGHT, 0x1000, 1 << 2},       {'Z', 0x1001, 1 << 4},           {'C', 0x1001, 1 << 6},
      {'W', 0x1001, 1 << 11},           {VK_ESCAPE, 0x1001, 1 << 12},    {VK_SPACE, 0x1001, 1 << 13},
      {'E', 0x1001, 0},                 {VK_UP, 1, 0},
      // Pad 5's map is empty; pad 17 and beyond have neither pad nor map.
      {VK_UP, 0x1005, 0},               {VK_UP, 0x1011, 0},              {VK_UP, 17, 0},
      {VK_UP, 0x1000 + 0x7FF, 0},
  };
  const HWND window = GetMainWindow();
  for (const MapCase& test : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << test.padCode << " " << int{test.virtualKey});
    WqControlInjectKey(window, test.virtualKey, true);
    NextFrame();
    EXPECT_EQ(ReadJoypadState(test.padCode), test.bits);
    WqControlInjectKey(window, test.virtualKey, false);
  }
}

TEST_P(InputKeyboardTest, MouseButtonsTable) {
  struct ButtonCase {
    unsigned buttons;
    int bits;
  };
  // The side button is DirectInput's fourth; the window system's state gives three.
  const int sideButton = GetParam() == KeyboardPath::kDirectInput ? 8 : 0;
  const ButtonCase cases[] = {
      {MK_LBUTTON, 1},  {MK_RBUTTON, 2}, {MK_MBUTTON, 4}, {MK_LBUTTON | MK_MBUTTON, 5},
      {MK_XBUTTON1, sideButton}, {0, 0},
  };
  for (const ButtonCase& test : cases) {
    SCOPED_TRACE(test.buttons);
    WqControlInjectMouse(GetMainWindow(), 20, 20, test.buttons, 0);
    NextFrame();
    EXPECT_EQ(GetMouseButtons(), test.bits);
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, InputKeyboardTest,
                         testing::Values(KeyboardPath::kWindows, KeyboardPath::kDirectInput,
                                         KeyboardPath::kNoDirectInput),
                         PathName);
INSTANTIATE_TEST_SUITE_P(WindowsPaths, InputWindowsKeyboardTest,
                         testing::Values(KeyboardPath::kWindows, KeyboardPath::kNoDirectInput), PathName);

class InputAnyKeyTest : public wqtest::LibraryTest {
 protected:
  void SetUp() override {
    wqtest::LibraryTest::SetUp();
    // DirectInput sees the Japanese keyboard's mode keys.
    SetDirectInputKeyboardAlways(1);
    ASSERT_EQ(StartLibrary(), 0);
    ASSERT_EQ(PumpMessages(), 0);
  }
};

TEST_F(InputAnyKeyTest, ModeKeysAreNoInputTable) {
  struct AnyCase {
    int keyCode;
    int expected;
  };
  const AnyCase cases[] = {
      {D_DIK_CAPITAL, 0}, {D_DIK_KANJI, 0}, {D_DIK_KANA, 0}, {D_DIK_A, D_DIK_A}, {D_DIK_NUMPADENTER, D_DIK_NUMPADENTER},
  };
  const HWND window = GetMainWindow();
  for (const AnyCase& test : cases) {
    SCOPED_TRACE(test.keyCode);
    WqControlInjectPhysicalKey(window, test.keyCode, true);
    EXPECT_EQ(CheckAnyInput(1), test.expected);
    WqControlInjectPhysicalKey(window, test.keyCode, false);
  }
  WqControlInjectPhysicalKey(window, D_DIK_CAPITAL, true);
  EXPECT_EQ(CheckAnyInput(1), 0);
  // The keyboard hook's key counts even with nothing else down.
  SetHookKeyFlag(0, 1);
  EXPECT_EQ(CheckAnyInput(1), D_DIK_F10);
  EXPECT_EQ(CheckAnyInput(2), 0);
  SetHookKeyFlag(0, 0);
}

TEST_F(InputAnyKeyTest, AMouseClickInTheClientAreaIsInput) {
  const HWND window = GetMainWindow();
  WqControlInjectMouse(window, 20, 20, MK_RBUTTON, 0);
  PumpMessages();
  EXPECT_EQ(GetMouseButtons(), 2);
  EXPECT_EQ(CheckAnyInput(4), -1);
  EXPECT_EQ(CheckAnyInput(3), 0);
  WqControlInjectMouse(window, 20, 20, 0, 0);
  EXPECT_EQ(CheckAnyInput(4), 0);
}

}  // namespace
