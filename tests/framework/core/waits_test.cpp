// WaitAnyKey against keys that an input script presses while it waits.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "WqLib.h"
#include "platform/control.h"
#include "platform/dinput.h"
#include "platform/windows.h"
#include "startup_test_support.h"
#include "window_system_state.h"

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
  ASSERT_EQ(CheckAnyInput(1), D_DIK_A);
  EXPECT_EQ(WaitAnyKey(), D_DIK_B);
  EXPECT_GE(WqControlGetVirtualClockUs() - start, 5 * kFrameUs);
}

}  // namespace
