// Starting and ending input: DirectInput 7, else 8, else the window
// system's keyboard state and the multimedia joysticks; and the lazy start
// of the queries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "WqLib.h"
#include "core/window/input_devices.h"
#include "core/window/input_state.h"
#include "platform/control.h"
#include "platform/dinput.h"
#include "startup_test_support.h"
#include "core/window/window_system_state.h"

namespace {

class InputStartTest : public wqtest::LibraryTest {};

TEST_F(InputStartTest, EachAvailableDirectInputIsTriedInTurnTable) {
  struct StartCase {
    bool absent7;
    bool absent8;
    InputMode mode;
    int version8;
    std::vector<std::string> log;
  };
  const StartCase cases[] = {
      {false, false, InputMode::kDirectInput, 0,
       {"DirectInput関係初期化処理", "DirectInput7 の取得中... ", "マウスデバイスの初期化... 初期化成功",
        "キーボードデバイスの初期化... 初期化成功", "DirectInput 関連の初期化は正常に終了しました",
        "DirectInput 関連の終了処理... 完了"}},
      {true, false, InputMode::kDirectInput, 1,
       {"DirectInput7 の取得中... 取得に失敗。", "エラーコード 0x80040154",
        "DirectInput8 の取得を試みます...成功", "引き続き初期化処理... 初期化成功",
        "ジョイパッドの初期化... ", "ジョイパッドの初期化は正常に終了しました",
        "DirectInput 関連の初期化は正常に終了しました"}},
      {true, true, InputMode::kWindows, 0,
       {"DirectInput8 の取得を試みます...取得に失敗。", "DirectInput を使用しません。",
        "パッドの数は 0 個です", "入力関連の初期化をしました", "入力関連の終了処理... 完了"}},
  };
  for (const StartCase& test : cases) {
    SCOPED_TRACE(testing::Message() << test.absent7 << test.absent8);
    Input().noDirectInput = 0;
    WqControlSetComClassAbsent(D_CLSID_DirectInput, test.absent7);
    WqControlSetComClassAbsent(D_CLSID_DirectInput8, test.absent8);
    ASSERT_EQ(StartLibrary(), 0);
    EXPECT_EQ(Input().mode, test.mode);
    EXPECT_EQ(Input().directInput8, test.version8);
    EXPECT_EQ(Input().padCount, test.mode == InputMode::kWindows ? kMaxJoypads : 0);
    ASSERT_EQ(EndLibrary(), 0);
    EXPECT_EQ(Input().mode, InputMode::kNotStarted);
    wqtest::ExpectInOrder(ReadLog(), test.log);
  }
}

TEST_F(InputStartTest, APadIsAddedWithItsNames) {
  ASSERT_EQ(WqControlAttachPad("Arcade Stick"), 0);
  ASSERT_EQ(StartLibrary(), 0);
  ASSERT_EQ(Input().padCount, 1);
  EXPECT_STREQ(Input().pads[0].productName, "Arcade Stick");
  EXPECT_EQ(Input().pads[0].addedHalf, 0.5);
  EXPECT_NE(Input().pads[0].constantEffect, nullptr);
  EXPECT_NE(Input().pads[0].sineEffect, nullptr);
  wqtest::ExpectInOrder(ReadLog(), {"入力装置を見つけました", "デバイスの登録名:Arcade Stick",
                                    "デバイスの製品登録名:Arcade Stick",
                                    "ジョイパッドの追加は正常に終了しました"});
}

TEST_F(InputStartTest, AFirstQueryStartsInputWithoutReading) {
  ASSERT_EQ(StartLibrary(), 0);
  ASSERT_EQ(EndInput(), 0);
  WqControlInjectKey(GetMainWindow(), 'A', true);
  char keys[256];
  std::memset(keys, 0x55, sizeof keys);
  EXPECT_EQ(ReadKeyboardState(keys), 0);
  EXPECT_EQ(keys[D_DIK_A], 0x55);
  EXPECT_EQ(Input().mode, InputMode::kDirectInput);
  WqControlAdvanceVirtualClock(1000);
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(ReadKeyboardState(keys), 0);
  EXPECT_EQ(keys[D_DIK_A], 1);
  EXPECT_EQ(keys[D_DIK_B], 0);
}

TEST_F(InputStartTest, TheKeyMapSurvivesARestart) {
  ASSERT_EQ(StartLibrary(), 0);
  JoypadKeys()[0][20][0] = D_DIK_B;
  ASSERT_EQ(EndInput(), 0);
  ASSERT_EQ(StartInput(), 0);
  EXPECT_EQ(JoypadKeys()[0][20][0], D_DIK_B);
  EXPECT_EQ(JoypadKeys()[0][3][1], D_DIK_UP);
}

}  // namespace
