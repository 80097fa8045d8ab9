// What the window shows: the software screen's padded rows line up in the
// window at both colour depths, and the front screen presents itself on its
// timer without PresentScreen.
#include <gtest/gtest.h>

#include "core/window/window_system_state.h"
#include "graphics/draw_target.h"
#include "graphics/graphics_start.h"
#include "graphics/screen_memimg.h"
#include "graphics_fixture.h"

namespace {

using wqtest::GraphicsTest;

class SoftwareRowsTest : public GraphicsTest, public testing::WithParamInterface<int> {};

// 882 pixels make rows of 3,528 or 1,764 bytes; the screen image pads them to
// 3,536 or 1,776. A one-pixel column must stay one column in every row.
TEST_P(SoftwareRowsTest, AColumnStaysAColumn) {
  SetUseHardwareRenderer(0);
  ASSERT_EQ(StartLibrary(), 0);
  ASSERT_EQ(SelectDrawTarget(-2), 0);
  ASSERT_EQ(SetScreenMode(882, 820, GetParam(), 60), 0);
  MEMIMG* screen = GetScreenMemImg();
  ASSERT_NE(screen, nullptr);
  ASSERT_NE(screen->data->pitch, 882 * screen->data->colorFormat->bytesPerPixel);
  FillMemImgRect(screen, nullptr, 0);
  const RECT column{441, 0, 442, 820};
  FillMemImgRect(screen, &column, GetParam() == 16 ? 0xFFFFu : 0x00FFFFFFu);
  ASSERT_EQ(PresentScreen(), 0);
  int width = 0, height = 0;
  const std::vector<std::uint32_t> pixels = ReadWindow(&width, &height);
  ASSERT_EQ(width, 882);
  ASSERT_EQ(height, 820);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = &pixels[static_cast<std::size_t>(y) * width];
    ASSERT_EQ(row[441] & 0xF8F8F8, 0xF8F8F8u) << "row " << y;
    ASSERT_EQ(row[440], 0u) << "row " << y;
    ASSERT_EQ(row[442], 0u) << "row " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, SoftwareRowsTest, testing::Values(32, 16),
                         [](const testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "Bit"; });

TEST_F(GraphicsTest, TheFrontScreenPresentsOnItsTimer) {
  StartInGameMode();
  ASSERT_EQ(SelectDrawTarget(-4), 0);
  SetScreenBackgroundColor(0x00C000);
  ClearDrawTarget(nullptr);
  WaitMilliseconds(100);  // the timer presents within 32 ms and re-arms
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels = ReadWindow(&width, &height);
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels[pixels.size() / 2], 0x00C000u);
  // Another target stops the presents at the timer's next tick: the timer is
  // gone. (The window's pixels cannot show it: an expose from the window
  // system repaints the window with the back screen at any time.)
  ASSERT_EQ(SelectDrawTarget(-2), 0);
  WaitMilliseconds(100);
  EXPECT_FALSE(KillTimer(GetMainWindow(), kFrontScreenTimerId));
}

TEST_F(GraphicsTest, DisplayModeListAnswersOutOfRangeWithMinusOnes) {
  const int count = GetDisplayModeCount();
  ASSERT_GT(count, 0);
  DisplayModeRecord mode{};
  for (int index : {-1, count}) {
    GetDisplayMode(&mode, index);
    EXPECT_EQ(mode.width, -1);
    EXPECT_EQ(mode.height, -1);
    EXPECT_EQ(mode.colorBits, -1);
    EXPECT_EQ(mode.refreshRate, -1);
  }
  GetDisplayMode(&mode, 0);
  EXPECT_GE(mode.colorBits, 16);
  EXPECT_EQ(IsDisplayModeAvailable(mode.width, mode.height, mode.colorBits), 1);
  EXPECT_EQ(IsDisplayModeAvailable(mode.width, mode.height, 8), 0);
}

}  // namespace
