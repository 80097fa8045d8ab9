// The pixel converter: its optimised conversions against the general path,
// the channel arithmetic, colour keys, alpha sources, dithering and
// mirroring, and the rectangle copies, stretches and shrinks built on it.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image/pixel_convert.h"

namespace {

struct NamedFormat {
  const char* name;
  ColorFormat format;
};

ColorFormat FromMasks(int bits, std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
  ColorFormat format{};
  MakeColorFormatFromMasks(&format, bits, r, g, b, a);
  return format;
}

std::vector<NamedFormat> AllFormats() {
  ColorFormat pal{};
  MakeColorFormatPal8(&pal);
  std::mt19937 random(5);
  for (auto& entry : pal.palette) {
    entry = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
             static_cast<std::uint8_t>(random()), 0};
  }
  ColorFormat rgb24{}, xrgb{}, argb{};
  MakeColorFormatRgb24(&rgb24);
  MakeColorFormatXrgb32(&xrgb);
  MakeColorFormatArgb32(&argb);
  return {{"Pal8", pal},
          {"R5G6B5", FromMasks(16, 0xF800, 0x7E0, 0x1F, 0)},
          {"X1R5G5B5", FromMasks(16, 0x7C00, 0x3E0, 0x1F, 0)},
          {"A1R5G5B5", FromMasks(16, 0x7C00, 0x3E0, 0x1F, 0x8000)},
          {"A4R4G4B4", FromMasks(16, 0xF00, 0xF0, 0xF, 0xF000)},
          {"R8G8B8", rgb24},
          {"X8R8G8B8", xrgb},
          {"A8R8G8B8", argb},
          {"A2R10G10B10", FromMasks(32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000)}};
}

constexpr int kWidth = 13, kHeight = 7;

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(count);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

struct Options {
  const char* name;
  int skipKey;
  int keyToAlpha;
};

// Runs one conversion with the optimised paths on or off.
std::vector<std::uint8_t> Convert(const ColorFormat& to, const ColorFormat& from,
                                  const std::vector<std::uint8_t>& source, std::uint32_t key, const Options& options,
                                  int fast) {
  SetPixelConvertFastPaths(fast);
  std::uint32_t destinationPitch = kWidth * 4 + 8, sourcePitch = kWidth * 4;
  std::vector<std::uint8_t> destination = RandomBytes(destinationPitch * (kHeight + 2), 99);
  RECT rect{1, 1, kWidth - 1, kHeight};
  ConvertPixelRect(destination.data(), destinationPitch, &to, source.data(), sourcePitch, &from, nullptr, 0, nullptr, 2,
                   1, &rect, 0, options.keyToAlpha, key, 0, 0, 0, options.skipKey, 0);
  SetPixelConvertFastPaths(1);
  return destination;
}

TEST(PixelConvertTest, OptimisedConversionsEqualTheGeneralPathForEveryPairOfFormats) {
  const Options optionSets[] = {{"plain", 0, 0}, {"skip key", 1, 0}, {"key to alpha", 0, 1}};
  auto formats = AllFormats();
  std::vector<std::uint8_t> source = RandomBytes(kWidth * 4 * kHeight, 7);
  for (const NamedFormat& from : formats) {
    // A key colour that occurs in the source: its pixel (3, 2) as 0x00RRGGBB.
    BaseImage view{from.format, kWidth, kHeight, kWidth * 4, source.data(), 0};
    int r = 0, g = 0, b = 0;
    GetBaseImagePixel(&view, 3, 2, &r, &g, &b, nullptr);
    std::uint32_t key = from.format.bytesPerPixel == 1 ? static_cast<std::uint32_t>(r << 16 | g << 8 | b)
                                                       : GetBaseImagePixelArgb(&view, 3, 2) & 0xFFFFFF;
    if (from.format.bytesPerPixel > 1)
      key = EncodeFormatPixel(&from.format, r, g, b, 0) & 0xFFFFFF & ~from.format.unusedMask;
    for (const NamedFormat& to : formats) {
      for (const Options& options : optionSets) {
        SCOPED_TRACE(std::string(from.name) + " to " + to.name + ", " + options.name);
        EXPECT_EQ(Convert(to.format, from.format, source, key, options, 1),
                  Convert(to.format, from.format, source, key, options, 0));
      }
    }
  }
}

