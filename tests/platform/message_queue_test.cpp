#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/windows.h"
#include "support/wait_until.h"
#include "window_test_support.h"

namespace {

using wqtest::RecordingWindowClass;

class MessageQueueTest : public testing::Test {
 protected:
  void SetUp() override { window_ = window_class_.Create(WS_POPUP); }

  RecordingWindowClass window_class_;
  HWND window_ = nullptr;
};

TEST_F(MessageQueueTest, PostedMessagesComeInOrderAndQuitOnlyAfterThem) {
  PostMessageA(window_, WM_USER + 1, 1, 10);
  PostQuitMessage(7);
  PostMessageA(window_, WM_USER + 2, 2, 20);
  PostMessageA(nullptr, WM_USER + 3, 3, 30);  // a thread message

  std::vector<MSG> taken = wqtest::DispatchQueued();
  ASSERT_EQ(taken.size(), 4u);
  EXPECT_EQ(taken[0].message, WM_USER + 1);
  EXPECT_EQ(taken[0].hwnd, window_);
  EXPECT_EQ(taken[0].lParam, 10);
  EXPECT_EQ(taken[1].message, WM_USER + 2);
  EXPECT_EQ(taken[2].message, WM_USER + 3);
  EXPECT_EQ(taken[2].hwnd, nullptr);
  EXPECT_EQ(taken[3].message, WM_QUIT);
  EXPECT_EQ(taken[3].wParam, 7u);
  // Dispatch reached the window procedure for the window's messages only.
  EXPECT_EQ(window_class_.MessageIds({WM_USER + 1, WM_USER + 2, WM_USER + 3}),
            (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, NoRemoveLeavesTheMessageAndFiltersSelect) {
  PostMessageA(window_, WM_USER + 1, 0, 0);
  PostMessageA(window_, WM_USER + 5, 0, 0);
  PostMessageA(nullptr, WM_USER + 9, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 4, WM_USER + 6, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 5);
  // (HWND)-1 takes thread messages only; a window filter only the window's.
  ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 9);
  ASSERT_TRUE(PeekMessageA(&msg, window_, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1);
  EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(0x12345), 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, QuitIsNotTakenThroughAWindowFilterAndGetMessageReportsIt) {
  PostQuitMessage(3);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, window_, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(GetMessageA(&msg, reinterpret_cast<HWND>(0x12345), 0, 0), -1);
}

// The message comes once the reader is seen blocked in GetMessageA, so it
// wakes a wait rather than lie ready beforehand.
TEST_F(MessageQueueTest, AMessagePostedFromAnotherThreadWakesGetMessage) {
  const pid_t reader = wqtest::CurrentThreadId();
  std::atomic<bool> seen_blocked{false};
  std::thread poster([&] {
    seen_blocked = wqtest::WaitUntil([&] { return wqtest::ThreadIsBlocked(reader); });
    PostMessageA(window_, WM_USER + 4, 44, 0);
  });
  MSG msg;
  ASSERT_EQ(GetMessageA(&msg, nullptr, WM_USER, WM_USER + 10), TRUE);
  EXPECT_EQ(msg.message, WM_USER + 4);
  EXPECT_EQ(msg.wParam, 44u);
  poster.join();
  EXPECT_TRUE(seen_blocked) << "GetMessageA never waited";
}

TEST_F(MessageQueueTest, SendCallsTheProcedureOnlyFromTheWindowsThread) {
  window_class_.Clear();
  SendMessageA(window_, WM_USER + 7, 0, 0);
  EXPECT_EQ(window_class_.MessageIds(), std::vector<UINT>{WM_USER + 7});

  LRESULT result = 1;
  std::thread([&] { result = SendMessageA(window_, WM_USER + 8, 0, 0); }).join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(window_class_.MessageIds(), std::vector<UINT>{WM_USER + 7});
}

TEST_F(MessageQueueTest, PaintComesAfterPostedMessagesAndStaysUntilValidated) {
  ShowWindow(window_, SW_SHOWNA);
  wqtest::DispatchQueued();
  InvalidateRect(window_, nullptr, FALSE);
  PostMessageA(window_, WM_USER + 1, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_PAINT);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_PAINT);
  PAINTSTRUCT paint;
  BeginPaint(window_, &paint);
  EXPECT_EQ(paint.rcPaint.right, 320);
  EXPECT_TRUE(EndPaint(window_, &paint));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
}

TEST_F(MessageQueueTest, AcceleratorsAndDialogsHandleNothing) {
  MSG msg{window_, WM_KEYDOWN, 'A', 0, 0, {}};
  EXPECT_EQ(TranslateAcceleratorA(window_, nullptr, &msg), 0);
  EXPECT_FALSE(IsDialogMessageA(window_, &msg));
}

}  // namespace
