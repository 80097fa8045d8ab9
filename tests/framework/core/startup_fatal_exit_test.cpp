#include <gtest/gtest.h>

#include <string>

#include "WqLib.h"
#include "core/startup/library_startup.h"
#include "startup_test_support.h"

namespace {

// The framework starts inside the forked child, so the parent has no
// window-system threads when it forks and reads the child's log afterwards.
class StartupFatalExitTest : public wqtest::LibraryTest {};

// A message longer than the format buffer is cut, not overrun; the process
// still shuts the framework down and exits with -1.
TEST_F(StartupFatalExitTest, FormatsWithinItsBufferShutsDownAndExitsWithMinusOne) {
  const std::string longText(3000, 'x');
  EXPECT_EXIT(
      {
        StartLibrary();
        FatalErrorFormat("致命的:%s", longText.c_str());
      },
      ::testing::ExitedWithCode(255), "");
  const std::string log = ReadLog();
  const std::size_t message = log.find("致命的:xxx");
  ASSERT_NE(message, std::string::npos);
  const std::size_t messageEnd = log.find('\r', message);
  EXPECT_EQ(messageEnd - message, 1023u);
  wqtest::ExpectInOrder(log.substr(messageEnd), {"ウインドウを閉じようとしています", "Alloc num:0"});
}

}  // namespace
