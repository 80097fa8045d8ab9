#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "WqLib.h"
#include "core/window/cursor_services.h"
#include "platform/control_window.h"
#include "platform/windows.h"
#include "startup_test_support.h"
#include "core/window/window_system_state.h"

namespace {

class WindowServicesTest : public wqtest::StartedLibraryTest {};

TEST_F(WindowServicesTest, HidingTheMouseTwiceHidesTheCursorOnce) {
  EXPECT_EQ(SetMouseVisible(0), 0);
  EXPECT_EQ(SetMouseVisible(0), 0);
  // One step back up shows it again: it was driven just below zero.
  EXPECT_EQ(ShowCursor(TRUE), 0);
  ShowCursor(FALSE);
  EXPECT_EQ(SetMouseVisible(1), 0);
  EXPECT_EQ(ShowCursor(FALSE), -1);
  ShowCursor(TRUE);
}

TEST_F(WindowServicesTest, ClicksAreLoggedInScreenImageCoordinatesUpToThirtyTwo) {
  HWND window = GetMainWindow();
  for (int click = 0; click < 33; ++click) {
    WqControlInjectMouse(window, 100 + click, 50, MK_LBUTTON, 0);
    WqControlInjectMouse(window, 100 + click, 50, 0, 0);
    for (int frame = 0; frame < 3; ++frame) PumpMessages();
  }
  ASSERT_EQ(GetMouseClickCount(), kMaxLoggedClicks);
  const MouseClick* first = GetMouseClick(0);
  EXPECT_EQ(first->button, 1);
  EXPECT_EQ(first->x, 100);
  EXPECT_EQ(first->y, 50);
  int x = 0;
  int y = 0;
  EXPECT_EQ(GetMousePosition(&x, &y), 0);
  EXPECT_EQ(x, 132);
  EXPECT_EQ(y, 50);
}

// Dragging the right edge to a client width of 960 scales a 640 x 480 screen
// by 1.5, and the mouse then reads in screen-image pixels.
TEST_F(WindowServicesTest, SizingKeepsTheAspectRatioAndScalesTheMousePosition) {
  HWND window = GetMainWindow();
  RECT frame{};
  GetWindowRect(window, &frame);
  RECT client{};
  GetClientRect(window, &client);
  const int frameWidth = (frame.right - frame.left) - client.right;
  const int frameHeight = (frame.bottom - frame.top) - client.bottom;
  RECT dragged{0, 0, 960 + frameWidth, 300};
  SendMessageA(window, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&dragged));
  EXPECT_EQ(dragged.bottom, 720 + frameHeight);
  double scaleY = 0.0;
  EXPECT_DOUBLE_EQ(GetWindowScale(nullptr, &scaleY), 1.5);
  EXPECT_DOUBLE_EQ(scaleY, 1.5);

  WqControlInjectMouse(window, 150, 90, 0, 0);
  PumpMessages();
  int x = 0;
  int y = 0;
  GetMousePosition(&x, &y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 60);
}

TEST_F(WindowServicesTest, ClipboardTextRoundTrips) {
  const char text[] = "abc 日本語";
  ASSERT_EQ(WriteClipboardText(text), 0);
  const int size = ReadClipboardText(nullptr);
  ASSERT_GE(size, static_cast<int>(sizeof(text)));
  std::string buffer(size, '\x7F');
  ASSERT_EQ(ReadClipboardText(buffer.data()), 0);
  EXPECT_STREQ(buffer.c_str(), text);
}

TEST_F(WindowServicesTest, ClipboardHeldByAnotherThreadFailsBothWays) {
  HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    OpenClipboard(nullptr);
    SetEvent(opened);
    WaitForSingleObject(release, INFINITE);
    CloseClipboard();
  });
  WaitForSingleObject(opened, INFINITE);
  EXPECT_EQ(WriteClipboardText("abc"), -1);
  EXPECT_EQ(ReadClipboardText(nullptr), -1);
  SetEvent(release);
  holder.join();
  EXPECT_EQ(WriteClipboardText("abc"), 0);
  CloseHandle(opened);
  CloseHandle(release);
}

}  // namespace
