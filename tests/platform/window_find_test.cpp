#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control.h"
#include "platform/windows.h"
#include "support/temp_dir.h"
#include "window_test_support.h"

extern char** environ;

namespace {

constexpr char kHolderSwitch[] = "WQ_TEST_WINDOW_HOLDER_READY";

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

// Run as a child process by the test below: holds a window until killed.
TEST(WindowFindTest, HolderProcess) {
  const char* ready_file = std::getenv(kHolderSwitch);
  if (!ready_file) GTEST_SKIP() << "runs only as the child of the cross-process test";
  wqtest::RecordingWindowClass window_class("WqFindRemote");
  ASSERT_NE(window_class.Create(), nullptr);
  std::ofstream(ready_file) << "ready";
  for (int waited = 0; waited < 30000; waited += 10) Sleep(10);
}

TEST(WindowFindTest, SeesAWindowOfAnotherProcessOnlyWhileThatProcessLives) {
  wqtest::TempDir lock_folder;
  WqControlSetLockFolder(lock_folder.path().c_str());
  EXPECT_EQ(FindWindowA("WqFindRemote", nullptr), nullptr);

  std::string ready_file = (lock_folder.path() / "ready").string();
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    if (std::string_view(*entry).starts_with("WQ_LOCK_DIR=")) continue;  // replaced below
    environment.emplace_back(*entry);
  }
  environment.push_back(std::string("WQ_LOCK_DIR=") + lock_folder.path().string());
  environment.push_back(std::string(kHolderSwitch) + "=" + ready_file);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
  std::string filter = "--gtest_filter=WindowFindTest.HolderProcess";
  char* argv[] = {program.data(), filter.data(), nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);

  for (int waited = 0; waited < 20000 && !std::filesystem::exists(ready_file); waited += 10) {
    usleep(10000);
  }
  ASSERT_TRUE(std::filesystem::exists(ready_file));
  HWND found = FindWindowA("wqfindremote", nullptr);
  EXPECT_NE(found, nullptr);
  EXPECT_FALSE(IsWindow(found));  // it is another process's window

  // However it ends, the dead process no longer holds its mark.
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(FindWindowA("WqFindRemote", nullptr), nullptr);
  WqControlSetLockFolder(nullptr);
}

}  // namespace
