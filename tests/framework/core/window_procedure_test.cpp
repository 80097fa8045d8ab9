#include <gtest/gtest.h>

#include <string>

#include "WqLib.h"
#include "platform/windows.h"
#include "startup_test_support.h"
#include "core/window/text_input.h"
#include "core/window/window_system_state.h"

namespace {

LPARAM PackSize(int width, int height) { return static_cast<LPARAM>((height << 16) | (width & 0xFFFF)); }

class WindowProcedureTest : public wqtest::StartedLibraryTest {
 protected:
  void SetUp() override {
    wqtest::StartedLibraryTest::SetUp();
    unsigned char drained[2];
    while (TakeInputChar(drained, 1) != 0) {
    }
  }
};

// Typed characters reach the text-input ring: a line feed as a carriage
// return, printable bytes and the editing controls as they are, other
// controls not at all.
TEST_F(WindowProcedureTest, TypedCharactersThatTextInputUsesReachTheRing) {
  const struct {
    WPARAM typed;
    int expected;  // -1: nothing arrives
  } cases[] = {
      {'\n', '\r'}, {'\r', '\r'}, {'a', 'a'},  {' ', ' '},  {0x7F, 0x7F}, {0x01, 0x01}, {0x03, 0x03},
      {0x08, 0x08}, {0x09, 0x09}, {0x10, 0x10}, {0x16, 0x16}, {0x18, 0x18}, {0x1B, 0x1B}, {0x00, -1},
      {0x02, -1},   {0x07, -1},   {0x1A, -1},  {0x1F, -1},
  };
  HWND window = GetMainWindow();
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.typed));
    SendMessageA(window, WM_CHAR, c.typed, 0);
    unsigned char out[2] = {0, 0};
    if (c.expected < 0) {
      EXPECT_EQ(TakeInputChar(out, 1), 0);
    } else {
      ASSERT_EQ(TakeInputChar(out, 1), 1);
      EXPECT_EQ(out[0], c.expected);
    }
  }
}

TEST_F(WindowProcedureTest, ScreenSaverAndMonitorPowerOffAreRefusedAndTheWheelIsCounted) {
  HWND window = GetMainWindow();
  EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 1);
  EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2), 1);

  const int before = WindowSystem().mouseWheel;
  SendMessageA(window, WM_MOUSEWHEEL, static_cast<WPARAM>(120) << 16, 0);
  SendMessageA(window, WM_MOUSEWHEEL, static_cast<WPARAM>(120) << 16, 0);
  SendMessageA(window, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-120)) << 16, 0);
  EXPECT_EQ(WindowSystem().mouseWheel, before + 1);
}

// A desktop change to the screen's own mode is accepted; a change to 24-bit
// colour cannot be lived with: the window closes (asked once, however many
// such changes come) and the program quits through the normal path.
TEST_F(WindowProcedureTest, ADisplayChangeTheScreenCannotFollowClosesTheWindowOnce) {
  HWND window = GetMainWindow();
  int width = 0;
  int height = 0;
  GetDesktopSize(&width, &height, nullptr);

  WindowSystem().displayChanged = 0;
  SendMessageA(window, WM_DISPLAYCHANGE, 24, PackSize(width, height));
  SendMessageA(window, WM_DISPLAYCHANGE, 24, PackSize(width, height));
  EXPECT_EQ(GetWindowCloseRequest(), 1);
  EXPECT_EQ(WindowSystem().displayChanged, 0);

  int frames = 0;
  while (PumpMessages() == 0) ASSERT_LT(++frames, 100) << "the close never arrived";
  EXPECT_FALSE(IsWindow(window));
  const std::string log = ReadLog();
  wqtest::ExpectInOrder(log, {"復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します",
                              "またはスクリーンが小さすぎるためか色ビット数の違いが大きいためか終了します",
                              "ウインドウを閉じようとしています", "ソフトを終了する準備が整いました"});
  const std::string closing = "ウインドウを閉じようとしています";
  EXPECT_EQ(log.find(closing, log.find(closing) + 1), std::string::npos);
}

TEST(WindowScaleTest, FullScreenReadsOneAndScalesAtOrBelowZeroReadAsOne) {
  WindowSystemState& state = WindowSystem();
  const struct {
    int windowMode;
    double storedX, storedY;
    double expectedX, expectedY;
  } cases[] = {
      {1, 2.0, 1.5, 2.0, 1.5}, {0, 2.0, 1.5, 1.0, 1.0}, {1, 0.0, -3.0, 1.0, 1.0}, {1, -1.0, 0.5, 1.0, 0.5},
  };
  for (const auto& c : cases) {
    state.windowMode = c.windowMode;
    state.windowScaleX = c.storedX;
    state.windowScaleY = c.storedY;
    double x = 0.0;
    double y = 0.0;
    EXPECT_DOUBLE_EQ(GetWindowScale(&x, &y), c.expectedX);
    EXPECT_DOUBLE_EQ(x, c.expectedX);
    EXPECT_DOUBLE_EQ(y, c.expectedY);
  }
}

}  // namespace
