#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "WqLib.h"
#include "platform/control_window.h"
#include "startup_test_support.h"
#include "core/window/window_system_state.h"

namespace {

class WindowPixelsTest : public wqtest::LibraryTest {};

TEST_F(WindowPixelsTest, TheWindowIsBlackAtStart) {
  ASSERT_EQ(StartLibrary(), 0);
  for (int frame = 0; frame < 3; ++frame) ASSERT_EQ(PumpMessages(), 0);
  std::vector<std::uint32_t> pixels;
  int width = 0;
  int height = 0;
  ASSERT_TRUE(WqControlReadWindowPixels(GetMainWindow(), &pixels, &width, &height));
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  ASSERT_EQ(pixels.size(), static_cast<std::size_t>(width) * height);
  std::size_t nonBlack = 0;
  for (std::uint32_t pixel : pixels) nonBlack += (pixel & 0xFFFFFFu) != 0;
  EXPECT_EQ(nonBlack, 0u);
}

}  // namespace
