#include "draw_fixture.h"

#include "graphics/graph_load.h"

namespace wqtest {

void DrawTest::StartOn(bool device) {
  ASSERT_EQ(SetUseHardwareRenderer(device ? 1 : 0), 0);
  StartInGameMode();
  ASSERT_EQ(ClearDrawTarget(nullptr), 0);
}

int DrawTest::MakeGraph(int width, int height, bool alpha, const PixelFunction& pixel) {
  BaseImage image{};
  EXPECT_EQ(alpha ? CreateArgbBaseImage(width, height, &image) : CreateXrgbBaseImage(width, height, &image), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixel(x, y);
      SetBaseImagePixel(&image, x, y, p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF, alpha ? p >> 24 : 255);
    }
  }
  const int graph = CreateGraphFromGraphImage(&image, nullptr, 0, 0, 0);
  ReleaseBaseImage(&image);
  EXPECT_GE(graph, 0);
  return graph;
}

std::vector<std::uint32_t> DrawTest::Frame() {
  EXPECT_EQ(PresentScreen(), 0);
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels = ReadWindow(&width, &height);
  EXPECT_EQ(width, kFrameWidth);
  EXPECT_EQ(height, kFrameHeight);
  pixels.resize(static_cast<std::size_t>(kFrameWidth) * kFrameHeight);
  return pixels;
}

std::vector<std::uint32_t> DrawTest::FrameOf(const std::function<void()>& draw) {
  ClearDrawTarget(nullptr);
  draw();
  return Frame();
}

}  // namespace wqtest
