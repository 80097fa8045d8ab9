// A fixture for the framework's start-up, window and pump tests: a private
// log folder and lock folder, window mode and the virtual clock, so runs are
// fast and deterministic.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace wqtest {

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Log.txt as written so far (Shift-JIS bytes, as the test's literals).
  std::string ReadLog() const;
  const TempDir& folder() const { return folder_; }

 private:
  TempDir folder_;
};

// The same, with the library started and its first frame run.
class StartedLibraryTest : public LibraryTest {
 protected:
  void SetUp() override;
};

// Each text appears in the log after the previous one.
void ExpectInOrder(const std::string& log, const std::vector<std::string>& texts);

// Runs this test binary again with only `test_name` selected and the given
// environment entries in place of inherited ones of the same name; returns the child's exit status (-1 when it could not
// run or did not exit normally).
int RunTestInChildProcess(const std::string& test_name, const std::vector<std::string>& environment);

}  // namespace wqtest
