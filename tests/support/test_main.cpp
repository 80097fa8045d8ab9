#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "support/child_process.h"

namespace {

// Each test process gets a second-instance lock folder of its own, so tests
// that start the framework in parallel do not see each other's windows; a
// child process a test starts inherits it and so does see its parent.
// Windows also ignore the X server's own focus moves, and the clipboard
// stays in the process: parallel test processes share one display and would
// otherwise take focus and clipboard text from one another.
class ProcessIsolation {
 public:
  ProcessIsolation() {
    if (getenv("WQ_LOCK_DIR") == nullptr) {
      std::string pattern =
          (std::filesystem::temp_directory_path() / "wqtest-locks-XXXXXX").string();
      if (mkdtemp(pattern.data()) != nullptr) {
        owned_lock_dir_ = pattern;
        setenv("WQ_LOCK_DIR", pattern.c_str(), 1);
      }
    }
    setenv("WQ_WINDOW_SYSTEM_FOCUS", "0", 0);
    setenv("WQ_WINDOW_SYSTEM_CLIPBOARD", "0", 0);
  }
  ~ProcessIsolation() {
    if (owned_lock_dir_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(owned_lock_dir_, ignored);
  }

 private:
  std::string owned_lock_dir_;
};

}  // namespace

int main(int argc, char** argv) {
  ProcessIsolation isolation;
  int child_exit_code = 0;
  if (wqtest::RunChildProcessIfAsked(argc, argv, &child_exit_code)) return child_exit_code;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
