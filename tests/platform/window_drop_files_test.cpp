#include <gtest/gtest.h>

#include <string>

#include "platform/control.h"
#include "platform/windows.h"
#include "window_test_support.h"

namespace {

class WindowDropFilesTest : public testing::Test {
 protected:
  void SetUp() override { window_ = window_class_.Create(WS_POPUP); }

  HDROP TakeDrop() {
    for (const MSG& msg : wqtest::DispatchQueued()) {
      if (msg.message == WM_DROPFILES) return reinterpret_cast<HDROP>(msg.wParam);
    }
    return nullptr;
  }

  wqtest::RecordingWindowClass window_class_;
  HWND window_ = nullptr;
};

TEST_F(WindowDropFilesTest, AcceptedDropsArriveAsWindowsPathsInShiftJis) {
  DragAcceptFiles(window_, TRUE);
  WqControlDropFiles(window_, {"/tmp/a.txt", reinterpret_cast<const char*>(u8"/work/表.png")});
  HDROP drop = TakeDrop();
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFFu, nullptr, 0), 2u);

  char name[MAX_PATH];
  EXPECT_EQ(DragQueryFileA(drop, 0, name, sizeof name), 12u);
  EXPECT_STREQ(name, "C:\\tmp\\a.txt");
  EXPECT_EQ(DragQueryFileA(drop, 1, nullptr, 0), 14u);
  EXPECT_EQ(DragQueryFileA(drop, 1, name, sizeof name), 14u);
  EXPECT_STREQ(name, "C:\\work\\表.png");
  // A short buffer takes what fits, with the terminator.
  EXPECT_EQ(DragQueryFileA(drop, 0, name, 5), 4u);
  EXPECT_STREQ(name, "C:\\t");
  EXPECT_EQ(DragQueryFileA(drop, 2, name, sizeof name), 0u);

  DragFinish(drop);
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFFu, nullptr, 0), 0u);
}

TEST_F(WindowDropFilesTest, AWindowThatDoesNotAcceptFilesGetsNoDrop) {
  WqControlDropFiles(window_, {"/tmp/a.txt"});
  EXPECT_EQ(TakeDrop(), nullptr);
  DragAcceptFiles(window_, TRUE);
  DragAcceptFiles(window_, FALSE);
  WqControlDropFiles(window_, {"/tmp/a.txt"});
  EXPECT_EQ(TakeDrop(), nullptr);
}

}  // namespace
