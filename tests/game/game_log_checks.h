// Checks of the framework's log after a game has ended.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace gametest {

// The framework ended (its allocator dump is in the log) and the dump
// counts no block left.
inline void ExpectCleanEnd(const std::string& log) {
  const auto dump = log.rfind("Alloc memory dump");
  ASSERT_NE(dump, std::string::npos) << "the framework did not end";
  EXPECT_NE(log.find("Alloc num:0", dump), std::string::npos) << log.substr(dump);
}

}  // namespace gametest
