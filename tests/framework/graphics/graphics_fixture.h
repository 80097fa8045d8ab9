// A fixture for graphics tests that start the library: private log and
// lock folders, window mode, the virtual clock, and helpers to read the
// window's pixels and the log.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "WqLib.h"
#include "platform/control.h"
#include "support/temp_dir.h"

namespace wqtest {

class GraphicsTest : public ::testing::Test {
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
  // Starts the library and sets the game's screen mode.
  void StartInGameMode() {
    ASSERT_EQ(StartLibrary(), 0);
    ASSERT_EQ(SelectDrawTarget(-2), 0);
    ASSERT_EQ(SetScreenMode(882, 820, 32, 60), 0);
  }
  std::string ReadLog() const { return folder_.ReadFile("Log.txt"); }
  // The window's last presented pixels (0x00RRGGBB).
  std::vector<std::uint32_t> ReadWindow(int* width, int* height) const;
  // Clears the screen to the colour, presents, and checks that the window
  // shows the game's 882 x 820 frame in that colour.
  void ExpectClearedFrameShown(std::uint32_t color);

 private:
  TempDir folder_;
};

// Each text appears in the log after the previous one.
void ExpectLogInOrder(const std::string& log, const std::vector<std::string>& texts);

}  // namespace wqtest
