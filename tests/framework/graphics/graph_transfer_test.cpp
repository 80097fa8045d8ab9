// Image rectangles into graphs: the texture's texels, its repeated edge
// column and row and its mip levels on the device; the MEMIMG on the
// software screen.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "graphics/graph_setup.h"
#include "graphics/graph_transfer.h"
#include "graphics/graphics_state.h"
#include "graphics_fixture.h"

namespace {

// Colour of the 2 x 2 block holding (x, y), so a halved level is exact.
std::uint32_t BlockColor(int x, int y) {
  return 0xFF000000u | static_cast<std::uint32_t>((x / 2) * 5) << 16 | static_cast<std::uint32_t>((y / 2) * 5) << 8 | 0x40u;
}

class GraphTransferTest : public wqtest::GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    ASSERT_EQ(CreateArgbBaseImage(100, 100, &image_), 0);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) {
        const std::uint32_t c = BlockColor(x, y);
        SetBaseImagePixel(&image_, x, y, c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF, 255);
      }
  }
  void TearDown() override {
    ReleaseBaseImage(&image_);
    GraphicsTest::TearDown();
  }
  int MakeGraph(int width, int height, int alpha) {
    const int handle = AllocGraphHandle();
    EXPECT_EQ(SetupGraphRecord(-1, handle, width, height, alpha, 0), 0);
    return handle;
  }
  BaseImage image_{};
};

std::uint32_t Texel(const D_D3DLOCKED_RECT& locked, int x, int y) {
  std::uint32_t value = 0;
  std::memcpy(&value, static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch + x * 4, 4);
  return value;
}

TEST_F(GraphTransferTest, DeviceTextureGetsPixelsRepeatedEdgesAndHalvedLevels) {
  StartInGameMode();
  const int graph = MakeGraph(100, 100, 1);
  const RECT whole{0, 0, 100, 100};
  ASSERT_EQ(TransferImageToGraph(graph, whole, 0, 0, &image_, nullptr, 0, 0), 0);
  D_IDirect3DTexture9* texture = FindGraphRecord(graph)->image->entries[0].texture;
  D_D3DLOCKED_RECT level0{};
  ASSERT_EQ(texture->LockRect(0, &level0, nullptr, 0), 0);
  EXPECT_EQ(Texel(level0, 0, 0), BlockColor(0, 0));
  EXPECT_EQ(Texel(level0, 37, 81), BlockColor(37, 81));
  EXPECT_EQ(Texel(level0, 100, 40), BlockColor(99, 40));  // edge column repeated
  EXPECT_EQ(Texel(level0, 40, 100), BlockColor(40, 99));  // edge row repeated
  EXPECT_EQ(Texel(level0, 100, 100), BlockColor(99, 99));
  EXPECT_EQ(Texel(level0, 101, 40), 0u);  // the rest of the slack stays clear
  texture->UnlockRect(0);
  D_D3DLOCKED_RECT level1{};
  ASSERT_EQ(texture->LockRect(1, &level1, nullptr, 0), 0);
  EXPECT_EQ(Texel(level1, 10, 20), BlockColor(20, 40));
  texture->UnlockRect(1);
}

TEST_F(GraphTransferTest, RectanglesAreClippedEmptyOnesChangeNothing) {
  StartInGameMode();
  const int graph = MakeGraph(100, 100, 1);
  EXPECT_EQ(TransferImageToGraph(graph, RECT{0, 0, 0, 10}, 0, 0, &image_, nullptr, 0, 0), 0);
  EXPECT_EQ(TransferImageToGraph(graph + 1, RECT{0, 0, 10, 10}, 0, 0, &image_, nullptr, 0, 0), -1);
  // A part at an offset lands at that offset.
  ASSERT_EQ(TransferImageToGraph(graph, RECT{10, 10, 20, 20}, 50, 60, &image_, nullptr, 0, 0), 0);
  D_IDirect3DTexture9* texture = FindGraphRecord(graph)->image->entries[0].texture;
  D_D3DLOCKED_RECT locked{};
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), 0);
  EXPECT_EQ(Texel(locked, 50, 60), BlockColor(10, 10));
  EXPECT_EQ(Texel(locked, 59, 69), BlockColor(19, 19));
  EXPECT_EQ(Texel(locked, 60, 60), 0u);
  EXPECT_EQ(Texel(locked, 0, 0), 0u);
  texture->UnlockRect(0);
}

TEST_F(GraphTransferTest, SoftwareGraphGetsPixelsInItsMemImg) {
  ASSERT_EQ(SetUseHardwareRenderer(0), 0);
  StartInGameMode();
  const int graph = MakeGraph(100, 60, 0);
  ASSERT_EQ(TransferImageToGraph(graph, RECT{0, 0, 100, 100}, 0, 0, &image_, nullptr, 0, 0), 0);
  const MEMIMG& view = FindGraphRecord(graph)->view;
  auto pixel = [&](int x, int y) {
    std::uint32_t value = 0;
    std::memcpy(&value, view.pixels + y * view.data->pitch + x * 4, 4);
    return value & 0xFFFFFF;
  };
  EXPECT_EQ(pixel(0, 0), BlockColor(0, 0) & 0xFFFFFF);
  EXPECT_EQ(pixel(99, 59), BlockColor(99, 59) & 0xFFFFFF);
  // Wholly outside the graph.
  EXPECT_EQ(TransferImageToGraph(graph, RECT{0, 0, 10, 10}, 100, 0, &image_, nullptr, 0, 0), -1);
}

}  // namespace
