// Loading base images into software images: conversion into the image's
// layout, alpha from a companion image, palettes in the image's own
// entries, the planes built only by a whole-image load, and copies
// between software images of different layouts.
#include <gtest/gtest.h>

#include <cstring>

#include "WqLib.h"
#include "image/memimg.h"

namespace {

std::uint32_t Pixel32(const MEMIMG& image, int x, int y) {
  std::uint32_t value;
  std::memcpy(&value, image.pixels + y * image.data->pitch + x * 4, 4);
  return value;
}

std::uint16_t Pixel16(const MEMIMG& image, int x, int y) {
  std::uint16_t value;
  std::memcpy(&value, image.pixels + y * image.data->pitch + x * 2, 2);
  return value;
}

// A 4 x 2 XRGB picture: red, green, blue, white on top, black below.
class MemImgLoadTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CreateXrgbBaseImage(4, 2, &picture_), 0);
    const std::uint32_t top[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    std::memcpy(picture_.pixels, top, sizeof(top));
    std::memset(static_cast<std::uint8_t*>(picture_.pixels) + picture_.pitch, 0, 16);
  }
  void TearDown() override {
    ReleaseMemImg(&image_);
    ReleaseBaseImage(&picture_);
  }
  BaseImage picture_{};
  MEMIMG image_{};
};

TEST_F(MemImgLoadTest, ConvertsIntoTheImageLayoutAndBuildsThePlanes) {
  ASSERT_EQ(CreateMemImg(&image_, 4, 2, -1, 0, kMemImgRgb565, 0, 0, 1, nullptr), 0);
  ASSERT_EQ(LoadBaseImageToMemImg(&picture_, nullptr, &image_, 0, 0, 4, 2, 0, 0, 0), 0);
  EXPECT_EQ(Pixel16(image_, 0, 0), 0xF800);
  EXPECT_EQ(Pixel16(image_, 1, 0), 0x07E0);
  EXPECT_EQ(Pixel16(image_, 2, 0), 0x001F);
  EXPECT_EQ(Pixel16(image_, 3, 0), 0xFFFF);
  EXPECT_EQ(image_.data->runLengthValid, 1);
  // Key colour 0: the black row is all transparent.
  const std::uint8_t expected[] = {0x43, 0xC0, 0x03, 0xC0};
  EXPECT_EQ(std::memcmp(image_.data->runLengths, expected, sizeof(expected)), 0);

  // A load of a part clears what the whole load built.
  ASSERT_EQ(LoadBaseImageToMemImg(&picture_, nullptr, &image_, 0, 0, 2, 1, 2, 1, 0), 0);
  EXPECT_EQ(image_.data->runLengthValid, 0);
  EXPECT_EQ(Pixel16(image_, 3, 1), 0x07E0);
}

TEST_F(MemImgLoadTest, AlphaComesFromTheCompanionsRedChannel) {
  BaseImage alpha{};
  ASSERT_EQ(CreateXrgbBaseImage(4, 2, &alpha), 0);
  const std::uint32_t levels[8] = {0x000000, 0x800000, 0xFF0000, 0x010000, 0, 0, 0, 0};
  std::memcpy(alpha.pixels, levels, 16);
  std::memcpy(static_cast<std::uint8_t*>(alpha.pixels) + alpha.pitch, levels + 4, 16);
  ASSERT_EQ(CreateMemImg(&image_, 4, 2, -1, 0, kMemImgRgb32, 0, 1, 1, nullptr), 0);
  ASSERT_EQ(LoadBaseImageToMemImg(&picture_, &alpha, &image_, 0, 0, 4, 2, 0, 0, 0), 0);
  EXPECT_EQ(Pixel32(image_, 0, 0), 0x00FF0000u);
  EXPECT_EQ(Pixel32(image_, 1, 0), 0x8000FF00u);
  EXPECT_EQ(Pixel32(image_, 2, 0), 0xFF0000FFu);
  EXPECT_EQ(image_.data->premultipliedValid, 1);
  std::uint32_t premultiplied;
  std::memcpy(&premultiplied, image_.premultipliedPixels + 4, 4);
  EXPECT_EQ(premultiplied, 0x80007F00u);  // 255 x 128 >> 8
  const std::uint8_t expected[] = {0x00, 0x80, 0x40, 0x80, 0xC0};
  EXPECT_EQ(std::memcmp(image_.data->runLengths, expected, sizeof(expected)), 0);
  ReleaseBaseImage(&alpha);
}

