// A fixture for text tests that start the library: private log and lock
// folders, window mode, the virtual clock, the game's screen mode on the
// renderer chosen, and readers for the software screen and the window.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "WqLib.h"
#include "platform/control.h"
#include "graphics/graphics_start.h"
#include "support/temp_dir.h"

namespace wqtest {

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    WqControlSetLockFolder(folder_.path().c_str());
    SetLogFolder(folder_.WindowsPath().c_str());
    ChangeWindowMode(1);
  }
  void TearDown() override {
    EndLibrary();
    WqControlSetLockFolder(nullptr);
  }
  // hardware 0: the software screen.
  void Start(int hardware, int width = 882, int height = 820, int bits = 32) {
    SetUseHardwareRenderer(hardware);
    ASSERT_EQ(StartLibrary(), 0);
    ASSERT_EQ(SelectDrawTarget(-2), 0);
    ASSERT_EQ(SetScreenMode(width, height, bits, 60), 0);
    ASSERT_EQ(IsDirect3DRendererInUse(), hardware);
  }
  std::string ReadLog() const { return folder_.ReadFile("Log.txt"); }
  // The software screen's pixel (32-bit screens), 0x00RRGGBB.
  static std::uint32_t ScreenPixel(int x, int y);
  // Pixels of the rectangle that are not black on the software screen.
  static int CountLitPixels(int left, int top, int right, int bottom);
  // The window's last presented pixels (0x00RRGGBB).
  std::vector<std::uint32_t> ReadWindow(int* width, int* height) const;

 private:
  TempDir folder_;
};

}  // namespace wqtest
