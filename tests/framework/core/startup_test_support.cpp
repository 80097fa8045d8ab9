#include "startup_test_support.h"

#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>

#include "WqLib.h"
#include "platform/control.h"

extern char** environ;

namespace wqtest {

void LibraryTest::SetUp() {
  WqControlEnableVirtualClock(true);
  WqControlSetLockFolder(folder_.path().c_str());
  SetLogFolder(folder_.WindowsPath().c_str());
  ChangeWindowMode(1);
}

void LibraryTest::TearDown() {
  EndLibrary();
  WqControlSetLockFolder(nullptr);
}

void StartedLibraryTest::SetUp() {
  LibraryTest::SetUp();
  ASSERT_EQ(StartLibrary(), 0);
  ASSERT_EQ(PumpMessages(), 0);
}

std::string LibraryTest::ReadLog() const { return folder_.ReadFile("Log.txt"); }

void ExpectInOrder(const std::string& log, const std::vector<std::string>& texts) {
  std::size_t position = 0;
  for (const std::string& text : texts) {
    const std::size_t found = log.find(text, position);
    ASSERT_NE(found, std::string::npos) << "missing after byte " << position << ": " << text;
    position = found + text.size();
  }
}

int RunTestInChildProcess(const std::string& test_name, const std::vector<std::string>& environment) {
  // The given entries replace inherited ones of the same name.
  auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  std::vector<std::string> entries = environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string inherited = *entry;
    bool replaced = false;
    for (const std::string& given : environment) replaced = replaced || nameOf(given) == nameOf(inherited);
    if (!replaced) entries.push_back(inherited);
  }
  std::vector<char*> envp;
  for (std::string& entry : entries) envp.push_back(entry.data());
  envp.push_back(nullptr);

  std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
  std::string filter = "--gtest_filter=" + test_name;
  char* argv[] = {program.data(), filter.data(), nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace wqtest
