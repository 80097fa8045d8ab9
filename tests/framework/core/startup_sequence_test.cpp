#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "WqLib.h"
#include "core/startup/api_lock.h"
#include "platform/windows.h"
#include "core/startup/runtime_libraries.h"
#include "startup_test_support.h"
#include "core/window/window_system_state.h"

namespace {

using wqtest::ExpectInOrder;

class StartupSequenceTest : public wqtest::LibraryTest {};

TEST_F(StartupSequenceTest, StartPumpEndLeavesTheReportAndWindowLinesAndAnEmptyDump) {
  ASSERT_EQ(StartLibrary(), 0);
  HWND window = GetMainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FindWindowA("WqLib", nullptr), window);
  char text[32] = "";
  GetWindowTextA(window, text, sizeof(text));
  EXPECT_STREQ(text, "WqLib");
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  EXPECT_TRUE(IsWindowActive());

  for (int frame = 0; frame < 120; ++frame) ASSERT_EQ(PumpMessages(), 0) << "frame " << frame;
  EXPECT_EQ(EndLibrary(), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(FindWindowA("WqLib", nullptr), nullptr);

  const std::string log = ReadLog();
  ExpectInOrder(log, {"システムの情報を出力します", "ＷＱライブラリ Ver3.05", "論理プロセッサの数 : ",
                      "ＯＳ  Windows7", "ＣＯＭの初期化... 成功しました", "メモリ総量:",
                      "タイマーの精度を検査します", "精度結果 更新回数 マルチメディアタイマー：",
                      "ソフトの二重起動検査... 二重起動はされていませんでした",
                      "ウインドウクラスを登録します... 登録に成功しました",
                      "ウインドウモード起動用のウインドウを作成します", "ウインドウの作成に成功しました",
                      "ＩＭＥを無効にしました", "ウインドウを閉じようとしています",
                      "ウインドウが破棄されようとしています", "ソフトを終了する準備が整いました",
                      "ＣＯＭを終了... 完了", "Alloc memory dump"});
  const std::size_t lastLine = log.rfind("Alloc num:");
  ASSERT_NE(lastLine, std::string::npos);
  // Nothing but the dump's closing empty line follows the totals.
  EXPECT_TRUE(std::regex_match(log.substr(lastLine), std::regex("Alloc num:0\r\n([0-9]+:)?\r\n")))
      << log.substr(lastLine);
}

TEST_F(StartupSequenceTest, StartsAgainAfterEndingInTheSameProcess) {
  ASSERT_EQ(StartLibrary(), 0);
  ASSERT_EQ(PumpMessages(), 0);
  ASSERT_EQ(EndLibrary(), 0);
  EXPECT_FALSE(IsApiLockCreated());

  ASSERT_EQ(StartLibrary(), 0);
  EXPECT_NE(GetMainWindow(), nullptr);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(EndLibrary(), 0);
  EXPECT_NE(ReadLog().find("Alloc num:0"), std::string::npos);
}

TEST_F(StartupSequenceTest, SecondStartIsANoOpAndEndBeforeStartTouchesNothing) {
  EXPECT_EQ(EndLibrary(), 0);
  EXPECT_FALSE(IsApiLockCreated());
  ASSERT_EQ(StartLibrary(), 0);
  HWND window = GetMainWindow();
  EXPECT_EQ(StartLibrary(), 0);
  EXPECT_EQ(GetMainWindow(), window);
}

// A class of the framework's own name, registered by someone else.
ATOM RegisterFrameworkClassWith(WNDPROC procedure) {
  WNDCLASSEXA other{};
  other.cbSize = sizeof(other);
  other.lpfnWndProc = procedure;
  other.lpszClassName = "WqLib";
  return RegisterClassExA(&other);
}

void ExpectAFullStartAndEnd() {
  ASSERT_EQ(StartLibrary(), 0);
  EXPECT_NE(GetMainWindow(), nullptr);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(EndLibrary(), 0);
}

// Another window of the framework's class makes start-up refuse; nothing of
// the refused start may linger, so a start after that window is gone works.
TEST_F(StartupSequenceTest, RefusedStartLeavesNothingBehindAndTheNextStartSucceeds) {
  ASSERT_NE(RegisterFrameworkClassWith(DefWindowProcA), 0);
  HWND blocker = CreateWindowExA(0, "WqLib", "blocker", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(blocker, nullptr);

  EXPECT_EQ(StartLibrary(), -1);
  EXPECT_NE(ReadLog().find("二重起動されています、ソフトを終了します"), std::string::npos);
  EXPECT_EQ(GetMainWindow(), nullptr);
  EXPECT_EQ(PumpMessages(), -1);

  DestroyWindow(blocker);
  ASSERT_TRUE(UnregisterClassA("WqLib", nullptr));
  ExpectAFullStartAndEnd();
}

// A class of the framework's name whose windows refuse creation makes the
// window step fail after COM and the run-time libraries were started: the
// failed start ends all of it, as EndLibrary would, and the next start works.
LRESULT RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return message == WM_CREATE ? -1 : DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(StartupSequenceTest, AStartFailingAtTheWindowEndsWhatItStartedAndTheNextStartSucceeds) {
  ASSERT_NE(RegisterFrameworkClassWith(RefuseCreation), 0);

  EXPECT_EQ(StartLibrary(), -1);
  EXPECT_EQ(GetMainWindow(), nullptr);
  EXPECT_EQ(FindRuntimeEntry(kRuntimeOle32, "CoInitialize"), nullptr);
  ExpectInOrder(ReadLog(), {"ＣＯＭの初期化... 成功しました", "ウインドウの作成に失敗しました",
                            "ＣＯＭを終了... 完了", "Alloc num:0"});

  UnregisterClassA("WqLib", nullptr);
  ExpectAFullStartAndEnd();
}

TEST_F(StartupSequenceTest, WindowModeBeforeStartOnlyRecordsTheChoice) {
  EXPECT_EQ(ChangeWindowMode(1), 0);
  EXPECT_EQ(ChangeWindowMode(0), 0);
  EXPECT_FALSE(IsWindowMode());
  EXPECT_EQ(GetMainWindow(), nullptr);
  EXPECT_EQ(ChangeWindowMode(1), 0);
  EXPECT_TRUE(IsWindowMode());
}

}  // namespace
