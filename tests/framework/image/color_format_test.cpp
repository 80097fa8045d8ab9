// Colour formats, pixel encoding and decoding, single-pixel access, the
// in-place mirror and half turn, and soft-image deletion.
#include <gtest/gtest.h>

#include "core/base/tracked_allocator.h"
#include "image/soft_image_table.h"

namespace {

ColorFormat Rgb565() {
  ColorFormat format{};
  MakeColorFormatFromMasks(&format, 16, 0xF800, 0x7E0, 0x1F, 0);
  return format;
}

TEST(ColorFormatTest, FormatsFromMasksFindShiftsWidthsAndUnusedBits) {
  ColorFormat format{};
  MakeColorFormatFromMasks(&format, 16, 0x7C00, 0x3E0, 0x1F, 0);
  EXPECT_EQ(format.bytesPerPixel, 2);
  EXPECT_EQ(format.redShift, 10);
  EXPECT_EQ(format.redWidth, 5);
  EXPECT_EQ(format.greenShift, 5);
  EXPECT_EQ(format.unusedMask, 0x8000u);
  EXPECT_EQ(format.unusedShift, 15);
  EXPECT_EQ(format.unusedWidth, 1);
  MakeColorFormatFromMasks(&format, 32, 0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000);
  EXPECT_EQ(format.blueShift, 20);
  EXPECT_EQ(format.blueWidth, 10);
  EXPECT_EQ(format.alphaWidth, 2);
  EXPECT_EQ(format.unusedMask, 0u);

  // The unused mask follows the channel widths.
  MakeColorFormatArgb32(&format);
  format.alphaMask = 0;
  format.alphaWidth = 0;
  UpdateColorFormatUnusedMask(&format);
  EXPECT_EQ(format.unusedMask, 0xFF000000u);
}

TEST(ColorFormatTest, EncodingTruncatesChannelsAndSetsUnusedBits) {
  ColorFormat xrgb{};
  MakeColorFormatXrgb32(&xrgb);
  EXPECT_EQ(EncodeFormatPixel(&xrgb, 0x12, 0x34, 0x56, 0), 0xFF123456u);
  ColorFormat rgb565 = Rgb565();
  EXPECT_EQ(EncodeFormatPixel(&rgb565, 200, 100, 50, 0), (200u >> 3) << 11 | (100u >> 2) << 5 | 50u >> 3);
  ColorFormat argb{};
  MakeColorFormatArgb32(&argb);
  EXPECT_EQ(EncodeFormatPixel(&argb, 1, 2, 3, 0x80), 0x80010203u);
}

TEST(ColorFormatTest, PaletteEncodingPicksTheNearestEntryAndTheLowerIndexOnATie) {
  ColorFormat pal{};
  MakeColorFormatPal8(&pal);
  for (auto& entry : pal.palette) entry = {0, 0, 0, 0};
  pal.palette[3] = {0, 0, 100, 0};  // red 100
  pal.palette[7] = {0, 0, 120, 0};  // red 120
  pal.palette[9] = {0, 0, 140, 0};  // red 140
  EXPECT_EQ(EncodeFormatPixel(&pal, 130, 0, 0, 0), 7u) << "120 and 140 tie; the lower index wins";
  EXPECT_EQ(EncodeFormatPixel(&pal, 104, 0, 0, 0), 3u);
  EXPECT_EQ(EncodeFormatPixel(&pal, 20, 0, 0, 0), 0u);
}

TEST(ColorFormatTest, DecodingScalesNarrowChannelsToTheFullRange) {
  ColorFormat rgb565 = Rgb565();
  int r = -1, g = -1, b = -1, a = -1;
  DecodeFormatPixel(&rgb565, 31u << 11 | 63u << 5 | 16u, &r, &g, &b, &a);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 255);
  EXPECT_EQ(b, 131);
  EXPECT_EQ(a, 0);
  ColorFormat argb4444{};
  MakeColorFormatFromMasks(&argb4444, 16, 0xF00, 0xF0, 0xF, 0xF000);
  DecodeFormatPixel(&argb4444, 0x8F00, &r, nullptr, nullptr, &a);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(a, 8 * 255 / 15);
  // Eight-bit colour channels leave the alpha out alone when there is none.
  ColorFormat rgb24{};
  MakeColorFormatRgb24(&rgb24);
  a = 77;
  DecodeFormatPixel(&rgb24, 0x010203, &r, &g, &b, &a);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(b, 3);
  EXPECT_EQ(a, 77);
}

