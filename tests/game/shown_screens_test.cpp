// What the player sees while the game waits, with the library started on
// the game's data: the dialogue flash and each staff page are on the
// window during their pauses, not only after them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include <WqLib.h>

#include "dialogue_scripts.h"
#include "ending.h"
#include "game_state.h"
#include "platform/control.h"
#include "platform/windows.h"
#include "stage_loaders.h"
#include "support/temp_dir.h"
#include "title_menu.h"

namespace {

class ShownScreens : public testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    WqControlSetLockFolder(folder_.path().c_str());
    WqControlSetSoundDevice(WqSoundDevice::kSilent);
    SetLogFolder(folder_.WindowsPath().c_str());
    ASSERT_EQ(chdir(GAME_DATA_DIR), 0);
    ChangeWindowMode(1);
    ASSERT_EQ(StartLibrary(), 0);
    SelectDrawTarget(-2);
    ASSERT_EQ(SetScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 60), 0);
    LoadTitle();
    LoadStage1();
    // What the frame loop has presented before the frame under test.
    ClearDrawTarget(nullptr);
    PresentScreen();
    ClearDrawTarget(nullptr);
  }
  void TearDown() override {
    EndLibrary();
    WqControlSetLockFolder(nullptr);
    WqControlSetSoundDevice(WqSoundDevice::kSystem);
  }

  // The window's last presented pixels (0x00RRGGBB).
  static std::vector<std::uint32_t> PresentedPixels() {
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;
    EXPECT_TRUE(WqControlReadWindowPixels(GetActiveWindow(), &pixels, &width, &height));
    EXPECT_EQ(width, SCREEN_WIDTH);
    EXPECT_EQ(height, SCREEN_HEIGHT);
    return pixels;
  }
  static int CountColour(const std::vector<std::uint32_t>& pixels, int left, int top, int right, int bottom,
                         std::uint32_t colour) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) count += pixels[y * SCREEN_WIDTH + x] == colour ? 1 : 0;
    return count;
  }

 private:
  wqtest::TempDir folder_;
};

TEST_F(ShownScreens, DialogueFlashIsOnTheWindowDuringItsPause) {
  sceneNumber = 3;
  dialogueIndex = -1;
  RunStage1DialogueBefore();
  ASSERT_EQ(dialogueIndex, 0);
  const std::vector<std::uint32_t> pixels = PresentedPixels();
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(CountColour(pixels, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0xFFFFFF), SCREEN_WIDTH * SCREEN_HEIGHT);
}

TEST_F(ShownScreens, EachStaffPageIsOnTheWindowDuringItsPause) {
  sceneNumber = 27;
  dialogueIndex = ENDING_LOAD_STAFF_STEP;
  RunEnding();
  std::vector<std::uint32_t> previousPage;
  for (int page = 0; page < STAFF_PAGE_COUNT; ++page) {
    ClearDrawTarget(nullptr);
    RunEnding();
    const std::vector<std::uint32_t> pixels = PresentedPixels();
    ASSERT_FALSE(pixels.empty());
    // The heading's yellow, and the entries' below it.
    EXPECT_GT(CountColour(pixels, 80, 180, 700, 240, 0xF1FF8F), 200) << page;
    EXPECT_GT(CountColour(pixels, 120, 380, 700, 440, 0xF1FF8F), 200) << page;
    // The page's background, not a black screen.
    EXPECT_LT(CountColour(pixels, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0x000000), SCREEN_WIDTH * SCREEN_HEIGHT / 2);
    EXPECT_NE(pixels, previousPage) << page;
    previousPage = pixels;
  }
}

}  // namespace
