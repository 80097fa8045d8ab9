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

}  // namespace wqtest
