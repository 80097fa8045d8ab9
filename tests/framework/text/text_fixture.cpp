#include "text_fixture.h"

#include "core/window/window_system_state.h"
#include "graphics/screen_memimg.h"

namespace wqtest {

std::uint32_t TextTest::ScreenPixel(int x, int y) {
  const MEMIMG* screen = GetScreenMemImg();
  const auto* row = reinterpret_cast<const std::uint32_t*>(screen->pixels + y * screen->data->pitch);
  return row[x] & 0xFFFFFF;
}

int TextTest::CountLitPixels(int left, int top, int right, int bottom) {
  int lit = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) lit += ScreenPixel(x, y) != 0 ? 1 : 0;
  return lit;
}

std::vector<std::uint32_t> TextTest::ReadWindow(int* width, int* height) const {
  std::vector<std::uint32_t> pixels;
  EXPECT_TRUE(WqControlReadWindowPixels(GetMainWindow(), &pixels, width, height));
  return pixels;
}

}  // namespace wqtest
