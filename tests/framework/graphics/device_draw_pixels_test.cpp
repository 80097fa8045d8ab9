// The draw state on the platform's real device, read back from the window:
// a half-transparent graph blends in mode 1, a colour-keyed graph drops
// its key colour, and a box in mode 2 adds its colour.
#include <gtest/gtest.h>

#include "graphics/device_draw.h"
#include "graphics/graph_load.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/vertex_batch.h"
#include "graphics_fixture.h"

namespace {

using wqtest::GraphicsTest;

// A w x h graph of one colour and alpha (alpha 255 and no alpha channel
// when `withAlpha` is false).
int MakeFilledGraph(int w, int h, int red, int green, int blue, int alpha, bool withAlpha) {
  BaseImage image{};
  if ((withAlpha ? CreateArgbBaseImage(w, h, &image) : CreateXrgbBaseImage(w, h, &image)) != 0) return -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetBaseImagePixel(&image, x, y, red, green, blue, alpha);
  const int graph = CreateGraphFromGraphImage(&image, nullptr, 0, 0, 0);
  ReleaseBaseImage(&image);
  return graph;
}

class DeviceDrawPixelsTest : public GraphicsTest {
 protected:
  void ClearTo(std::uint32_t color) {
    SetScreenBackgroundColor(color);
    ASSERT_EQ(ClearDrawTarget(nullptr), 0);
  }
  void Present() {
    FlushVertexBatch();
    ASSERT_EQ(PresentScreen(), 0);
    int width = 0, height = 0;
    pixels_ = ReadWindow(&width, &height);
    width_ = width;
  }
  void ExpectPixelNear(int x, int y, std::uint32_t expected) {
    const std::uint32_t pixel = pixels_.at(static_cast<std::size_t>(y * width_ + x));
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(static_cast<int>(pixel >> shift & 0xFF), static_cast<int>(expected >> shift & 0xFF), 3)
          << std::hex << pixel << " against " << expected << " at " << std::dec << x << ", " << y;
  }

 private:
  std::vector<std::uint32_t> pixels_;
  int width_ = 0;
};

TEST_F(DeviceDrawPixelsTest, HalfTransparentGraphBlendsInModeOne) {
  StartInGameMode();
  const int graph = MakeFilledGraph(32, 32, 255, 0, 0, 255, false);
  ASSERT_NE(graph, -1);
  ClearTo(0x0000FF);
  SetBlendMode(1, 128);
  ASSERT_EQ(G_D3D_DrawGraph(FindGraphRecord(graph), 100, 100, 100.0f, 100.0f, 1, 1), 0);
  SetBlendMode(0, 0);
  Present();
  ExpectPixelNear(110, 110, 0x800080);  // 128/255 of red over blue
  ExpectPixelNear(99, 110, 0x0000FF);
  ExpectPixelNear(131, 131, 0x800080);
  ExpectPixelNear(132, 131, 0x0000FF);
}

TEST_F(DeviceDrawPixelsTest, GraphAlphaBlendsAndBoxesAddInModeTwo) {
  StartInGameMode();
  const int graph = MakeFilledGraph(16, 16, 0, 255, 0, 64, true);
  ASSERT_NE(graph, -1);
  ClearTo(0x000080);
  ASSERT_EQ(G_D3D_DrawGraph(FindGraphRecord(graph), 10, 10, 10.0f, 10.0f, 1, 1), 0);
  SetBlendMode(2, 255);
  ASSERT_EQ(G_D3D_DrawBox(50, 50, 60, 60, static_cast<int>(MakeColor(128, 0, 0))), 0);
  SetBlendMode(0, 0);
  Present();
  ExpectPixelNear(15, 15, 0x004060);  // a quarter green over the blue
  ExpectPixelNear(55, 55, 0x800080);
  ExpectPixelNear(60, 55, 0x000080);
}

// A blend graph whose alpha rises from 0 to 248 across 32 pixels: a hard
// edge (range 0) cuts the graph where the value reaches the border
// parameter; a soft one (range 255) fades it across the whole width.
TEST_F(DeviceDrawPixelsTest, BlendGraphThresholdFollowsTheBorderParameter) {
  StartInGameMode();
  const int graph = MakeFilledGraph(32, 8, 255, 0, 0, 255, false);
  BaseImage ramp{};
  ASSERT_EQ(CreateArgbBaseImage(32, 8, &ramp), 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 32; ++x) SetBaseImagePixel(&ramp, x, y, 0, 0, 0, x * 8);
  const int blend = CreateGraphFromGraphImage(&ramp, nullptr, 0, 0, 0);
  ReleaseBaseImage(&ramp);
  ASSERT_NE(graph, -1);
  ASSERT_NE(blend, -1);
  const GraphImageInfo* info = FindGraphRecord(blend)->image;
  SetPendingBlendTexture(info->entries[0].texture, 0, 0);
  BlendTextureSize[0] = static_cast<float>(info->entries[0].textureWidth);
  BlendTextureSize[1] = static_cast<float>(info->entries[0].textureHeight);
  BlendTextureSize[2] = 1.0f / BlendTextureSize[0];
  BlendTextureSize[3] = 1.0f / BlendTextureSize[1];
  ClearTo(0x0000FF);
  BlendBorderParam = 128;
  BlendBorderRange = 0;
  ASSERT_EQ(G_D3D_DrawGraph(FindGraphRecord(graph), 0, 0, 0.0f, 0.0f, 0, 1), 0);
  BlendBorderRange = 255;
  ASSERT_EQ(G_D3D_DrawGraph(FindGraphRecord(graph), 0, 20, 0.0f, 20.0f, 0, 1), 0);
  SetPendingBlendTexture(nullptr, -1, -1);
  Present();
  ExpectPixelNear(15, 4, 0x0000FF);  // 120 < 128
  ExpectPixelNear(16, 4, 0xFF0000);  // 128
  ExpectPixelNear(31, 4, 0xFF0000);
  // Soft: alpha = value - 2 x 128/255 + 1, about the value itself.
  ExpectPixelNear(0, 24, 0x0000FF);
  ExpectPixelNear(16, 24, 0x80007F);
  ExpectPixelNear(31, 24, 0xF8000A);
}

}  // namespace
