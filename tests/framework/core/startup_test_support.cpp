#include "startup_test_support.h"

#include "WqLib.h"
#include "platform/control.h"

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

}  // namespace wqtest
