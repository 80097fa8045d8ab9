// Pads through DirectInput and through the multimedia joysticks, and the
// multimedia axis mapping.
#include <gtest/gtest.h>

#include "WqLib.h"
#include "core/window/input_devices.h"
#include "core/window/input_state.h"
#include "platform/control.h"
#include "platform/dinput.h"
#include "startup_test_support.h"
#include "core/window/window_system_state.h"

namespace {

TEST(InputAxisMappingTest, PositionsMapWithTheMiddleHalfDeadTable) {
  struct AxisCase {
    unsigned position;
    int value;
  };
  const AxisCase cases[] = {
      {0, -1000},   {1, -999},  {10000, -389}, {16383, 0},  {16384, 0},  {20000, 0},
      {32767, 0},   {49152, 0}, {49153, 0},    {60000, 662}, {65534, 999}, {65535, 1000},
  };
  for (const AxisCase& test : cases) {
    SCOPED_TRACE(test.position);
    EXPECT_EQ(MapJoystickAxis(test.position), test.value);
  }
}

WqPadInput PadAt(int x, int y, unsigned buttons) {
  WqPadInput input{};
  input.axes[0] = x;
  input.axes[1] = y;
  input.buttons = buttons;
  return input;
}

class InputJoypadTest : public wqtest::LibraryTest, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    wqtest::LibraryTest::SetUp();
    ASSERT_EQ(WqControlAttachPad("Pad One"), 0);
    ASSERT_EQ(WqControlAttachPad("Pad Two"), 1);
    const bool multimedia = GetParam();
    WqControlSetComClassAbsent(D_CLSID_DirectInput, multimedia);
    WqControlSetComClassAbsent(D_CLSID_DirectInput8, multimedia);
    ASSERT_EQ(StartLibrary(), 0);
    ASSERT_EQ(PumpMessages(), 0);
  }

  // Sets the pad and lets a millisecond pass, so that the next read polls.
  static void Set(int pad, const WqPadInput& input) {
    WqControlSetPad(pad, input);
    WqControlAdvanceVirtualClock(1000);
  }
};

TEST_P(InputJoypadTest, DirectionsAndButtonsTable) {
  struct PadCase {
    int x;
    int y;
    unsigned buttons;
    int bits;
  };
  const PadCase cases[] = {
      {0, 0, 0, 0},
      {-32768, 0, 0, 1 << 1},
      {32767, 32767, 0, (1 << 2) | (1 << 0)},
      {0, -32768, 0, 1 << 3},
      // Within the dead zone of either path.
      {-9000, 9000, 0, 0},
      {0, 0, 0x1u | (1u << 23), (1 << 4) | (1 << 27)},
      // Buttons past the 24th are not reported.
      {0, 0, 1u << 24, 0},
  };
  for (const PadCase& test : cases) {
    SCOPED_TRACE(testing::Message() << test.x << "," << test.y << " " << std::hex << test.buttons);
    Set(1, PadAt(test.x, test.y, test.buttons));
    EXPECT_EQ(ReadJoypadState(2), test.bits);
    EXPECT_EQ(ReadJoypadState(1), 0);
  }
}

TEST_P(InputJoypadTest, PadsThatDoNotExistReadNothing) {
  Set(0, PadAt(-32768, 0, 1));
  EXPECT_NE(ReadJoypadState(1), 0);
  for (int padCode : {0, 3, 16, 17, 100, -5}) {
    SCOPED_TRACE(padCode);
    EXPECT_EQ(ReadJoypadState(padCode), 0);
  }
  EXPECT_EQ(CheckAnyInput(2), -1);
}

INSTANTIATE_TEST_SUITE_P(Paths, InputJoypadTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Multimedia" : "DirectInput";
                         });

class InputMultimediaJoystickTest : public wqtest::LibraryTest {};

TEST_F(InputMultimediaJoystickTest, AxesMapThroughTheDeadMiddleHalf) {
  ASSERT_EQ(WqControlAttachPad("Stick"), 0);
  WqControlSetComClassAbsent(D_CLSID_DirectInput, true);
  WqControlSetComClassAbsent(D_CLSID_DirectInput8, true);
  ASSERT_EQ(StartLibrary(), 0);
  // Positions 10000 and 20000 of 0..65535.
  WqControlSetPad(0, PadAt(10000 - 32768, 20000 - 32768, 0));
  WqControlAdvanceVirtualClock(1000);
  ASSERT_EQ(PollJoypads(0), 0);
  EXPECT_EQ(Input().pads[0].state.lX, -389);
  EXPECT_EQ(Input().pads[0].state.lY, 0);
  EXPECT_EQ(PollJoypads(16), -1);
  EXPECT_NE(ReadLog().find("パッドの数は 1 個です"), std::string::npos);
}

}  // namespace