// Converts a single pixel value between two formats.
std::uint32_t ConvertOne(const ColorFormat& to, const ColorFormat& from, std::uint32_t value, int ditherMode = 0) {
  std::uint32_t in = value, out = 0;
  RECT rect{0, 0, 1, 1};
  ConvertPixelRect(&out, 4, &to, &in, 4, &from, nullptr, 0, nullptr, 0, 0, &rect, 0, 0, 0, ditherMode, 0, 0, 0, 0);
  return out;
}

TEST(PixelConvertTest, WiderChannelsScaleExactlyAndNarrowerOnesTruncate) {
  ColorFormat argb{};
  MakeColorFormatArgb32(&argb);
  ColorFormat rgb565 = FromMasks(16, 0xF800, 0x7E0, 0x1F, 0);
  EXPECT_EQ(ConvertOne(argb, rgb565, 0xFFFF), 0xFFFFFFFFu);
  EXPECT_EQ(ConvertOne(argb, rgb565, 16u << 11), 0xFF830000u) << "5 bits of 16 become 131";
  EXPECT_EQ(ConvertOne(rgb565, argb, 0xFF0F0F0F), (1u << 11) | (3u << 5) | 1u);
  ColorFormat argb1555 = FromMasks(16, 0x7C00, 0x3E0, 0x1F, 0x8000);
  EXPECT_EQ(ConvertOne(argb, argb1555, 0x8000), 0xFF000000u);
  EXPECT_EQ(ConvertOne(argb, argb1555, 0x7FFF), 0x00FFFFFFu);
}

TEST(PixelConvertTest, EightBitCopiesReturnTheLargestIndexAndRemapIntoAnotherPalette) {
  ColorFormat grey{};
  MakeColorFormatGrey8(&grey);
  std::uint8_t source[4] = {3, 200, 17, 250};
  std::uint8_t destination[4] = {};
  RECT rect{0, 0, 4, 1};
  EXPECT_EQ(ConvertPixelRect(destination, 4, &grey, source, 4, &grey, nullptr, 0, nullptr, 0, 0, &rect, 0, 0, 0, 0, 0,
                             0, 0, 0),
            250);
  EXPECT_EQ(std::vector<int>(destination, destination + 4), (std::vector<int>{3, 200, 17, 250}));

  ColorFormat blackWhite{};
  MakeColorFormatPal8(&blackWhite);
  for (auto& entry : blackWhite.palette) entry = {0, 0, 0, 0};
  blackWhite.palette[1] = {255, 255, 255, 0};
  EXPECT_EQ(ConvertPixelRect(destination, 4, &blackWhite, source, 4, &grey, nullptr, 0, nullptr, 0, 0, &rect, 0, 0, 0,
                             0, 0, 0, 0, 1),
            0);
  EXPECT_EQ(std::vector<int>(destination, destination + 4), (std::vector<int>{0, 1, 0, 1}));
}

