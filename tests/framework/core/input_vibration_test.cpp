// Pad vibration: the wanted state played on the pad's effects, timed per
// frame, and cancelled; and what the window's focus changes do to the pads.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "WqLib.h"
#include "core/window/input_devices.h"
#include "core/window/input_state.h"
#include "platform/control.h"
#include "startup_test_support.h"
#include "core/window/window_system_state.h"

namespace {

class InputVibrationTest : public wqtest::LibraryTest {
 protected:
  void SetUp() override {
    wqtest::LibraryTest::SetUp();
    ASSERT_EQ(WqControlAttachPad("Rumble"), 0);
    ASSERT_EQ(StartLibrary(), 0);
    ASSERT_EQ(PumpMessages(), 0);
    ASSERT_EQ(Input().padCount, 1);
  }

  // The wanted vibration of pad 1 from now on.
  static void Vibrate(int power, int durationMs) {
    JoypadVibration& vibration = Input().pads[0].vibration;
    vibration.wanted = 1;
    vibration.power = power;
    vibration.durationMs = durationMs;
    vibration.elapsedMs = 0;
    vibration.lastTime = InputTimeMs();
  }

  static std::pair<std::uint16_t, std::uint16_t> Rumble() {
    std::uint16_t strong = 0;
    std::uint16_t weak = 0;
    EXPECT_TRUE(WqControlReadPadRumble(0, &strong, &weak));
    return {strong, weak};
  }

  static void Frame(int ms) {
    WqControlAdvanceVirtualClock(static_cast<std::uint64_t>(ms) * 1000);
    UpdateJoypadVibration();
  }

  // The window system moves the focus; its messages are dispatched here,
  // as the pump would wait for the focus to come back.
  static void Focus(bool focused) {
    WqControlSetWindowFocus(GetMainWindow(), focused);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ASSERT_EQ(IsWindowActive() != 0, focused);
  }
};

TEST_F(InputVibrationTest, TheSineJoinsOnlyAboveHalfPower) {
  Vibrate(5000, -1);
  Frame(16);
  EXPECT_EQ(Rumble(), std::make_pair(std::uint16_t{0xFFFF}, std::uint16_t{0}));
  Input().pads[0].vibration.power = 5001;
  Frame(16);
  EXPECT_EQ(Rumble(), std::make_pair(std::uint16_t{0xFFFF}, std::uint16_t{0xFFFF}));
}

TEST_F(InputVibrationTest, ATimedVibrationEndsWhenItsDurationHasPassed) {
  Vibrate(10000, 100);
  Frame(16);
  EXPECT_EQ(Rumble().first, 0xFFFF);
  Frame(80);
  EXPECT_EQ(Rumble().first, 0xFFFF);
  Frame(4);
  EXPECT_EQ(Rumble(), std::make_pair(std::uint16_t{0}, std::uint16_t{0}));
  EXPECT_EQ(Input().pads[0].vibration.wanted, 0);
  EXPECT_EQ(Input().pads[0].vibration.power, 10000);
}

TEST_F(InputVibrationTest, TimeGoingBackwardsCountsAsNone) {
  Vibrate(10000, 50);
  Input().pads[0].vibration.lastTime = InputTimeMs() + 1000;
  Frame(1);
  EXPECT_EQ(Input().pads[0].vibration.elapsedMs, 0);
  Frame(49);
  EXPECT_EQ(Input().pads[0].vibration.wanted, 1);
  Frame(1);
  EXPECT_EQ(Input().pads[0].vibration.wanted, 0);
}

TEST_F(InputVibrationTest, CancellingStopsThePad) {
  Vibrate(9000, -1);
  Frame(16);
  EXPECT_EQ(Rumble().second, 0xFFFF);
  EXPECT_EQ(CancelJoypadEffect(2), 0);
  EXPECT_EQ(Rumble().first, 0xFFFF);
  EXPECT_EQ(CancelJoypadEffect(1), 0);
  EXPECT_EQ(Rumble(), std::make_pair(std::uint16_t{0}, std::uint16_t{0}));
}

TEST_F(InputVibrationTest, APadKeepsStillWhileTheWindowIsInactive) {
  Vibrate(10000, -1);
  Frame(16);
  const std::pair<std::uint16_t, std::uint16_t> full{0xFFFF, 0xFFFF};
  ASSERT_EQ(Rumble(), full);
  Focus(false);
  EXPECT_EQ(Rumble(), std::make_pair(std::uint16_t{0}, std::uint16_t{0}));
  EXPECT_EQ(Input().pads[0].vibration.wanted, 1);
  Focus(true);
  EXPECT_EQ(Rumble(), full);
}

TEST_F(InputVibrationTest, FocusChangesAcquireLostDevicesAgain) {
  ASSERT_EQ(Input().mode, InputMode::kDirectInput);
  ASSERT_NE(Input().keyboard, nullptr);
  for (const bool focused : {false, true}) {
    SCOPED_TRACE(focused);
    ASSERT_EQ(Input().keyboard->Unacquire(), D_DI_OK);
    ASSERT_EQ(Input().pads[0].device->Unacquire(), D_DI_OK);
    Focus(focused);
    // Acquired already: a second acquisition has nothing to do.
    EXPECT_EQ(Input().keyboard->Acquire(), S_FALSE);
    EXPECT_EQ(Input().pads[0].device->Acquire(), S_FALSE);
  }
}

}  // namespace
