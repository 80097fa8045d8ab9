// Frames on the display clock: presents with waiting on come one refresh
// apart on the virtual clock, on the device and on the software screen;
// with waiting off they do not wait.
#include <gtest/gtest.h>

#include "graphics/graphics_start.h"
#include "graphics/vertical_blank.h"
#include "graphics_fixture.h"

namespace {

using wqtest::GraphicsTest;

constexpr std::int64_t kSixtyHertzUs = 16667;

class FramePacingTest : public GraphicsTest, public testing::WithParamInterface<bool> {};

TEST_P(FramePacingTest, PresentsComeOneRefreshApart) {
  if (!GetParam()) SetUseHardwareRenderer(0);
  StartInGameMode();
  ASSERT_EQ(IsDirect3DRendererInUse(), GetParam() ? 1 : 0);
  EXPECT_NEAR(GetRefreshPeriodUs(), kSixtyHertzUs, 1);
  std::vector<std::int64_t> times;
  for (int frame = 0; frame < 12; ++frame) {
    ASSERT_EQ(ClearDrawTarget(nullptr), 0);
    ASSERT_EQ(PresentScreen(), 0);
    times.push_back(GetTimeUs(0));
  }
  for (std::size_t i = 2; i < times.size(); ++i) EXPECT_NEAR(times[i] - times[i - 1], kSixtyHertzUs, 1) << i;
}

INSTANTIATE_TEST_SUITE_P(Renderers, FramePacingTest, testing::Bool(), [](const testing::TestParamInfo<bool>& info) {
  return std::string(info.param ? "Device" : "SoftwareScreen");
});

TEST_F(GraphicsTest, WithWaitingOffPresentsDoNotWaitForTheBlank) {
  SetUseHardwareRenderer(0);
  StartInGameMode();
  SetWaitVSync(0);
  EXPECT_EQ(GetWaitVSync(), 0);
  const std::int64_t start = GetTimeUs(0);
  for (int frame = 0; frame < 10; ++frame) ASSERT_EQ(PresentScreen(), 0);
  EXPECT_LT(GetTimeUs(0) - start, kSixtyHertzUs);
}

}  // namespace
