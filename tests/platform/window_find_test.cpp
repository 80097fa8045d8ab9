#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/control.h"
#include "platform/windows.h"
#include "support/child_process.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"
#include "window_test_support.h"

namespace {

constexpr char kHolderReadySwitch[] = "WQ_TEST_WINDOW_HOLDER_READY";

TEST(WindowFindTest, FindsWindowsOfThisProcessByClassAndText) {
  wqtest::TempDir lock_folder;
  WqControlSetLockFolder(lock_folder.path().c_str());
  wqtest::RecordingWindowClass window_class("WqFindLocal");
  HWND window = window_class.Create();
  EXPECT_EQ(FindWindowA("WQFINDLOCAL", nullptr), window);
  EXPECT_EQ(FindWindowA("WqFindLocal", "Recording"), window);
  EXPECT_EQ(FindWindowA("WqFindLocal", "Other"), nullptr);
  EXPECT_EQ(FindWindowA("WqFindNothing", nullptr), nullptr);
  DestroyWindow(window);
  EXPECT_EQ(FindWindowA("WqFindLocal", nullptr), nullptr);
  WqControlSetLockFolder(nullptr);
}

// Run by the test below in a process of its own: holds a window until the
// test kills it (or the test's process ends).
WQ_CHILD_PROCESS(WindowHolder) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  const char* ready_file = std::getenv(kHolderReadySwitch);
  wqtest::RecordingWindowClass window_class("WqFindRemote");
  if (ready_file == nullptr || window_class.Create() == nullptr) return 1;
  std::ofstream(ready_file) << "ready";
  for (;;) pause();
}

TEST(WindowFindTest, SeesAWindowOfAnotherProcessOnlyWhileThatProcessLives) {
  wqtest::TempDir lock_folder;
  WqControlSetLockFolder(lock_folder.path().c_str());
  EXPECT_EQ(FindWindowA("WqFindRemote", nullptr), nullptr);

  const std::string ready_file = (lock_folder.path() / "ready").string();
  const pid_t child = wqtest::StartChildProcess(
      "WindowHolder", {"WQ_LOCK_DIR=" + lock_folder.path().string(), std::string(kHolderReadySwitch) + "=" + ready_file});
  ASSERT_GT(child, 0);
  const bool ready = wqtest::WaitUntil([&] { return std::filesystem::exists(ready_file); });
  HWND found = FindWindowA("wqfindremote", nullptr);
  kill(child, SIGKILL);
  EXPECT_EQ(wqtest::WaitForChildProcess(child), -1) << "the holder ended before it was killed";
  ASSERT_TRUE(ready) << "the holder never made its window";
  EXPECT_NE(found, nullptr);
  EXPECT_FALSE(IsWindow(found));  // it is another process's window

  // However it ends, the dead process no longer holds its mark.
  EXPECT_EQ(FindWindowA("WqFindRemote", nullptr), nullptr);
  WqControlSetLockFolder(nullptr);
}

}  // namespace
