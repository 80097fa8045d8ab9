// Golden frames of the public draws on both renderers: a picture with alpha
// in every blend mode, rotated draws, circles, a strip cut from one
// picture, stretched and four-corner draws, and tints. Each frame is
// compared with its frozen hash (the frames were looked at before the
// hashes were frozen; setting WQ_DRAW_REVIEW_DIR writes them there as PNG),
// and the two renderers' frames with each other: where both renderers draw
// a scene's blend modes, at most 1% of the pixels may differ by more than 40
// in a channel (edges of turned and stretched pictures fall on different
// pixels; the device blends in floating point).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "draw_fixture.h"
#include "png_file.h"
#include "support/temp_dir.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

std::uint64_t Fnv1a(const Pixels& frame) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (std::uint32_t pixel : frame) {
    for (int shift = 0; shift < 24; shift += 8) hash = (hash ^ (pixel >> shift & 0xFF)) * 0x100000001B3ull;
  }
  return hash;
}

// A 48 x 48 orb: orange fading to transparent at its rim, with a white
// highlight and a dark ring, so that every blend mode shows something.
std::uint32_t Orb(int x, int y) {
  const double dx = x + 0.5 - 24, dy = y + 0.5 - 24, r = std::hypot(dx, dy);
  if (r >= 23) return 0;
  const auto alpha = static_cast<std::uint32_t>(std::lround(255 * std::min(1.0, (23 - r) / 8)));
  if (std::hypot(dx + 8, dy + 8) < 6) return alpha << 24 | 0xFFFFFF;
  if (r > 15 && r < 18) return alpha << 24 | 0x402010;
  return alpha << 24 | static_cast<std::uint32_t>(0xFF8020 + (static_cast<int>(r) << 1));
}

// 4 x 4 cells of 24 x 24: cell n has its own colour and n + 1 dots.
std::uint32_t Cells(int x, int y) {
  const int n = y / 24 * 4 + x / 24, cx = x % 24, cy = y % 24;
  const std::uint32_t colour =
      0xFF000000u | static_cast<std::uint32_t>((n * 53 % 200 + 40) << 16 | (n * 97 % 200 + 40) << 8 | (255 - n * 12));
  if (cx == 0 || cy == 0) return 0xFFFFFFFFu;
  const int dot = (cy - 3) / 5 * 4 + (cx - 3) / 5;
  const bool onDot = cx >= 3 && cy >= 3 && (cx - 3) % 5 < 3 && (cy - 3) % 5 < 3 && dot <= n;
  return onDot ? 0xFF101010u : colour;
}

// An opaque background of soft diagonal bands, for the blend modes to act on.
std::uint32_t Bands(int x, int y) {
  const int band = (x + y) / 16 % 4;
  const std::uint32_t colours[] = {0x304878, 0x80A040, 0xC0C0C0, 0x603020};
  return 0xFF000000u | colours[band];
}

// An arrow-like picture whose turn and mirror show: red tip to the right,
// a yellow edge on top.
std::uint32_t Arrow(int x, int y) {
  if (y < 4) return 0xFFF0E040;
  if (std::abs(y - 16) < (40 - x) / 3 && x >= 24) return 0xFFE02020;
  if (std::abs(y - 16) < 5 && x < 24) return 0xFF2060E0;
  return 0xFF20A040;
}

class DrawGoldenTest : public wqtest::DrawTest {
 protected:
  // Writes the pictures the scenes load.
  void SetUp() override {
    DrawTest::SetUp();
    WritePng("orb.png", 48, 48, Orb);
    WritePng("cells.png", 96, 96, Cells);
  }
  void WritePng(const std::string& name, int width, int height, std::uint32_t (*pixel)(int, int)) {
    Pixels pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels[static_cast<std::size_t>(y) * width + x] = pixel(x, y);
    files_.WriteFile(name, wqtest::EncodePng(pixels, width, height, true));
  }
  std::string PathOf(const std::string& name) const { return files_.WindowsPath() + "\\" + name; }

