// Software images: rectangle fills and the premultiplied plane and
// run-length stream built after a load.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/memimg.h"

namespace {

// An image whose pixels are set by the test; released at the end.
class MemImgFixture : public testing::Test {
 protected:
  void Create(int width, int height, int type, int palette, int alpha, std::uint32_t key = 0) {
    ASSERT_EQ(CreateMemImg(&image_, width, height, -1, key, type, palette, alpha, 1, nullptr), 0);
    std::memset(image_.data->pixelBuffer, 0, static_cast<size_t>(image_.data->pitch) * height);
  }
  void TearDown() override { ReleaseMemImg(&image_); }

  template <typename Pixel>
  void Set(int x, int y, Pixel value) {
    std::memcpy(image_.pixels + y * image_.data->pitch + x * sizeof(Pixel), &value, sizeof(Pixel));
  }
  template <typename Pixel>
  Pixel Get(const std::uint8_t* base, int x, int y) const {
    Pixel value;
    std::memcpy(&value, base + y * image_.data->pitch + x * sizeof(Pixel), sizeof(Pixel));
    return value;
  }
  // The stream up to and including the end of the given number of rows.
  std::vector<std::uint8_t> Stream(int rows) const {
    std::vector<std::uint8_t> out;
    const std::uint8_t* at = image_.data->runLengths;
    for (int ended = 0; ended < rows;) {
      out.push_back(*at);
      if (*at++ == kMemImgRunRowEnd) ++ended;
    }
    return out;
  }

  MEMIMG image_{};
};

using MemImgFillTest = MemImgFixture;

TEST_F(MemImgFillTest, FillClipsToTheImageAndWritesTheLowBytes) {
  Create(6, 4, kMemImgRgb565, 0, 0);
  const RECT rect{-3, 2, 4, 99};
  FillMemImgRect(&image_, &rect, 0xABCD1234);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(Get<std::uint16_t>(image_.pixels, x, y), (y >= 2 && x < 4) ? 0x1234 : 0) << x << "," << y;
}

TEST_F(MemImgFillTest, NullRectangleFillsEverythingAndOutsideFillsNothing) {
  Create(3, 3, kMemImgRgb32, 0, 0);
  const RECT outside{5, 5, 9, 9};
  FillMemImgRect(&image_, &outside, 0xFFFFFFFF);
  const RECT inverted{2, 2, 1, 1};
  FillMemImgRect(&image_, &inverted, 0xFFFFFFFF);
  EXPECT_EQ(Get<std::uint32_t>(image_.pixels, 2, 2), 0u);
  FillMemImgRect(&image_, nullptr, 0x11223344);
  EXPECT_EQ(Get<std::uint32_t>(image_.pixels, 0, 0), 0x11223344u);
  EXPECT_EQ(Get<std::uint32_t>(image_.pixels, 2, 2), 0x11223344u);
  // The padding behind the row stays untouched.
  EXPECT_EQ(image_.pixels[12], 0);
}

TEST_F(MemImgFillTest, FillOfAViewStaysInsideTheView) {
  Create(8, 8, kMemImgChannel8, 0, 0);
  MEMIMG view{};
  MakeMemImgView(&view, &image_, 2, 3, 2, 2);
  FillMemImgRect(&view, nullptr, 0x7F);
  int filled = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) filled += Get<std::uint8_t>(image_.pixels, x, y) == 0x7F;
  EXPECT_EQ(filled, 4);
  EXPECT_EQ(Get<std::uint8_t>(image_.pixels, 3, 4), 0x7F);
  ReleaseMemImg(&view);
}

using MemImgPlanesTest = MemImgFixture;

TEST_F(MemImgPlanesTest, KeyColourRunsSplitAtSixtyFourPixels) {
  Create(70, 2, kMemImgRgb32, 0, 0, 0x00FF00FF);
  for (int x = 0; x < 70; ++x) Set<std::uint32_t>(x, 0, 0x00FF00FF);
  Set<std::uint32_t>(0, 1, 0x00FF00FF);
  Set<std::uint32_t>(1, 1, 0xFFFF00FF);  // differs only in the unused byte: not the key
  RefreshMemImgPlanes(&image_, image_.width, image_.height);
  EXPECT_EQ(image_.data->runLengthValid, 1);
  EXPECT_EQ(image_.data->premultipliedValid, 0);
  EXPECT_EQ(Stream(2), (std::vector<std::uint8_t>{0x3F, 0x05, 0xC0, 0x00, 0x7F, 0x44, 0xC0}));
}

