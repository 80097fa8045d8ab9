#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "WqLib.h"
#include "platform/control_window.h"
#include "platform/windows.h"
#include "startup_test_support.h"
#include "support/child_process.h"
#include "core/window/window_system_state.h"

namespace {

constexpr char kChildLogSwitch[] = "WQ_TEST_SECOND_INSTANCE_LOG";

class WindowCloseTest : public wqtest::LibraryTest {};

TEST_F(WindowCloseTest, ClosingTheWindowQuitsThePumpForGoodAndEndIsClean) {
  ASSERT_EQ(StartLibrary(), 0);
  ASSERT_EQ(PumpMessages(), 0);
  HWND window = GetMainWindow();
  WqControlCloseWindow(window);

  int frames = 0;
  while (PumpMessages() == 0) ASSERT_LT(++frames, 100) << "the close never arrived";
  for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(PumpMessages(), -1);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(GetQuitFlag());

  EXPECT_EQ(EndLibrary(), 0);
  const std::string log = ReadLog();
  wqtest::ExpectInOrder(log, {"ウインドウを閉じようとしています", "ウインドウが破棄されようとしています",
                              "ソフトを終了する準備が整いました", "Alloc num:0"});
  EXPECT_EQ(log.find("ウインドウを閉じようとしています", log.find("ウインドウを閉じようとしています") + 1),
            std::string::npos);
}

TEST_F(WindowCloseTest, WaitAnyKeyReturnsZeroWhenTheProgramQuits) {
  ASSERT_EQ(StartLibrary(), 0);
  WqControlCloseWindow(GetMainWindow());
  EXPECT_EQ(WaitAnyKey(), 0);
  EXPECT_TRUE(GetQuitFlag());
}

// The end's own close destroys the window, which posts the quit message;
// the pump may stop at the quit flag before taking that message out. A few
// messages queued beforehand move the close to each place in the pump's
// batch, so one of the ends stops there. A start after the end must not
// take the old quit message for its own.
TEST_F(WindowCloseTest, AStartAfterAnEndIsNotQuitByTheOldWindowsQuitMessage) {
  for (int queued = 0; queued < 6; ++queued) {
    SCOPED_TRACE(queued);
    ASSERT_EQ(StartLibrary(), 0);
    ASSERT_EQ(PumpMessages(), 0);
    for (int message = 0; message < queued; ++message) {
      ASSERT_TRUE(PostMessageA(GetMainWindow(), WM_USER, 0, 0));
    }
    ASSERT_EQ(EndLibrary(), 0);
  }
  ASSERT_EQ(StartLibrary(), 0);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_FALSE(GetQuitFlag());
}

// Run by the test below in a process of its own while its parent holds the
// framework's window: start-up must refuse.
WQ_CHILD_PROCESS(SecondInstance) {
  const char* logFolder = std::getenv(kChildLogSwitch);
  if (logFolder == nullptr) return 2;
  SetLogFolder(logFolder);
  ChangeWindowMode(1);
  const bool refused = StartLibrary() == -1 && GetMainWindow() == nullptr;
  return refused ? 0 : 1;
}

TEST_F(WindowCloseTest, ASecondProcessIsRefused) {
  ASSERT_EQ(StartLibrary(), 0);
  wqtest::TempDir childFolder;
  const int status = wqtest::RunChildProcess(
      "SecondInstance",
      {"WQ_LOCK_DIR=" + folder().path().string(), std::string(kChildLogSwitch) + "=" + childFolder.WindowsPath(),
       "WQ_VIRTUAL_CLOCK=1"});
  EXPECT_EQ(status, 0);
  EXPECT_NE(childFolder.ReadFile("Log.txt").find("二重起動されています、ソフトを終了します"), std::string::npos);
  EXPECT_EQ(PumpMessages(), 0);
}

}  // namespace
