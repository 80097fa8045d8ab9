#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/control.h"
#include "platform/mmsystem.h"
#include "platform/windows.h"
#include "support/wait_until.h"

namespace {

class VirtualClockTest : public testing::Test {
 protected:
  void SetUp() override { WqControlEnableVirtualClock(true); }
  void TearDown() override { WqControlEnableVirtualClock(false); }

  static LONGLONG Counter() {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart;
  }
};

TEST_F(VirtualClockTest, SleepAdvancesEveryClockAtOnce) {
  const DWORD ms_before = timeGetTime();
  const DWORD ticks_before = GetTickCount();
  const LONGLONG counter_before = Counter();
  const std::uint64_t us_before = WqControlGetVirtualClockUs();

  Sleep(5000);

  EXPECT_EQ(timeGetTime() - ms_before, 5000u);
  EXPECT_EQ(GetTickCount() - ticks_before, 5000u);
  EXPECT_EQ(Counter() - counter_before, 5000LL * 10'000);  // 10 MHz
  EXPECT_EQ(WqControlGetVirtualClockUs() - us_before, 5'000'000u);
}

// Sleep(0) gives up the processor and nothing else: spin loops that call it
// must not move time.
TEST_F(VirtualClockTest, SleepZeroOnlyYields) {
  const std::uint64_t before = WqControlGetVirtualClockUs();
  for (int i = 0; i < 100; ++i) Sleep(0);
  EXPECT_EQ(WqControlGetVirtualClockUs(), before);
}

TEST_F(VirtualClockTest, TimedOutWaitAdvancesByItsTimeOut) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const std::uint64_t before = WqControlGetVirtualClockUs();
  EXPECT_EQ(WaitForSingleObject(event, 30000), WAIT_TIMEOUT);
  EXPECT_EQ(WqControlGetVirtualClockUs() - before, 30'000'000u);

  // A satisfied wait takes no virtual time.
  SetEvent(event);
  EXPECT_EQ(WaitForSingleObject(event, 30000), WAIT_OBJECT_0);
  EXPECT_EQ(WqControlGetVirtualClockUs() - before, 30'000'000u);
  CloseHandle(event);
}

// The main thread's wait gives other threads only a short real while before
// the clock jumps to its end, so its signal is given before the wait here;
// a background thread's wait follows the main thread's clock and so sees a
// signal that comes during it, however late.
TEST_F(VirtualClockTest, WaitStillSeesASignalFromAnotherThread) {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::thread([&] { SetEvent(event); }).join();
  EXPECT_EQ(WaitForSingleObject(event, 60000), WAIT_OBJECT_0);

  HANDLE started = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  DWORD background_result = WAIT_FAILED;
  std::thread waiter([&] {
    SetEvent(started);
    background_result = WaitForSingleObject(event, 60000);
  });
  WaitForSingleObject(started, INFINITE);
  // The signal may land before or during the background wait; either way it is seen.
  SetEvent(event);
  waiter.join();
  EXPECT_EQ(background_result, WAIT_OBJECT_0);
  CloseHandle(event);
  CloseHandle(started);
}

TEST_F(VirtualClockTest, PollingLoopsEnd) {
  const DWORD start = timeGetTime();
  int reads = 0;
  while (timeGetTime() - start < 100) ++reads;
  EXPECT_LT(reads, 1'000'000);
}

// A background thread's Sleep follows the clock instead of moving it.
TEST_F(VirtualClockTest, BackgroundSleepWaitsForTheMainThreadsClock) {
  std::atomic<bool> woke{false};
  std::atomic<pid_t> sleeper_id{0};
  const std::uint64_t before = WqControlGetVirtualClockUs();
  std::thread sleeper([&] {
    sleeper_id = wqtest::CurrentThreadId();
    Sleep(60'000);  // a minute: only the virtual clock can end this soon
    woke = true;
  });
  // Once the sleeper is blocked in its Sleep, the clock has not moved and
  // nothing has woken it.
  EXPECT_TRUE(wqtest::WaitUntil([&] { return sleeper_id != 0 && wqtest::ThreadIsBlocked(sleeper_id); }));
  EXPECT_FALSE(woke);
  EXPECT_EQ(WqControlGetVirtualClockUs(), before);

  WqControlAdvanceVirtualClock(60'000'000);
  sleeper.join();
  EXPECT_TRUE(woke);
  EXPECT_EQ(WqControlGetVirtualClockUs() - before, 60'000'000u);
}

TEST_F(VirtualClockTest, DatesStartAtTheFixedEpoch) {
  SYSTEMTIME utc;
  SYSTEMTIME local;
  GetSystemTime(&utc);
  GetLocalTime(&local);
  EXPECT_EQ(utc.wYear, 2024);
  EXPECT_EQ(utc.wMonth, 1);
  EXPECT_EQ(utc.wDay, 1);
  EXPECT_EQ(std::memcmp(&utc, &local, sizeof utc), 0) << "local time is UTC";

  Sleep(25 * 3600 * 1000);
  GetSystemTime(&utc);
  EXPECT_EQ(utc.wDay, 2);
  EXPECT_EQ(utc.wHour, 1);
}

TEST(VirtualClockEnvironmentTest, VariableSwitchesTheClockOnAtFirstUse) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process reads the variable
  setenv("WQ_VIRTUAL_CLOCK", "1", 1);
  EXPECT_EXIT(
      {
        const bool fresh = WqControlGetVirtualClockUs() == 60'000'000u && timeGetTime() == 60000;
        Sleep(1500);
        std::exit(fresh && timeGetTime() == 61500 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
  unsetenv("WQ_VIRTUAL_CLOCK");
}

}  // namespace
