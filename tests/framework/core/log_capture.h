// A log written into a fresh temporary folder under the virtual clock, so
// the "<ms>:" stamps of every line are exact.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/base/charset_state.h"
#include "core/base/log_file.h"
#include "platform/control.h"
#include "support/temp_dir.h"

namespace wqtest {

class LogCapture : public testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    SetCharSetClass(1);
    SetLogFolder(dir_.WindowsPath().c_str());
    OpenLogFile();
  }
  void TearDown() override {
    SetLogFolder("");
    WqControlEnableVirtualClock(false);
  }

  std::string LogText() const { return dir_.ReadFile("Log.txt"); }

  TempDir dir_;
};

}  // namespace wqtest