TEST(PixelConvertTest, DirectColoursIntoAPaletteTakeTheNearestEntry) {
  ColorFormat grey{}, rgb24{};
  MakeColorFormatGrey8(&grey);
  MakeColorFormatRgb24(&rgb24);
  std::uint8_t source[6] = {200, 200, 200, 10, 250, 10};  // blue, green, red
  std::uint8_t out[2] = {};
  RECT rect{0, 0, 2, 1};
  ConvertPixelRect(out, 2, &grey, source, 6, &rgb24, nullptr, 0, nullptr, 0, 0, &rect, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(out[0], 200);
  EXPECT_EQ(out[1], 90) << "the grey nearest to (10, 250, 10) is their mean";
}

TEST(PixelConvertTest, ColourKeyAlphaImageAndColourOptionsSetTheAlpha) {
  ColorFormat argb{}, xrgb{}, grey{};
  MakeColorFormatArgb32(&argb);
  MakeColorFormatXrgb32(&xrgb);
  MakeColorFormatGrey8(&grey);
  std::uint32_t source[3] = {0x00FF00FF, 0x00123456, 0x00FF00FF};
  std::uint32_t out[3] = {};
  RECT rect{0, 0, 3, 1};
  ConvertPixelRect(out, 12, &argb, source, 12, &xrgb, nullptr, 0, nullptr, 0, 0, &rect, 0, 1, 0xFF00FF, 0, 0, 0, 0, 0);
  EXPECT_EQ(out[0], 0x00FF00FFu);
  EXPECT_EQ(out[1], 0xFF123456u);

  std::uint8_t alpha[3] = {10, 20, 30};
  ConvertPixelRect(out, 12, &argb, source, 12, &xrgb, alpha, 3, &grey, 0, 0, &rect, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(out[1], 0x14123456u) << "the alpha image's brightness is the alpha";

  ConvertPixelRect(out, 12, &argb, source, 12, &xrgb, nullptr, 0, nullptr, 0, 0, &rect, 0, 0, 0, 0, 1, 1, 0, 0);
  EXPECT_EQ(out[1], 0x12000000u) << "alpha from the red channel, colour off";

  // Skipping the key leaves those pixels as they were; mirroring reverses.
  std::uint32_t kept[3] = {1, 2, 3};
  ConvertPixelRect(kept, 12, &argb, source, 12, &xrgb, nullptr, 0, nullptr, 0, 0, &rect, 0, 0, 0xFF00FF, 0, 0, 0, 1, 0);
  EXPECT_EQ(kept[0], 1u);
  EXPECT_EQ(kept[1], 0xFF123456u);
  std::uint32_t mirrored[3] = {};
  std::uint32_t numbers[3] = {1, 2, 3};
  ConvertPixelRect(mirrored, 12, &xrgb, numbers, 12, &xrgb, nullptr, 0, nullptr, 0, 0, &rect, 1, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(std::vector<std::uint32_t>(mirrored, mirrored + 3), (std::vector<std::uint32_t>{3, 2, 1}));
}

// A flat field whose dropped bits are half the range: the error-carrying
// dither rounds up every second pixel, carried across row ends.
TEST(PixelConvertTest, DitheringRoundsUpByTheMatrixOrByTheCarriedError) {
  ColorFormat rgb24{};
  MakeColorFormatRgb24(&rgb24);
  ColorFormat rgb565 = FromMasks(16, 0xF800, 0x7E0, 0x1F, 0);
  constexpr int w = 3, h = 2;
  std::vector<std::uint8_t> source(w * 3 * h, 0);
  for (int i = 0; i < w * h; ++i) source[i * 3 + 2] = 8 * 10 + 4;  // red: 10 with 4 of 8 dropped
  auto redsAfter = [&](int mode) {
    std::vector<std::uint16_t> out(w * h);
    RECT rect{0, 0, w, h};
    ConvertPixelRect(out.data(), w * 2, &rgb565, source.data(), w * 3, &rgb24, nullptr, 0, nullptr, 0, 0, &rect, 0, 0,
                     0, mode, 0, 0, 0, 0);
    std::vector<int> reds;
    for (auto v : out) reds.push_back(v >> 11);
    return reds;
  };
  EXPECT_EQ(redsAfter(0), (std::vector<int>{10, 10, 10, 10, 10, 10}));
  EXPECT_EQ(redsAfter(2), (std::vector<int>{10, 11, 10, 11, 10, 11}));
  // Matrix thresholds 0, 8, 2 on row 0 and 12, 4, 14 on row 1 (x 8 / 16).
  EXPECT_EQ(redsAfter(1), (std::vector<int>{11, 10, 11, 10, 11, 10}));
}

BaseImage NumberedArgb(int width, int height) {
  BaseImage image{};
  CreateArgbBaseImage(width, height, &image);
  for (int i = 0; i < width * height; ++i)
    static_cast<std::uint32_t*>(image.pixels)[i] = 0xFF000000u | static_cast<std::uint32_t>(i + 1);
  return image;
}

TEST(PixelConvertTest, RectangleCopiesClipAgainstBothImages) {
  BaseImage source = NumberedArgb(5, 1), destination = NumberedArgb(6, 1);
  std::memset(destination.pixels, 0, 24);
  EXPECT_EQ(CopyBaseImageRect(-3, 0, 5, 1, 1, 0, &source, &destination), 0);
  auto* out = static_cast<std::uint32_t*>(destination.pixels);
  EXPECT_EQ(out[3], 0u);
  EXPECT_EQ(out[4] & 0xFFFFFF, 1u) << "copied from 3 pixels further right, 3 columns fewer";
  EXPECT_EQ(out[5] & 0xFFFFFF, 2u);
  EXPECT_EQ(CopyBaseImageRect(0, 0, 5, 1, 10, 0, &source, &destination), 0) << "nothing left after clipping";
  ReleaseBaseImage(&source);
  ReleaseBaseImage(&destination);
}

TEST(PixelConvertTest, StretchesSampleNearestOrBilinearAndRefuseRectanglesOutside) {
  BaseImage source{}, destination{};
  CreateArgbBaseImage(2, 1, &source);
  CreateArgbBaseImage(4, 1, &destination);
  static_cast<std::uint32_t*>(source.pixels)[0] = 0xFF000000;
  static_cast<std::uint32_t*>(source.pixels)[1] = 0xFF0000C8;
  ASSERT_EQ(StretchBaseImageRect(0, 0, 2, 1, &source, 0, 0, 4, 1, &destination, 0), 0);
  auto* out = static_cast<std::uint32_t*>(destination.pixels);
  EXPECT_EQ(std::vector<std::uint32_t>(out, out + 4),
            (std::vector<std::uint32_t>{0xFF000000, 0xFF000000, 0xFF0000C8, 0xFF0000C8}));
  ASSERT_EQ(StretchBaseImageRect(0, 0, 2, 1, &source, 0, 0, 4, 1, &destination, 1), 0);
  EXPECT_EQ(out[1] & 0xFF, 99u) << "half way between 0 and 200, by the 16-bit weights";
  EXPECT_EQ(out[3] & 0xFF, 199u) << "the last column is filtered with itself";
  EXPECT_EQ(StretchBaseImageRect(0, 0, 3, 1, &source, 0, 0, 4, 1, &destination, 0), -1);
  EXPECT_EQ(StretchBaseImageRect(1, 0, 1, 1, &source, 0, 0, 4, 1, &destination, 0), -1);
  ReleaseBaseImage(&source);
  ReleaseBaseImage(&destination);
}

TEST(PixelConvertTest, ShrinkingAveragesBlocksAndRefusesOddSides) {
  ColorFormat argb{};
  MakeColorFormatArgb32(&argb);
  std::uint32_t source[8] = {0x04000010, 0x08000020, 0, 0, 0x0C000030, 0x10000040, 0, 4};
  std::uint32_t out[2] = {};
  ASSERT_EQ(ShrinkPixelsByHalf(&argb, out, 8, source, 16, 0, 0, 0, 0, 4, 2), 0);
  EXPECT_EQ(out[0], 0x0A000028u);
  EXPECT_EQ(out[1], 1u);
  ASSERT_EQ(ShrinkPixelsByHalf(&argb, out, 4, source, 16, 0, 0, 0, 0, 1, 2), 0);
  EXPECT_EQ(out[0], 0x08000020u) << "one column: pairs of rows";
  EXPECT_EQ(ShrinkPixelsByHalf(&argb, out, 8, source, 16, 0, 0, 0, 0, 3, 2), -1);
  ColorFormat rgb24{};
  MakeColorFormatRgb24(&rgb24);
  EXPECT_EQ(ShrinkPixelsByHalf(&rgb24, out, 8, source, 16, 0, 0, 0, 0, 2, 2), -1);
}

}  // namespace
