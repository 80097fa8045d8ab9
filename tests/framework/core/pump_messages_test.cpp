#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "WqLib.h"
#include "platform/control.h"
#include "platform/control_window.h"
#include "platform/windows.h"
#include "startup_test_support.h"
#include "support/wait_until.h"
#include "core/window/window_system_state.h"

namespace {

constexpr UINT kProbeMessage = WM_USER + 500;

class PumpMessagesTest : public wqtest::LibraryTest {
 protected:
  void SetUp() override {
    wqtest::LibraryTest::SetUp();
    ASSERT_EQ(StartLibrary(), 0);
    // The back screen, as a game selects it: the front screen presents on a
    // window timer whose messages would mix with the probes. Its last tick
    // comes within 32 ms and stops it.
    ASSERT_EQ(SelectDrawTarget(-2), 0);
    WaitMilliseconds(40);
    // Let start-up's own messages (activation, paint, cursor) pass first.
    MSG msg{};
    for (int frame = 0; frame < 50 && PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); ++frame) PumpMessages();
    ASSERT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    // The keyboard is read at most once per millisecond, through a nested
    // pump: read it now, so that the tests' own pumps do not pump twice.
    PumpMessages();
  }

  static void PostProbes(int count) {
    for (int i = 0; i < count; ++i) ASSERT_TRUE(PostMessageA(nullptr, kProbeMessage, i, 0));
  }

  static int TakeRemainingProbes() {
    int count = 0;
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, kProbeMessage, kProbeMessage, PM_REMOVE)) ++count;
    return count;
  }
};

TEST_F(PumpMessagesTest, DispatchesAtMostFiveMessagesPerCall) {
  PostProbes(7);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(TakeRemainingProbes(), 2);

  PostProbes(7);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(TakeRemainingProbes(), 0);
}

TEST_F(PumpMessagesTest, QuitMessageMakesEveryLaterCallReturnMinusOneWithoutDispatching) {
  PostQuitMessage(0);
  EXPECT_EQ(PumpMessages(), -1);
  PostProbes(2);
  EXPECT_EQ(PumpMessages(), -1);
  EXPECT_EQ(PumpMessages(), -1);
  EXPECT_TRUE(GetQuitFlag());
}

// Once the window loses the focus, the pump does not return until the
// window system gives it back (done here by another thread). Each inactive
// pass of the pump sleeps on the virtual clock, which only the main thread
// moves: a second of virtual time shows the pump waiting.
TEST_F(PumpMessagesTest, WaitsInsideThePumpWhileTheWindowIsInactive) {
  HWND window = GetMainWindow();
  std::atomic<bool> focusReturned{false};
  std::atomic<bool> sawThePumpWait{false};
  const std::uint64_t focusLost = WqControlGetVirtualClockUs();
  std::thread user([&] {
    sawThePumpWait = wqtest::WaitUntil([&] { return WqControlGetVirtualClockUs() >= focusLost + 1'000'000; });
    focusReturned = true;
    WqControlSetWindowFocus(window, true);
  });
  WqControlSetWindowFocus(window, false);
  for (int frames = 0; !focusReturned; ++frames) {
    if (frames == 10000) {
      ADD_FAILURE() << "the pump kept returning while the window was inactive";
      break;
    }
    EXPECT_EQ(PumpMessages(), 0);
    if (!focusReturned) {
      // A pass that returned before the focus came back saw an active window.
      EXPECT_TRUE(IsWindowActive());
    }
  }
  user.join();
  EXPECT_TRUE(sawThePumpWait) << "the pump never waited while the window was inactive";
  for (int frame = 0; frame < 10 && !IsWindowActive(); ++frame) PumpMessages();
  EXPECT_TRUE(IsWindowActive());
}

TEST_F(PumpMessagesTest, WaitMillisecondsKeepsToTheVirtualClock) {
  const std::uint64_t start = WqControlGetVirtualClockUs();
  EXPECT_EQ(WaitMilliseconds(100), 0);
  const std::uint64_t afterLong = WqControlGetVirtualClockUs();
  EXPECT_GE(afterLong - start, 100000u);
  EXPECT_LT(afterLong - start, 103000u);

  EXPECT_EQ(WaitMilliseconds(3), 0);
  const std::uint64_t afterShort = WqControlGetVirtualClockUs();
  EXPECT_GE(afterShort - afterLong, 3000u);
  EXPECT_LT(afterShort - afterLong, 5000u);
}

}  // namespace
