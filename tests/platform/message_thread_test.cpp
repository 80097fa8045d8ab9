#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/control.h"
#include "platform/windows.h"

namespace {

TEST(ThreadMessageTest, PostThreadMessageReachesAThreadWithAQueueOnly) {
  std::atomic<DWORD> worker_id{0};
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  MSG received{};
  std::thread worker([&] {
    MSG peeked;
    PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
    worker_id = GetCurrentThreadId();
    SetEvent(ready);
    GetMessageA(&received, nullptr, 0, 0);
  });
  ASSERT_EQ(WaitForSingleObject(ready, 20'000), WAIT_OBJECT_0);
  EXPECT_TRUE(PostThreadMessageA(worker_id, WM_USER + 5, 6, 7));
  worker.join();
  EXPECT_EQ(received.message, WM_USER + 5);
  EXPECT_EQ(received.hwnd, nullptr);
  EXPECT_EQ(received.wParam, 6u);
  EXPECT_EQ(received.lParam, 7);

  // A thread id that never read messages (no such thread here) has no queue.
  EXPECT_FALSE(PostThreadMessageA(0x7FFFFFF0, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
  CloseHandle(ready);
}

TEST(ThreadMessageTest, RegisteredMessagesShareANumberPerNameInTheirRange) {
  const UINT first = RegisterWindowMessageA("WqTestUnblock");
  EXPECT_GE(first, 0xC000u);
  EXPECT_LE(first, 0xFFFFu);
  EXPECT_EQ(RegisterWindowMessageA("wqtestunblock"), first);
  const UINT other = RegisterWindowMessageA("WqTestOther");
  EXPECT_NE(other, first);
  EXPECT_GE(other, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
  EXPECT_EQ(RegisterWindowMessageA(nullptr), 0u);
}

TEST(ThreadMessageTest, MsgWaitEndsOnAnObjectOrOnAMessageOfTheMask) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), WAIT_TIMEOUT);
  SetEvent(event);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0);

  // A message posted by another thread ends a wait that is already waiting.
  const DWORD self = GetCurrentThreadId();
  MSG peeked;
  PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE);
  std::thread poster([&] { PostThreadMessageA(self, WM_USER + 1, 0, 0); });
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 20'000, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
  poster.join();
  // A mask without posted messages ignores it; an object still counts.
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_TIMER), WAIT_TIMEOUT);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_POSTMESSAGE), WAIT_OBJECT_0);
  // Waiting for all: the objects and a message together.
  SetEvent(event);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, TRUE, 0, QS_TIMER), WAIT_TIMEOUT);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, TRUE, 0, QS_POSTMESSAGE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);  // taken by the wait
  ASSERT_TRUE(PeekMessageA(&peeked, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_POSTMESSAGE), WAIT_TIMEOUT);
  SetEvent(event);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, TRUE, 0, QS_POSTMESSAGE), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST(ThreadMessageTest, MsgWaitEndsWhenAThreadTimerFallsDueOnTheVirtualClock) {
  WqControlEnableVirtualClock(true);
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, nullptr);
  const DWORD start = GetTickCount();
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1'000, QS_TIMER), WAIT_OBJECT_0);
  const DWORD waited = GetTickCount() - start;
  EXPECT_GE(waited, 50u);
  EXPECT_LT(waited, 1'000u);
  // Timed out with nothing due: the whole time passes on the virtual clock.
  KillTimer(nullptr, timer);
  const DWORD before = GetTickCount();
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 300, QS_TIMER), WAIT_TIMEOUT);
  EXPECT_GE(GetTickCount() - before, 300u);
}

}  // namespace
