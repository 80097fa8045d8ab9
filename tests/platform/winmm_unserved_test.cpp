#include <gtest/gtest.h>

#include "platform/mmsystem.h"
#include "platform/windows.h"

namespace {

// Programs that load winmm by name find these exports; MCI requests fail
// the documented way.
TEST(WinmmUnservedTest, MciDevicesRefuseAsDocumented) {
  HMODULE winmm = LoadLibraryA("winmm.dll");
  ASSERT_NE(winmm, nullptr);
  for (const char* name : {"timeSetEvent", "timeKillEvent", "mciSendCommandA"}) {
    EXPECT_NE(GetProcAddress(winmm, name), nullptr) << name;
  }
  FreeLibrary(winmm);

  EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, 0, 0), MCIERR_CANNOT_LOAD_DRIVER);
  EXPECT_EQ(mciSendCommandA(1, 0x0806, 0, 0), MCIERR_INVALID_DEVICE_ID);
}

}  // namespace