TEST(BaseImageTest, PixelsRoundTripAndOutsideCoordinatesAreRefused) {
  BaseImage image{};
  ASSERT_EQ(CreateXrgbBaseImage(3, 2, &image), 0);
  EXPECT_EQ(image.pitch, 12u);
  EXPECT_EQ(SetBaseImagePixel(&image, 2, 1, 10, 20, 30, 0), 0);
  int r = 0, g = 0, b = 0;
  EXPECT_EQ(GetBaseImagePixel(&image, 2, 1, &r, &g, &b, nullptr), 0);
  EXPECT_EQ(r * 10000 + g * 100 + b, 102030);
  EXPECT_EQ(GetBaseImagePixelArgb(&image, 2, 1), 0x000A141Eu) << "no alpha channel: alpha byte 0";
  EXPECT_EQ(SetBaseImagePixel(&image, 3, 0, 0, 0, 0, 0), -1);
  EXPECT_EQ(GetBaseImagePixel(&image, 0, -1, &r, &g, &b, nullptr), -1);
  ReleaseBaseImage(&image);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST(BaseImageTest, ArgbOfANarrowFormatPutsTheBitsAtTheTopOfEachByte) {
  BaseImage image{};
  ColorFormat rgb565 = Rgb565();
  ASSERT_EQ(CreateBaseImageSameFormat(2, 1, &rgb565, &image), 0);
  EXPECT_EQ(image.pitch, 4u);
  auto* pixels = static_cast<std::uint16_t*>(image.pixels);
  pixels[0] = 0xF800;
  EXPECT_EQ(GetBaseImagePixelArgb(&image, 0, 0), 0x00F80000u);
  ReleaseBaseImage(&image);
}

// Images of 3 x 3 with pixel values 1 to 9 in reading order.
BaseImage NumberedImage(int width, int height) {
  BaseImage image{};
  ColorFormat grey{};
  MakeColorFormatGrey8(&grey);
  CreateBaseImageSameFormat(width, height, &grey, &image);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      static_cast<std::uint8_t*>(image.pixels)[y * image.pitch + x] = static_cast<std::uint8_t>(1 + y * width + x);
  }
  return image;
}

std::vector<int> PixelsOf(const BaseImage& image) {
  std::vector<int> values;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x)
      values.push_back(static_cast<const std::uint8_t*>(image.pixels)[y * image.pitch + x]);
  }
  return values;
}

TEST(BaseImageTest, HalfTurnTurnsTheMiddleRowOfAnOddHeightToo) {
  BaseImage image = NumberedImage(3, 3);
  ASSERT_EQ(RotateBaseImage180(&image), 0);
  EXPECT_EQ(PixelsOf(image), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
  ReleaseBaseImage(&image);
  image = NumberedImage(2, 3);
  ASSERT_EQ(RotateBaseImage180(&image), 0);
  EXPECT_EQ(PixelsOf(image), (std::vector<int>{6, 5, 4, 3, 2, 1}));
  ReleaseBaseImage(&image);
}

TEST(BaseImageTest, MirrorReversesEveryRowAndRefusesAnEmptyImage) {
  BaseImage image = NumberedImage(3, 2);
  ASSERT_EQ(MirrorBaseImage(&image), 0);
  EXPECT_EQ(PixelsOf(image), (std::vector<int>{3, 2, 1, 6, 5, 4}));
  ReleaseBaseImage(&image);
  BaseImage empty{};
  EXPECT_EQ(MirrorBaseImage(&empty), -1);
}

TEST(BaseImageTest, ClearingARectangleStaysInsideTheImage) {
  BaseImage image = NumberedImage(3, 3);
  ClearBaseImageRect(&image, 1, 1, 5, 5);
  EXPECT_EQ(PixelsOf(image), (std::vector<int>{1, 2, 3, 4, 0, 0, 7, 0, 0}));
  ReleaseBaseImage(&image);
}

TEST(BaseImageTest, ImpossibleSizesAreRefusedWithoutAnAllocation) {
  BaseImage image{};
  EXPECT_EQ(CreateArgbBaseImage(0, 5, &image), -1);
  EXPECT_EQ(CreateArgbBaseImage(-1, 5, &image), -1);
  EXPECT_EQ(CreateArgbBaseImage(0x10000, 0x10000, &image), -1) << "the byte count does not fit 32 bits";
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

// Plants a soft image the way a maker would, and returns its handle.
int PlantSoftImage(int slot, std::uint32_t check) {
  SoftImageTable& table = GetSoftImageTable();
  auto* record = static_cast<SoftImageRecord*>(TrackedAllocZero(sizeof(SoftImageRecord), __FILE__, __LINE__));
  CreateArgbBaseImage(2, 2, &record->image);
  record->check = check;
  table.records[slot] = record;
  ++table.liveCount;
  if (slot >= table.usedEnd) table.usedEnd = slot + 1;
  return kSoftImageHandleKind | static_cast<int>(check << 16) | slot;
}

TEST(SoftImageTest, DeletionChecksTheHandleAndShrinksTheUsedRange) {
  int low = PlantSoftImage(2, 5);
  int high = PlantSoftImage(6, 9);
  SoftImageTable& table = GetSoftImageTable();
  EXPECT_EQ(DeleteSoftImage(high ^ (1 << 16)), -1) << "a stale check value";
  EXPECT_EQ(DeleteSoftImage(0x20000000 | (9 << 16) | 6), -1) << "another kind";
  EXPECT_EQ(DeleteSoftImage(-1), -1);
  EXPECT_EQ(table.liveCount, 2);
  EXPECT_EQ(DeleteSoftImage(high), 0);
  EXPECT_EQ(table.usedEnd, 3);
  EXPECT_EQ(DeleteSoftImage(high), -1) << "already deleted";
  EXPECT_EQ(DeleteSoftImage(low), 0);
  EXPECT_EQ(table.usedEnd, 0);
  EXPECT_EQ(table.liveCount, 0);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST(SoftImageTest, DeleteAllEmptiesTheTable) {
  PlantSoftImage(0, 1);
  PlantSoftImage(100, 2047);
  EXPECT_EQ(DeleteAllSoftImages(), 0);
  EXPECT_EQ(GetSoftImageTable().liveCount, 0);
  EXPECT_EQ(GetSoftImageTable().usedEnd, 0);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

}  // namespace
