#include <gtest/gtest.h>

#include "platform/windows.h"
#include "window_test_support.h"

namespace {

using wqtest::RecordingWindowClass;

TEST(WindowLifecycleTest, CreateShowDestroySendTheirMessagesInWindowsOrder) {
  RecordingWindowClass window_class;
  HWND window = window_class.Create();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window_class.MessageIds(),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}));
  EXPECT_FALSE(IsWindowVisible(window));

  window_class.Clear();
  EXPECT_FALSE(ShowWindow(window, SW_SHOW));
  EXPECT_EQ(window_class.MessageIds(),
            (std::vector<UINT>{WM_SHOWWINDOW, WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS}));
  EXPECT_EQ(window_class.messages()[1].wparam, WPARAM{TRUE});
  EXPECT_EQ(LOWORD(window_class.messages()[2].wparam), WA_ACTIVE);
  EXPECT_EQ(GetActiveWindow(), window);
  EXPECT_EQ(GetForegroundWindow(), window);

  // Showing invalidated the window: UpdateWindow paints at once, and the
  // default painting validates it. (The window system's own expose may
  // invalidate it again; painting that validates it too.)
  window_class.Clear();
  UpdateWindow(window);
  EXPECT_EQ(window_class.MessageIds({WM_PAINT, WM_ERASEBKGND}),
            (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  wqtest::DispatchQueued();
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));

  window_class.Clear();
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(window_class.MessageIds(), (std::vector<UINT>{WM_ACTIVATE, WM_ACTIVATEAPP,
                                                          WM_KILLFOCUS, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_EQ(LOWORD(window_class.messages()[0].wparam), WA_INACTIVE);
  EXPECT_EQ(window_class.messages()[1].wparam, WPARAM{FALSE});
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_FALSE(DestroyWindow(window));
}

LRESULT RefusingProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) return -1;
  return DefWindowProcA(window, message, wparam, lparam);
}

