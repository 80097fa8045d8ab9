// winmm joysticks over the attached pads.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/control.h"
#include "platform/mmsystem.h"

namespace {

TEST(JoystickWinmmTest, CapabilitiesOfAnAttachedPadAndErrorsForOthers) {
  ASSERT_EQ(WqControlAttachPad("Stick"), 0);
  JOYCAPSA caps{};
  ASSERT_EQ(joyGetDevCapsA(0, &caps, sizeof caps), JOYERR_NOERROR);
  EXPECT_STREQ(caps.szPname, "Stick");
  EXPECT_EQ(caps.wCaps & (JOYCAPS_HASZ | JOYCAPS_HASR | JOYCAPS_HASPOV),
            JOYCAPS_HASZ | JOYCAPS_HASR | JOYCAPS_HASPOV);
  EXPECT_EQ(caps.wNumButtons, 32u);
  EXPECT_EQ(caps.wXmax, 65535u);
  EXPECT_EQ(joyGetDevCapsA(1, &caps, sizeof caps), JOYERR_UNPLUGGED);
  EXPECT_EQ(joyGetDevCapsA(16, &caps, sizeof caps), JOYERR_PARMS);
  EXPECT_EQ(joyGetDevCapsA(0, &caps, sizeof caps - 1), JOYERR_PARMS);
}

TEST(JoystickWinmmTest, PositionsButtonsAndPointOfView) {
  ASSERT_EQ(WqControlAttachPad("Stick"), 0);
  WqPadInput input{};
  input.axes[0] = -32768;
  input.axes[1] = 32767;
  input.axes[2] = 0;
  input.axes[3] = -12768;
  input.buttons = 0x12;
  input.hat = 8;  // left
  WqControlSetPad(0, input);
  JOYINFOEX info{};
  info.dwSize = sizeof info;
  info.dwFlags = JOY_RETURNALL;
  ASSERT_EQ(joyGetPosEx(0, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.dwXpos, 0u);
  EXPECT_EQ(info.dwYpos, 65535u);
  EXPECT_EQ(info.dwZpos, 32768u);
  EXPECT_EQ(info.dwRpos, 20000u);
  EXPECT_EQ(info.dwButtons, 0x12u);
  EXPECT_EQ(info.dwButtonNumber, 2u);
  EXPECT_EQ(info.dwPOV, 27000u);
  EXPECT_EQ(joyGetPosEx(3, &info), JOYERR_UNPLUGGED);
  info.dwSize = 0;
  EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_PARMS);
}

TEST(JoystickWinmmTest, AnUnpluggedPadLeavesTheOthersInOrder) {
  ASSERT_EQ(WqControlAttachPad("First"), 0);
  ASSERT_EQ(WqControlAttachPad("Second"), 1);
  WqControlDetachPad(0);
  JOYCAPSA caps{};
  ASSERT_EQ(joyGetDevCapsA(0, &caps, sizeof caps), JOYERR_NOERROR);
  EXPECT_STREQ(caps.szPname, "Second");
  EXPECT_EQ(joyGetDevCapsA(1, &caps, sizeof caps), JOYERR_UNPLUGGED);
}

}  // namespace