  // The frame the scene draws on one renderer, written for review when asked.
  Pixels Render(bool device, const char* name, const std::function<void()>& scene) {
    StartOn(device);
    scene();
    Pixels frame = Frame();
    EndLibrary();
    if (const char* folder = std::getenv("WQ_DRAW_REVIEW_DIR")) {
      std::ofstream(std::string(folder) + "/" + name + (device ? "_device.png" : "_software.png"), std::ios::binary)
          << wqtest::EncodePng(frame, wqtest::kFrameWidth, wqtest::kFrameHeight, false);
    }
    return frame;
  }
  // Renders on both and checks both hashes and their agreement outside the
  // rectangles where the renderers are not meant to agree.
  struct Box {
    int left, top, right, bottom;
  };
  void Check(const char* name, const std::function<void()>& scene, std::uint64_t softwareHash, std::uint64_t deviceHash,
             std::vector<Box> excluded = {}) {
    const Pixels software = Render(false, name, scene);
    const Pixels device = Render(true, name, scene);
    EXPECT_EQ(Fnv1a(software), softwareHash) << name << " software";
    EXPECT_EQ(Fnv1a(device), deviceHash) << name << " device";
    int compared = 0, differing = 0;
    for (int y = 0; y < wqtest::kFrameHeight; ++y) {
      for (int x = 0; x < wqtest::kFrameWidth; ++x) {
        bool skip = false;
        for (const Box& b : excluded) skip = skip || (x >= b.left && x < b.right && y >= b.top && y < b.bottom);
        if (skip) continue;
        ++compared;
        const std::uint32_t a = wqtest::At(software, x, y), b = wqtest::At(device, x, y);
        for (int shift = 0; shift < 24; shift += 8) {
          if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 40) {
            ++differing;
            break;
          }
        }
      }
    }
    EXPECT_LE(differing, compared / 100) << name << ": pixels differing between the renderers";
  }

  void DrawBackground() {
    const int bands = MakeGraph(64, 64, false, Bands);
    for (int y = 0; y < wqtest::kFrameHeight; y += 64)
      for (int x = 0; x < wqtest::kFrameWidth; x += 64) DrawGraph(x, y, bands, 0);
  }

  // Modes 0 to 14 at parameter 255 (top row) and 128 (bottom row).
  void BlendModes() {
    DrawBackground();
    const int orb = LoadGraph(PathOf("orb.png").c_str(), 0);
    ASSERT_GE(orb, 0);
    for (int mode = 0; mode < 15; ++mode) {
      for (int row = 0; row < 2; ++row) {
        SetBlendMode(mode, row == 0 ? 255 : 128);
        EXPECT_EQ(DrawGraph(20 + mode * 56, 40 + row * 80, orb, 1), 0) << mode;
      }
    }
    SetBlendMode(0, 0);
  }

  void Rotations() {
    DrawBackground();
    const int arrow = MakeGraph(40, 32, false, Arrow);
    const double angles[] = {0.0, 0.4, M_PI / 2, 2.5, M_PI, -M_PI / 2};
    const double scales[] = {0.5, 1.0, 1.5, 2.0};
    for (int a = 0; a < 6; ++a) {
      for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(DrawGraphRotated(80 + a * 140, 80 + s * 160, scales[s], angles[a], arrow, 1, s == 3), 0);
      }
    }
  }

  void Circles() {
    const int colours[] = {static_cast<int>(MakeColor(255, 255, 255)), static_cast<int>(MakeColor(255, 64, 32)),
                           static_cast<int>(MakeColor(40, 200, 90))};
    for (int i = 0; i < 8; ++i) {
      const int r = i * i * 5;
      DrawCircleShape(60 + i * 100, 200, r, colours[i % 3], 0);
      DrawCircleShape(60 + i * 100, 600, r, colours[(i + 1) % 3], 1);
    }
    DrawCircleShape(0, 400, 50, colours[0], 1);  // clipped by the screen's edge
    DrawCircleShape(881, 400, 50, colours[1], 0);
  }

  void DivisionStrip() {
    DrawBackground();
    int cells[16];
    ASSERT_EQ(LoadDivGraph(PathOf("cells.png").c_str(), 16, 4, 4, 24, 24, cells, 0), 0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(DrawGraph(20 + i * 26, 100, cells[i], 1), 0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(DrawGraph(20 + i * 24, 140, cells[i], 1), 0);
  }

  void StretchedAndQuads() {
    DrawBackground();
    const int arrow = MakeGraph(40, 32, false, Arrow);
    const int orb = LoadGraph(PathOf("orb.png").c_str(), 0);
    SetBlendMode(1, 255);
    EXPECT_EQ(DrawGraphStretched(20, 20, 220, 100, arrow, 1), 0);
    EXPECT_EQ(DrawGraphStretched(440, 20, 240, 100, arrow, 1), 0);  // mirrored
    EXPECT_EQ(DrawGraphStretched(460, 100, 560, 20, arrow, 1), 0);  // upside down
    EXPECT_EQ(DrawGraphTurned(600, 40, arrow, 1), 0);
    EXPECT_EQ(DrawGraphStretched(680, 20, 860, 200, orb, 1), 0);
    EXPECT_EQ(DrawGraphQuadF(40, 240, 240, 260, 220, 400, 20, 380, arrow, 1), 0);  // parallelogram-ish
    EXPECT_EQ(DrawGraphQuadF(300, 260, 500, 260, 500, 420, 300, 420, orb, 1), 0);  // rectangle
    EXPECT_EQ(DrawGraphQuadF(560, 240, 840, 300, 780, 420, 600, 400, arrow, 1), 0);
    EXPECT_EQ(DrawGraphRect(40, 480, 8, 8, 32, 32, orb, 1, 0), 0);
    EXPECT_EQ(DrawGraphRect(100, 480, 8, 8, 32, 32, orb, 1, 1), 0);
    EXPECT_EQ(DrawGraphRectStretchedF(200, 480, 400, 680, 24, 0, 24, 24, orb, 1), 0);
    SetBlendMode(0, 0);
  }

  void Tints() {
    DrawBackground();
    const int orb = LoadGraph(PathOf("orb.png").c_str(), 0);
    const int arrow = MakeGraph(40, 32, false, Arrow);
    const int tints[][3] = {{255, 255, 255}, {255, 0, 0}, {0, 255, 128}, {128, 128, 255}, {64, 64, 64}, {0, 0, 0}};
    for (int i = 0; i < 6; ++i) {
      SetDrawBrightness(tints[i][0], tints[i][1], tints[i][2]);
      SetBlendMode(1, 255);
      DrawGraph(40 + i * 130, 60, orb, 1);
      SetBlendMode(2, 200);
      DrawGraph(40 + i * 130, 160, orb, 1);
      SetBlendMode(0, 0);
      DrawGraph(40 + i * 130, 260, arrow, 1);
      DrawGraphRotated(60 + i * 130, 380, 1.5, 0.6, arrow, 1, 0);
      DrawCircleShape(60 + i * 130, 480, 30, static_cast<int>(MakeColor(255, 255, 255)), 1);
    }
    SetDrawBrightness(255, 255, 255);
  }

  wqtest::TempDir files_;
};

TEST_F(DrawGoldenTest, EveryBlendMode) {
  // The software kernels draw nothing in modes 5 to 9 and 12 to 14.
  Check("blend_modes", [this] { BlendModes(); }, 8180658328955858676ull, 13980048693353244554ull,
        {{296, 0, 576, 200}, {688, 0, 882, 200}});
}
TEST_F(DrawGoldenTest, RotatedAtSeveralAnglesAndScales) {
  Check(
      "rotated", [this] { Rotations(); }, 9723803916022756101ull, 11982497331368680085ull);
}
TEST_F(DrawGoldenTest, CirclesOutlinedAndFilled) {
  Check(
      "circles", [this] { Circles(); }, 17247899100247832717ull, 14827756711176463987ull);
}
TEST_F(DrawGoldenTest, SixteenCellsCutFromOnePicture) {
  Check(
      "division_strip", [this] { DivisionStrip(); }, 13877369354690381365ull, 13877369354690381365ull);
}
TEST_F(DrawGoldenTest, StretchedAndFourCornerDraws) {
  // A four-corner draw that is not a parallelogram follows the quad's
  // perspective on the device and two flat triangles in software.
  Check("stretched", [this] { StretchedAndQuads(); }, 4744023892080315252ull, 491105230263773384ull,
        {{556, 236, 844, 424}});
}
TEST_F(DrawGoldenTest, Tints) {
  Check(
      "tints", [this] { Tints(); }, 7455918990063119137ull, 14538156848935730149ull);
}

}  // namespace