TEST_F(MemImgLoadTest, PalettesTakeTheImagesOwnEntries) {
  BaseImage indexed{};
  ColorFormat pal8{};
  MakeColorFormatPal8(&pal8);
  pal8.palette[1] = ColorPaletteEntry{0x10, 0x80, 0xF8, 0};  // blue, green, red
  pal8.palette[3] = ColorPaletteEntry{0xFF, 0xFF, 0xFF, 0};
  ASSERT_EQ(CreateBaseImageSameFormat(4, 1, &pal8, &indexed), 0);
  const std::uint8_t indexes[4] = {0, 1, 3, 1};
  std::memcpy(indexed.pixels, indexes, 4);
  for (int type : {kMemImgRgb32, kMemImgRgb565}) {
    SCOPED_TRACE(type);
    ReleaseMemImg(&image_);
    ASSERT_EQ(CreateMemImg(&image_, 4, 1, -1, 0, type, 1, 0, 0, nullptr), 0);
    ASSERT_EQ(LoadBaseImageToMemImg(&indexed, nullptr, &image_, 0, 0, 4, 1, 0, 0, 0), 0);
    EXPECT_EQ(std::memcmp(image_.pixels, indexes, 4), 0);
    EXPECT_EQ(image_.data->paletteCount, 4);  // the largest index copied + 1
    if (type == kMemImgRgb32) {
      std::uint32_t entry;
      std::memcpy(&entry, image_.data->palette + 4, 4);
      EXPECT_EQ(entry, 0x00F88010u);
      std::memcpy(&entry, image_.data->secondPalette + 4, 4);
      EXPECT_EQ(entry, 0x00F88010u);
    } else {
      std::uint16_t entry;
      std::memcpy(&entry, image_.data->palette + 2, 2);
      EXPECT_EQ(entry, (0xF8 >> 3) << 11 | (0x80 >> 2) << 5 | 0x10 >> 3);
      std::memcpy(&entry, image_.data->secondPalette + 6, 2);
      EXPECT_EQ(entry, 0xFFFF);
    }
  }
  ReleaseBaseImage(&indexed);
}

TEST_F(MemImgLoadTest, CopiesConvertBetweenLayouts) {
  MEMIMG source{};
  ASSERT_EQ(CreateMemImg(&source, 4, 2, -1, 0, kMemImgRgb32, 0, 0, 0, nullptr), 0);
  ASSERT_EQ(LoadBaseImageToMemImg(&picture_, nullptr, &source, 0, 0, 4, 2, 0, 0, 0), 0);
  ASSERT_EQ(CreateMemImg(&image_, 6, 3, -1, 0, kMemImgRgb565, 0, 0, 0, nullptr), 0);
  FillMemImgRect(&image_, nullptr, 0x1234);
  EXPECT_EQ(CopyMemImgRect(&image_, &source, nullptr, 2, 1), 0);
  EXPECT_EQ(Pixel16(image_, 1, 1), 0x1234);
  EXPECT_EQ(Pixel16(image_, 2, 1), 0xF800);
  EXPECT_EQ(Pixel16(image_, 5, 1), 0xFFFF);
  EXPECT_EQ(Pixel16(image_, 5, 2), 0x0000);
  const RECT part{1, 0, 2, 1};
  EXPECT_EQ(CopyMemImgRect(&image_, &source, &part, 0, 0), 0);
  EXPECT_EQ(Pixel16(image_, 0, 0), 0x07E0);
  EXPECT_EQ(Pixel16(image_, 1, 0), 0x1234);
  ReleaseMemImg(&source);
}

}  // namespace
