#include <gtest/gtest.h>

#include "platform/control.h"
#include "platform/windows.h"
#include "window_test_support.h"

namespace {

class MessageTimerTest : public testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    window_ = window_class_.Create(WS_POPUP);
  }
  void TearDown() override { WqControlEnableVirtualClock(false); }

  bool PeekTimer(MSG* msg) { return PeekMessageA(msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE); }

  wqtest::RecordingWindowClass window_class_;
  HWND window_ = nullptr;
};

TEST_F(MessageTimerTest, ATimerFiresOncePerElapsedPeriodOnTheVirtualClock) {
  ASSERT_EQ(SetTimer(window_, 5, 100, nullptr), 5u);
  MSG msg;
  WqControlAdvanceVirtualClock(99'000);
  EXPECT_FALSE(PeekTimer(&msg));
  WqControlAdvanceVirtualClock(1'000);
  ASSERT_TRUE(PeekTimer(&msg));
  EXPECT_EQ(msg.hwnd, window_);
  EXPECT_EQ(msg.wParam, 5u);
  EXPECT_EQ(msg.lParam, 0);
  // Taken: due again one period later, not at once.
  EXPECT_FALSE(PeekTimer(&msg));
  WqControlAdvanceVirtualClock(100'000);
  EXPECT_TRUE(PeekTimer(&msg));

  EXPECT_TRUE(KillTimer(window_, 5));
  WqControlAdvanceVirtualClock(500'000);
  EXPECT_FALSE(PeekTimer(&msg));
  EXPECT_FALSE(KillTimer(window_, 5));
}

TEST_F(MessageTimerTest, NoRemoveDoesNotRestartTheTimerAndPostedMessagesComeFirst) {
  SetTimer(window_, 1, 50, nullptr);
  WqControlAdvanceVirtualClock(50'000);
  PostMessageA(window_, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_TRUE(PeekTimer(&msg));
}

int timer_procedure_calls = 0;
UINT_PTR timer_procedure_id = 0;
void CountingTimerProcedure(HWND, UINT message, UINT_PTR id, DWORD) {
  if (message == WM_TIMER) ++timer_procedure_calls;
  timer_procedure_id = id;
}

TEST_F(MessageTimerTest, DispatchCallsTheTimerProcedureInsteadOfTheWindow) {
  // 32767 with a 32 ms period: the front-screen refresh timer's shape.
  SetTimer(window_, 32767, 32, &CountingTimerProcedure);
  WqControlAdvanceVirtualClock(32'000);
  window_class_.Clear();
  wqtest::DispatchQueued();
  EXPECT_EQ(timer_procedure_calls, 1);
  EXPECT_EQ(timer_procedure_id, 32767u);
  EXPECT_TRUE(window_class_.MessageIds({WM_TIMER}).empty());
}

TEST_F(MessageTimerTest, GetMessageWaitsForTheNextTimerByMovingTheVirtualClock) {
  SetTimer(window_, 2, 250, nullptr);
  std::uint64_t before = WqControlGetVirtualClockUs();
  MSG msg;
  ASSERT_EQ(GetMessageA(&msg, nullptr, WM_TIMER, WM_TIMER), TRUE);
  EXPECT_EQ(msg.wParam, 2u);
  std::uint64_t waited = WqControlGetVirtualClockUs() - before;
  EXPECT_GE(waited, 250'000u);
  EXPECT_LT(waited, 260'000u);
}

TEST_F(MessageTimerTest, ShortPeriodsAreRaisedToTheMinimumAndThreadTimersGetTheirOwnIds) {
  SetTimer(window_, 9, 1, nullptr);
  MSG msg;
  WqControlAdvanceVirtualClock(9'000);
  EXPECT_FALSE(PeekTimer(&msg));
  WqControlAdvanceVirtualClock(1'000);
  EXPECT_TRUE(PeekTimer(&msg));
  KillTimer(window_, 9);

  UINT_PTR first = SetTimer(nullptr, 77, 20, nullptr);
  UINT_PTR second = SetTimer(nullptr, 77, 20, nullptr);
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, second);
  WqControlAdvanceVirtualClock(20'000);
  ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_TRUE(KillTimer(nullptr, first));
  EXPECT_TRUE(KillTimer(nullptr, second));
}

TEST_F(MessageTimerTest, DestroyingTheWindowRemovesItsTimers) {
  SetTimer(window_, 3, 10, nullptr);
  DestroyWindow(window_);
  WqControlAdvanceVirtualClock(100'000);
  MSG msg;
  EXPECT_FALSE(PeekTimer(&msg));
}

}  // namespace
