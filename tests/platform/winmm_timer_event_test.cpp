#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "platform/control.h"
#include "platform/mmsystem.h"
#include "platform/windows.h"
#include "support/wait_until.h"

namespace {

struct Record {
  std::atomic<int> calls{0};
  std::atomic<UINT> last_id{0};
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ~Record() { CloseHandle(event); }
};

void Count(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* record = reinterpret_cast<Record*>(user);
  record->last_id = id;
  ++record->calls;
  SetEvent(record->event);
}

// A one-shot event fires once after its delay on the virtual clock; a
// periodic one fires each period until killed.
TEST(TimerEventTest, OneShotFiresOnceAndPeriodicUntilKilled) {
  WqControlEnableVirtualClock(true);
  Record one_shot;
  const UINT id = timeSetEvent(100, 10, Count, reinterpret_cast<DWORD_PTR>(&one_shot), TIME_ONESHOT);
  ASSERT_NE(id, 0u);
  Sleep(99);
  EXPECT_EQ(one_shot.calls, 0);
  Sleep(1);
  ASSERT_EQ(WaitForSingleObject(one_shot.event, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(one_shot.last_id, id);
  Sleep(500);
  EXPECT_EQ(one_shot.calls, 1);
  EXPECT_EQ(timeKillEvent(id), MMSYSERR_INVALPARAM);  // a one-shot that ran is gone

  Record periodic;
  const UINT every = timeSetEvent(20, 1, Count, reinterpret_cast<DWORD_PTR>(&periodic), TIME_PERIODIC);
  ASSERT_NE(every, 0u);
  for (int tick = 1; tick <= 3; ++tick) {
    Sleep(20);
    ASSERT_EQ(WaitForSingleObject(periodic.event, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(periodic.calls, tick);
  }
  EXPECT_EQ(timeKillEvent(every), TIMERR_NOERROR);
  Sleep(200);
  EXPECT_EQ(periodic.calls, 3);
}

TEST(TimerEventTest, AnEventHandleIsSetInsteadOfACallback) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const UINT id = timeSetEvent(5, 1, nullptr, reinterpret_cast<DWORD_PTR>(event),
                               TIME_ONESHOT | TIME_CALLBACK_EVENT_SET);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(WaitForSingleObject(event, 20'000), WAIT_OBJECT_0);
  CloseHandle(event);
}

TEST(TimerEventTest, BadRequestsCreateNoEvent) {
  Record record;
  const DWORD_PTR user = reinterpret_cast<DWORD_PTR>(&record);
  EXPECT_EQ(timeSetEvent(0, 1, Count, user, TIME_ONESHOT), 0u);
  EXPECT_EQ(timeSetEvent(1'000'001, 1, Count, user, TIME_ONESHOT), 0u);
  EXPECT_EQ(timeSetEvent(10, 1, nullptr, 0, TIME_ONESHOT), 0u);
  EXPECT_EQ(timeSetEvent(10, 1, Count, user, 0x8000), 0u);
  EXPECT_EQ(timeKillEvent(0), MMSYSERR_INVALPARAM);
  EXPECT_EQ(record.calls, 0);
}

// Once timeKillEvent returns, a callback that was running has finished.
TEST(TimerEventTest, KillWaitsForARunningCallback) {
  static std::atomic<bool> inside{false};
  static std::atomic<bool> release{false};
  static std::atomic<bool> finished{false};
  auto slow = [](UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    inside = true;
    wqtest::WaitUntil([] { return release.load(); });
    finished = true;
  };
  const UINT id = timeSetEvent(1, 1, slow, 0, TIME_PERIODIC);
  ASSERT_TRUE(wqtest::WaitUntil([] { return inside.load(); }));
  std::atomic<bool> killed{false};
  std::thread killer([&] {
    timeKillEvent(id);
    killed = true;
  });
  std::this_thread::yield();
  EXPECT_FALSE(killed.load());
  release = true;
  killer.join();
  EXPECT_TRUE(finished.load());
}

}  // namespace
