#include <gtest/gtest.h>

#include "platform/control.h"
#include "platform/windows.h"
#include "window_test_support.h"

namespace {

TEST(CursorDisplayTest, ShowCursorKeepsADisplayCounter) {
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(ShowCursor(FALSE), -2);
  EXPECT_EQ(ShowCursor(TRUE), -1);
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_EQ(ShowCursor(TRUE), 1);
  EXPECT_EQ(ShowCursor(FALSE), 0);
}

TEST(CursorDisplayTest, OnlySystemCursorsAndIconsLoadAndSetCursorReturnsThePrevious) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
  EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
  // The program has no resources of its own.
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(32512)), nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);

  EXPECT_EQ(SetCursor(nullptr), arrow);  // the arrow is the initial cursor
  EXPECT_EQ(SetCursor(arrow), nullptr);
}

TEST(CursorDisplayTest, TheClipRectangleHoldsThePointer) {
  wqtest::RecordingWindowClass window_class;
  HWND window = window_class.Create(WS_POPUP, 0, 320, 240);
  ShowWindow(window, SW_SHOW);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  RECT clip{origin.x + 10, origin.y + 10, origin.x + 110, origin.y + 60};
  ASSERT_TRUE(ClipCursor(&clip));

  WqControlInjectMouse(window, 300, 5, 0, 0);
  std::vector<MSG> taken = wqtest::DispatchQueued();
  POINT cursor;
  GetCursorPos(&cursor);
  // Right and bottom edges lie outside the rectangle.
  EXPECT_EQ(cursor.x, clip.right - 1);
  EXPECT_EQ(cursor.y, clip.top);
  // The window sees the clipped position, in client coordinates.
  auto move = std::find_if(taken.begin(), taken.end(),
                           [](const MSG& msg) { return msg.message == WM_MOUSEMOVE; });
  ASSERT_NE(move, taken.end());
  EXPECT_EQ(move->lParam, MAKELONG(109, 10));

  ClipCursor(nullptr);
  WqControlInjectMouse(window, 300, 5, 0, 0);
  WqControlInjectMouse(window, 301, 5, 0, 0);
  wqtest::DispatchQueued();
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, origin.x + 301);
}

TEST(CursorDisplayTest, MetricsAndParametersAsTheFrameworkReadsThem) {
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
  EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 22);
  EXPECT_EQ(GetSystemMetrics(12345), 0);

  DWORD timeout = 0;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0));
  EXPECT_EQ(timeout, 200000u);
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE));
  SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
  EXPECT_EQ(timeout, 0u);

  BOOL active = FALSE;
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, SPIF_SENDCHANGE));
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  EXPECT_FALSE(active);
  EXPECT_FALSE(SystemParametersInfoA(97, TRUE, nullptr, 0));
}

}  // namespace
