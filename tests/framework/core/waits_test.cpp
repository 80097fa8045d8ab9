// WaitAnyKey against keys that an input script presses while it waits, and
// WaitMilliseconds on the virtual clock.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "WqLib.h"
#include "platform/control.h"
#include "platform/dinput.h"
#include "platform/windows.h"
#include "startup_test_support.h"
#include "core/window/window_system_state.h"

namespace {

// A script frame, rounded up.
constexpr std::uint64_t kFrameUs = 16667;

class WaitAnyKeyTest : public wqtest::StartedLibraryTest {
 protected:
  void TearDown() override {
    WqControlStopInputScript();
    wqtest::StartedLibraryTest::TearDown();
  }

  // Starts the script and returns the virtual time it started at.
  std::uint64_t StartScript(const std::string& script) {
    folder().WriteFile("keys.txt", script);
    EXPECT_TRUE(WqControlStartInputScript(GetMainWindow(), (folder().path() / "keys.txt").c_str()));
    return WqControlGetVirtualClockUs();
  }
};

TEST_F(WaitAnyKeyTest, AKeyPressedWhileWaitingEndsTheWait) {
  const std::uint64_t start = StartScript("3 A\n");
  EXPECT_EQ(WaitAnyKey(), D_DIK_A);
  EXPECT_GE(WqControlGetVirtualClockUs() - start, 2 * kFrameUs);
}

TEST_F(WaitAnyKeyTest, AKeyHeldAtEntryMustBeReleasedBeforeTheNextPressCounts) {
  // A is down before the wait starts, goes up at frame 3, and B goes down at
  // frame 6: the wait returns B, not the A it found held.
  const std::uint64_t start = StartScript("0 A\n3\n6 B\n");
  WqControlAdvanceVirtualClock(1000);
  ASSERT_EQ(PumpMessages(), 0);
  ASSERT_EQ(CheckAnyInput(1), D_DIK_A);
  EXPECT_EQ(WaitAnyKey(), D_DIK_B);
  EXPECT_GE(WqControlGetVirtualClockUs() - start, 5 * kFrameUs);
}

using WaitMillisecondsTest = wqtest::StartedLibraryTest;

// Forty minutes is more microseconds than 32 bits hold: the wait must still
// last the whole time instead of ending at once.
TEST_F(WaitMillisecondsTest, WaitsBeyondThe32BitMicrosecondRange) {
  constexpr int kWaitMs = 40 * 60 * 1000;
  constexpr std::uint64_t kWaitUs = static_cast<std::uint64_t>(kWaitMs) * 1000;
  const std::uint64_t start = WqControlGetVirtualClockUs();
  std::atomic<bool> returned{false};
  // Once the wait's own sleeps have moved the clock, jump to a second before
  // its end, so the test does not sleep forty minutes in 1 ms steps.
  std::thread jumper([&] {
    while (!returned && WqControlGetVirtualClockUs() - start < 10'000) std::this_thread::yield();
    if (!returned) WqControlAdvanceVirtualClock(kWaitUs - 1'000'000);
  });
  EXPECT_EQ(WaitMilliseconds(kWaitMs), 0);
  const std::uint64_t elapsed = WqControlGetVirtualClockUs() - start;
  returned = true;
  jumper.join();
  EXPECT_GE(elapsed, kWaitUs);
  EXPECT_LT(elapsed, kWaitUs + 50'000);
}

}  // namespace