TEST_F(MemImgPlanesTest, AlphaClassesAndPremultipliedPlane32) {
  Create(5, 1, kMemImgRgb32, 0, 1);
  Set<std::uint32_t>(0, 0, 0x00FFFFFF);  // alpha 0
  Set<std::uint32_t>(1, 0, 0x01102030);  // alpha 1
  Set<std::uint32_t>(2, 0, 0xFE102030);  // alpha 254
  Set<std::uint32_t>(3, 0, 0xFF804020);  // alpha 255
  Set<std::uint32_t>(4, 0, 0x80FF8040);  // alpha 128
  RefreshMemImgPlanes(&image_, image_.width, image_.height);
  EXPECT_EQ(Stream(1), (std::vector<std::uint8_t>{0x00, 0x81, 0x40, 0x80, 0xC0}));
  ASSERT_EQ(image_.data->premultipliedValid, 1);
  const std::uint8_t* plane = image_.premultipliedPixels;
  EXPECT_EQ(Get<std::uint32_t>(plane, 0, 0), 0x00000000u);
  // Each channel x alpha >> 8: 255 x 255 >> 8 = 254, no rounding.
  EXPECT_EQ(Get<std::uint32_t>(plane, 3, 0), 0xFF7F3F1Fu);
  EXPECT_EQ(Get<std::uint32_t>(plane, 4, 0), 0x807F4020u);
}

TEST_F(MemImgPlanesTest, PremultipliedPlaneRgb565KeepsAlphaInByteTwo) {
  Create(2, 1, kMemImgRgb565, 0, 1);
  Set<std::uint32_t>(0, 0, 0x00FFFFFF);  // white, alpha 255
  Set<std::uint32_t>(1, 0, 0x0080F81F);  // red + blue, alpha 128
  RefreshMemImgPlanes(&image_, image_.width, image_.height);
  const std::uint8_t* plane = image_.premultipliedPixels;
  // 0xF800 x 255 & 0xF80000 = 0xF00000 (>> 8: 0xF000); 0x7E0 x 255 & 0x7E000 = 0x7C000 (0x7C0); 0x1F x 255 & 0x1F00 =
  // 0x1E00 (0x1E).
  EXPECT_EQ(Get<std::uint32_t>(plane, 0, 0), 0x00FFF7DEu);
  // 0xF800 x 128 = 0x7C0000 & 0xF80000 = 0x780000 (0x7800); 0x1F x 128 = 0xF80 & 0x1F00 = 0xF00 (0xF).
  EXPECT_EQ(Get<std::uint32_t>(plane, 1, 0), 0x0080780Fu);
  EXPECT_EQ(Stream(1), (std::vector<std::uint8_t>{0x40, 0x80, 0xC0}));
}

TEST_F(MemImgPlanesTest, SinglePixelRowOfAlphaZero) {
  Create(1, 1, kMemImgRgb565, 0, 1);
  Set<std::uint32_t>(0, 0, 0x0000FFFF);
  RefreshMemImgPlanes(&image_, image_.width, image_.height);
  EXPECT_EQ(Stream(1), (std::vector<std::uint8_t>{0x00, 0xC0}));
}

TEST_F(MemImgPlanesTest, PalettisedAndRgb565KeysCompareTheirOwnWidth) {
  Create(3, 1, kMemImgRgb565, 1, 0, 7);
  Set<std::uint8_t>(1, 0, 7);
  RefreshMemImgPlanes(&image_, image_.width, image_.height);
  EXPECT_EQ(Stream(1), (std::vector<std::uint8_t>{0x40, 0x00, 0x40, 0xC0}));
  ReleaseMemImg(&image_);

  Create(3, 1, kMemImgRgb565, 0, 0, 0xF81F);
  Set<std::uint16_t>(0, 0, 0xF81F);
  Set<std::uint16_t>(1, 0, 0xF81F);
  RefreshMemImgPlanes(&image_, image_.width, image_.height);
  EXPECT_EQ(Stream(1), (std::vector<std::uint8_t>{0x01, 0x40, 0xC0}));
}

TEST_F(MemImgPlanesTest, PartialViewsAndSingleChannelsLeaveBothInvalid) {
  Create(8, 8, kMemImgRgb32, 0, 1);
  RefreshMemImgPlanes(&image_, image_.width, image_.height);
  ASSERT_EQ(image_.data->runLengthValid, 1);
  MEMIMG view{};
  MakeMemImgView(&view, &image_, 0, 0, 4, 4);
  RefreshMemImgPlanes(&view, view.width, view.height);  // a whole load of a view is a part of the image
  EXPECT_EQ(image_.data->runLengthValid, 0);
  EXPECT_EQ(image_.data->premultipliedValid, 0);
  ReleaseMemImg(&view);
  ReleaseMemImg(&image_);

  Create(4, 4, kMemImgChannel16, 0, 0);
  RefreshMemImgPlanes(&image_, image_.width, image_.height);
  EXPECT_EQ(image_.data->runLengthValid, 0);
}

}  // namespace
