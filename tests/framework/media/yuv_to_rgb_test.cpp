// YUV pictures into RGB pixels and into the packed surface layouts.
#include "media/yuv_to_rgb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

struct Picture {
  int width, height, uvWidth, uvHeight;
  std::vector<std::uint8_t> y, u, v;
  Picture(int w, int h, int uw, int uh)
      : width(w), height(h), uvWidth(uw), uvHeight(uh), y(w * h), u(uw * uh), v(uw * uh) {}
  YuvPlanes Planes() {
    return {y.data(), u.data(), v.data(), width, height, width, uvWidth, uvHeight, uvWidth};
  }
};

struct Image {
  BaseImage image{};
  Image(int width, int height) { CreateXrgbBaseImage(width, height, &image); }
  ~Image() { ReleaseBaseImage(&image); }
  const std::uint8_t* Pixel(int x, int y) const {
    return static_cast<const std::uint8_t*>(image.pixels) + y * image.pitch + 4 * x;
  }
};

class YuvToRgbTest : public testing::Test {
 protected:
  void SetUp() override { BuildYuvToRgbTables(); }
};

TEST_F(YuvToRgbTest, TableConversionHitsTheRangeEnds) {
  const struct {
    int y, u, v;
    int red, green, blue;
  } cases[] = {
      {16, 128, 128, 0, 0, 0},        // video black
      {235, 128, 128, 254, 254, 254},  // video white truncates to 254
      {255, 128, 255, 255, 174, 255},  // red (and blue) saturate
      {0, 0, 128, 0, 31, 0},           // blue's negative sum truncates toward zero, then clamps
  };
  for (const auto& c : cases) {
    Picture picture(2, 2, 1, 1);
    std::fill(picture.y.begin(), picture.y.end(), c.y);
    picture.u[0] = static_cast<std::uint8_t>(c.u);
    picture.v[0] = static_cast<std::uint8_t>(c.v);
    Image out(2, 2);
    ConvertYuvToXrgb(picture.Planes(), &out.image);
    for (int i = 0; i < 4; ++i) {
      const std::uint8_t* pixel = out.Pixel(i % 2, i / 2);
      EXPECT_EQ(pixel[2], c.red) << c.y << "," << c.u << "," << c.v;
      EXPECT_EQ(pixel[1], c.green) << c.y << "," << c.u << "," << c.v;
      EXPECT_EQ(pixel[0], c.blue) << c.y << "," << c.u << "," << c.v;
      EXPECT_EQ(pixel[3], 255);
    }
  }
}

// Both paths (2 x 2 blocks for 4:2:0, per pixel otherwise) against the
// formula, each pixel with the chroma of its own block.
TEST_F(YuvToRgbTest, BothLayoutsMatchTheFormulaPixelByPixel) {
  std::mt19937 random(5);
  const struct {
    int width, height, uvWidth, uvHeight;
  } layouts[] = {{8, 6, 4, 3}, {7, 5, 4, 3}};
  for (const auto& layout : layouts) {
    Picture picture(layout.width, layout.height, layout.uvWidth, layout.uvHeight);
    for (auto* plane : {&picture.y, &picture.u, &picture.v})
      for (auto& byte : *plane) byte = static_cast<std::uint8_t>(random());
    Image out(layout.width, layout.height);
    ConvertYuvToXrgb(picture.Planes(), &out.image);
    for (int row = 0; row < layout.height; ++row) {
      for (int column = 0; column < layout.width; ++column) {
        const double y = (picture.y[row * layout.width + column] - 16) * 1.164;
        const double u = picture.u[row / 2 * layout.uvWidth + column / 2] - 128;
        const double v = picture.v[row / 2 * layout.uvWidth + column / 2] - 128;
        auto channel = [](double value) { return std::clamp(static_cast<int>(value), 0, 255); };
        const std::uint8_t* pixel = out.Pixel(column, row);
        EXPECT_NEAR(pixel[2], channel(y + 1.596 * v), 1) << column << "," << row;
        EXPECT_NEAR(pixel[1], channel(y - 0.391 * u - 0.813 * v), 1) << column << "," << row;
        EXPECT_NEAR(pixel[0], channel(y + 2.018 * u), 1) << column << "," << row;
      }
    }
  }
}

TEST_F(YuvToRgbTest, SurfaceLayoutsPlaceEveryByte) {
  Picture picture(4, 2, 2, 1);
  picture.y = {1, 2, 3, 4, 5, 6, 7, 8};
  picture.u = {20, 21};
  picture.v = {30, 31};
  const int pitch = 12;
  auto write = [&](YuvSurfaceLayout layout) {
    std::vector<std::uint8_t> bits(pitch * 3, 0xEE);
    WriteYuvSurface(picture.Planes(), layout, bits.data(), pitch);
    return bits;
  };
  const std::vector<std::uint8_t> yv12 = write(YuvSurfaceLayout::kYv12);
  EXPECT_EQ(std::vector<std::uint8_t>(yv12.begin(), yv12.begin() + 4), (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(std::vector<std::uint8_t>(yv12.begin() + 12, yv12.begin() + 16), (std::vector<std::uint8_t>{5, 6, 7, 8}));
  // V, then U, at half the pitch right after the luma rows.
  EXPECT_EQ(yv12[24], 30);
  EXPECT_EQ(yv12[25], 31);
  EXPECT_EQ(yv12[30], 20);
  EXPECT_EQ(yv12[31], 21);
  const std::vector<std::uint8_t> yuy2 = write(YuvSurfaceLayout::kYuy2);
  EXPECT_EQ(std::vector<std::uint8_t>(yuy2.begin(), yuy2.begin() + 8),
            (std::vector<std::uint8_t>{1, 20, 2, 30, 3, 21, 4, 31}));
  EXPECT_EQ(std::vector<std::uint8_t>(yuy2.begin() + 12, yuy2.begin() + 20),
            (std::vector<std::uint8_t>{5, 20, 6, 30, 7, 21, 8, 31}));
  const std::vector<std::uint8_t> uyvy = write(YuvSurfaceLayout::kUyvy);
  EXPECT_EQ(std::vector<std::uint8_t>(uyvy.begin() + 12, uyvy.begin() + 20),
            (std::vector<std::uint8_t>{20, 5, 30, 6, 21, 7, 31, 8}));
  EXPECT_EQ(uyvy[8], 0xEE);  // nothing past the row's pairs
}

}  // namespace
