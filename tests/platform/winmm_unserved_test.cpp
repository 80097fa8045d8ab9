#include <gtest/gtest.h>

#include "platform/mmsystem.h"
#include "platform/windows.h"

namespace {

int g_timerCalls = 0;

void CountTimerCall(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) { ++g_timerCalls; }

// Programs that load winmm by name find these exports; until they are
// served, every request fails the documented way and nothing runs.
TEST(WinmmUnservedTest, TimerEventsAndMciDevicesRefuseAsDocumented) {
  HMODULE winmm = LoadLibraryA("winmm.dll");
  ASSERT_NE(winmm, nullptr);
  for (const char* name : {"timeSetEvent", "timeKillEvent", "mciSendCommandA"}) {
    EXPECT_NE(GetProcAddress(winmm, name), nullptr) << name;
  }
  FreeLibrary(winmm);

  EXPECT_EQ(timeSetEvent(1, 1, CountTimerCall, 0, 0), 0u);
  Sleep(20);
  EXPECT_EQ(g_timerCalls, 0);
  EXPECT_EQ(timeKillEvent(1), MMSYSERR_INVALPARAM);
  EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, 0, 0), MCIERR_CANNOT_LOAD_DRIVER);
  EXPECT_EQ(mciSendCommandA(1, 0x0806, 0, 0), MCIERR_INVALID_DEVICE_ID);
}

}  // namespace
