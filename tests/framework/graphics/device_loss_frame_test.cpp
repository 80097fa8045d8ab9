// A frame drawn after the device was lost and rebuilt shows exactly what
// the same frame showed before: graphs from files (whole and cut), a graph
// made from a base image, blend modes, tints, turned draws and circles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "draw_fixture.h"
#include "graphics/graphics_start.h"
#include "png_file.h"
#include "support/temp_dir.h"

namespace {

// A 32 x 32 disc fading out at its rim, for the blended draws.
std::uint32_t Disc(int x, int y) {
  const double r = std::hypot(x + 0.5 - 16, y + 0.5 - 16);
  if (r >= 15) return 0;
  const auto alpha = static_cast<std::uint32_t>(std::lround(255 * std::min(1.0, (15 - r) / 6)));
  return alpha << 24 | (x < 16 ? 0x40C0F0u : 0xF08030u);
}

// 64 x 64 in four cells of 32, each its own colour with a dark corner.
std::uint32_t Quads(int x, int y) {
  if (x % 32 < 6 && y % 32 < 6) return 0xFF101010u;
  const std::uint32_t colours[] = {0xFFE04040u, 0xFF40E040u, 0xFF4040E0u, 0xFFE0E040u};
  return colours[y / 32 * 2 + x / 32];
}

class DeviceLossFrameTest : public wqtest::DrawTest {
 protected:
  void WritePng(const std::string& name, int size, std::uint32_t (*pixel)(int, int)) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) pixels[static_cast<std::size_t>(y) * size + x] = pixel(x, y);
    files_.WriteFile(name, wqtest::EncodePng(pixels, size, size, true));
  }
  std::string PathOf(const std::string& name) const { return files_.WindowsPath() + "\\" + name; }

  void MakeGraphs() {
    WritePng("disc.png", 32, Disc);
    WritePng("quads.png", 64, Quads);
    disc_ = LoadGraph(PathOf("disc.png").c_str(), 0);
    ASSERT_GE(disc_, 0);
    ASSERT_EQ(LoadDivGraph(PathOf("quads.png").c_str(), 4, 2, 2, 32, 32, cells_, 0), 0);
    stripes_ = MakeGraph(40, 24, false, [](int x, int y) { return y < 8 ? 0xFF3060A0u : (x & 4 ? 0xFFA06030u : 0u); });
  }

  void Scene() {
    for (int i = 0; i < 4; ++i) DrawGraph(20 + i * 40, 20, cells_[i], 1);
    for (int mode = 0; mode < 5; ++mode) {
      SetBlendMode(mode, 200);
      DrawGraph(20 + mode * 40, 80, disc_, 1);
      DrawGraph(20 + mode * 40, 90, stripes_, 1);
    }
    SetBlendMode(0, 0);
    SetDrawBrightness(255, 128, 64);
    DrawGraphRotated(300, 60, 1.5, 0.7, stripes_, 1, 1);
    DrawGraphStretched(360, 20, 460, 120, cells_[3], 1);
    SetDrawBrightness(255, 255, 255);
    DrawCircleShape(520, 70, 40, static_cast<int>(MakeColor(200, 220, 40)), 1);
    DrawCircleShape(620, 70, 40, static_cast<int>(MakeColor(40, 220, 200)), 0);
  }

  wqtest::TempDir files_;
  int disc_ = -1, stripes_ = -1;
  int cells_[4] = {};
};

TEST_F(DeviceLossFrameTest, TheFrameAfterTheRebuildEqualsTheFrameBeforeTheLoss) {
  StartOn(true);
  MakeGraphs();
  const std::vector<std::uint32_t> before = FrameOf([this] { Scene(); });

  WqControlLoseD3d9Devices();
  ASSERT_EQ(PresentScreen(), 0);  // the loss is noticed
  ASSERT_EQ(PresentScreen(), 0);  // and the device rebuilt
  ASSERT_EQ(Graphics().deviceLost, 0);
  ASSERT_EQ(IsDirect3DRendererInUse(), 1);

  const std::vector<std::uint32_t> after = FrameOf([this] { Scene(); });
  int differing = 0, first = -1;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] != after[i]) {
      if (first < 0) first = static_cast<int>(i);
      ++differing;
    }
  }
  EXPECT_EQ(differing, 0) << "first at x " << first % wqtest::kFrameWidth << ", y " << first / wqtest::kFrameWidth;
  EXPECT_NE(wqtest::At(before, 30, 30), 0u) << "the scene drew something";
}

}  // namespace
