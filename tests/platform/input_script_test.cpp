// Input scripts: key states from a text file, applied frame by frame on the
// layer's clock as the keyboard is read.
#include <gtest/gtest.h>

#include <string>

#include "platform/control.h"
#include "platform/windows.h"
#include "support/temp_dir.h"
#include "window_test_support.h"

namespace {

// A frame, rounded up so that whole frames end past each frame's start.
constexpr std::uint64_t kFrameUs = 16667;

class InputScriptTest : public testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    window_ = window_class_.Create(WS_POPUP, 0, 320, 240);
  }
  void TearDown() override {
    WqControlStopInputScript();
    WqControlEnableVirtualClock(false);
  }

  bool Start(const std::string& script) {
    folder_.WriteFile("keys.txt", script);
    return WqControlStartInputScript(window_, (folder_.path() / "keys.txt").c_str());
  }

  static bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

  wqtest::TempDir folder_;
  wqtest::RecordingWindowClass window_class_;
  HWND window_ = nullptr;
};

TEST_F(InputScriptTest, KeysAreHeldFromTheirFrameUntilTheNextLine) {
  ASSERT_TRUE(Start("# title screen\n0\n2 RETURN\n3 UP Z  # both\n5\n"));
  EXPECT_FALSE(Down(VK_RETURN));
  WqControlAdvanceVirtualClock(2 * kFrameUs);
  EXPECT_TRUE(Down(VK_RETURN));
  WqControlAdvanceVirtualClock(kFrameUs);
  EXPECT_FALSE(Down(VK_RETURN));
  EXPECT_TRUE(Down(VK_UP));
  EXPECT_TRUE(Down('Z'));
  WqControlAdvanceVirtualClock(2 * kFrameUs);
  BYTE keys[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  EXPECT_EQ(keys[VK_UP], 0);
  EXPECT_EQ(keys['Z'], 0);
  // The window got the key messages as for keys typed.
  std::vector<MSG> messages = wqtest::DispatchQueued();
  EXPECT_EQ(window_class_.MessageIds({WM_KEYDOWN, WM_KEYUP}),
            (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_KEYDOWN, WM_KEYUP, WM_KEYUP}));
}

TEST_F(InputScriptTest, SkippedFramesApplyAtOnceInOrder) {
  ASSERT_TRUE(Start("1 A\n2 B\n3 F12 NUMPAD5\n"));
  WqControlAdvanceVirtualClock(10 * kFrameUs);
  EXPECT_FALSE(Down('A'));
  EXPECT_FALSE(Down('B'));
  EXPECT_TRUE(Down(VK_F12));
  EXPECT_TRUE(Down(VK_NUMPAD0 + 5));
}

TEST_F(InputScriptTest, MalformedScriptsAreRefusedTable) {
  const char* scripts[] = {"0 NOSUCHKEY\n", "x A\n", "5 A\n3 B\n", "1 F13\n", "1 NUMPAD10\n"};
  for (const char* script : scripts) {
    SCOPED_TRACE(script);
    EXPECT_FALSE(Start(script));
  }
  EXPECT_FALSE(WqControlStartInputScript(window_, (folder_.path() / "missing.txt").c_str()));
}

}  // namespace
