#include "graphics_fixture.h"

#include "core/window/window_system_state.h"
#include "graphics/graphics_state.h"

namespace wqtest {

std::vector<std::uint32_t> GraphicsTest::ReadWindow(int* width, int* height) const {
  std::vector<std::uint32_t> pixels;
  EXPECT_TRUE(WqControlReadWindowPixels(GetMainWindow(), &pixels, width, height));
  return pixels;
}

void GraphicsTest::ExpectClearedFrameShown(std::uint32_t color) {
  SetScreenBackgroundColor(color);
  ASSERT_EQ(ClearDrawTarget(nullptr), 0);
  ASSERT_EQ(PresentScreen(), 0);
  int width = 0, height = 0;
  const std::vector<std::uint32_t> pixels = ReadWindow(&width, &height);
  ASSERT_EQ(width, 882);
  ASSERT_EQ(height, 820);
  for (std::size_t i = 0; i < pixels.size(); ++i) ASSERT_EQ(pixels[i], color) << "pixel " << i;
}

void ExpectLogInOrder(const std::string& log, const std::vector<std::string>& texts) {
  std::size_t position = 0;
  for (const std::string& text : texts) {
    const std::size_t found = log.find(text, position);
    ASSERT_NE(found, std::string::npos) << "missing after byte " << position << ": " << text;
    position = found + text.size();
  }
}

}  // namespace wqtest