TEST(WindowLifecycleTest, CreationFailsWhenCreateIsRefusedOrTheClassIsUnknown) {
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &RefusingProcedure;
  window_class.lpszClassName = "WqRefusingWindow";
  ASSERT_NE(RegisterClassExA(&window_class), 0);
  EXPECT_EQ(RegisterClassExA(&window_class), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

  EXPECT_EQ(CreateWindowExA(0, "wqrefusingwindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
  EXPECT_EQ(FindWindowA("WqRefusingWindow", nullptr), nullptr);
  // The refused window is gone, so the class can go too.
  EXPECT_TRUE(UnregisterClassA("WqRefusingWindow", nullptr));
  EXPECT_EQ(CreateWindowExA(0, "WqRefusingWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
}

TEST(WindowLifecycleTest, AClassWithWindowsCannotBeUnregistered) {
  RecordingWindowClass window_class("WqBusyClass");
  HWND window = window_class.Create();
  EXPECT_FALSE(UnregisterClassA("WqBusyClass", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
  DestroyWindow(window);
  EXPECT_TRUE(UnregisterClassA("WqBusyClass", nullptr));
}

struct FrameCase {
  DWORD style;
  DWORD ex_style;
  RECT expected_window;  // for a 640 x 480 client area at (0, 0)
};

class WindowFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(WindowFrameTest, WindowAndClientRectanglesAgreeWithAdjustWindowRectEx) {
  const FrameCase& frame = GetParam();
  RECT adjusted{0, 0, 640, 480};
  ASSERT_TRUE(AdjustWindowRectEx(&adjusted, frame.style, FALSE, frame.ex_style));
  EXPECT_EQ(adjusted.left, frame.expected_window.left);
  EXPECT_EQ(adjusted.top, frame.expected_window.top);
  EXPECT_EQ(adjusted.right, frame.expected_window.right);
  EXPECT_EQ(adjusted.bottom, frame.expected_window.bottom);

  RecordingWindowClass window_class;
  HWND window = window_class.Create(frame.style, frame.ex_style, 640, 480);
  RECT client;
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  RECT window_rect;
  GetWindowRect(window, &window_rect);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  EXPECT_EQ(origin.x - window_rect.left, -frame.expected_window.left);
  EXPECT_EQ(origin.y - window_rect.top, -frame.expected_window.top);
  ScreenToClient(window, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, WindowFrameTest,
    testing::Values(
        // Sizing frame 4 and caption 22.
        FrameCase{WS_OVERLAPPEDWINDOW, 0, RECT{-4, -26, 644, 484}},
        FrameCase{WS_POPUP, 0, RECT{0, 0, 640, 480}},
        FrameCase{WS_POPUP, WS_EX_TOPMOST, RECT{0, 0, 640, 480}},
        // Popup with caption, system menu and minimise box, window and
        // client edges: fixed frame 3, client edge 2, caption 22.
        FrameCase{0x80CA0000u, 0x300u, RECT{-5, -27, 645, 485}},
        FrameCase{WS_POPUP | WS_BORDER, 0, RECT{-1, -1, 641, 481}}));

TEST(WindowLifecycleTest, MovingAndResizingSendMoveAndSizeForWhatChanged) {
  RecordingWindowClass window_class;
  HWND window = window_class.Create(WS_POPUP, 0, 200, 100);
  window_class.Clear();
  MoveWindow(window, 10, 20, 200, 100, TRUE);
  ASSERT_EQ(window_class.MessageIds(), std::vector<UINT>{WM_MOVE});
  EXPECT_EQ(window_class.messages()[0].lparam, MAKELONG(10, 20));

  window_class.Clear();
  SetWindowPos(window, nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(window_class.MessageIds(), std::vector<UINT>{WM_SIZE});
  EXPECT_EQ(window_class.messages()[0].lparam, MAKELONG(300, 150));
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.bottom, 170);

  // A move to negative coordinates packs them as signed words.
  window_class.Clear();
  MoveWindow(window, -30, -40, 300, 150, TRUE);
  EXPECT_EQ(static_cast<SHORT>(LOWORD(window_class.messages()[0].lparam)), -30);
  EXPECT_EQ(static_cast<SHORT>(HIWORD(window_class.messages()[0].lparam)), -40);
}

TEST(WindowLifecycleTest, WindowLongsHoldStylesAndPointerSizedUserData) {
  RecordingWindowClass window_class;
  HWND window = window_class.Create(WS_POPUP, WS_EX_TOPMOST);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), WS_POPUP);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)), WS_EX_TOPMOST);
  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), WS_POPUP | WS_VISIBLE);

  // Giving the popup a caption keeps the window rectangle and shrinks the
  // client area by the new frame.
  SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_CAPTION | WS_VISIBLE));
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 320 - 2 * 3);
  EXPECT_EQ(client.bottom, 240 - 2 * 3 - 22);
  EXPECT_TRUE(IsWindowVisible(window));

  int anchor = 0;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&anchor));
  EXPECT_EQ(reinterpret_cast<int*>(GetWindowLongPtrA(window, GWLP_USERDATA)), &anchor);
}

TEST(WindowLifecycleTest, WindowTextRoundTripsAndIsTruncatedToTheBuffer) {
  RecordingWindowClass window_class;
  HWND window = window_class.Create();
  ASSERT_TRUE(SetWindowTextA(window, "ＷＱ窓"));
  char text[64];
  EXPECT_EQ(GetWindowTextA(window, text, sizeof text), 6);
  EXPECT_STREQ(text, "ＷＱ窓");
  EXPECT_EQ(GetWindowTextA(window, text, 3), 2);
  EXPECT_EQ(std::string(text), std::string("ＷＱ窓").substr(0, 2));
}

TEST(WindowLifecycleTest, DefaultCloseHandlingDestroysTheWindow) {
  RecordingWindowClass window_class;
  HWND window = window_class.Create();
  window_class.Clear();
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(window_class.MessageIds({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
            (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
