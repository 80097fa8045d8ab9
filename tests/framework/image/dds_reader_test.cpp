// DDS files: DXT blocks against hand-decoded values, the sizes read with
// mip levels, uncompressed layouts by mask or format code, and refusals.
#include <gtest/gtest.h>

#include "core/base/tracked_allocator.h"
#include "image/dxt_decode.h"
#include "image_fixtures.h"

namespace {

using wqtest::ByteWriter;

constexpr std::uint32_t kCaps = 0x1000 | 0x8 | 0x400000;

// A DDS header; the pixel format is FourCC (flags 0x4) or RGB (0x40).
ByteWriter DdsHeader(int width, int height, std::uint32_t formatFlags, std::uint32_t fourCc, int rgbBits,
                     std::uint32_t masks[4], std::uint32_t flags = 0x1007, std::uint32_t pitch = 0, int mips = 0,
                     std::uint32_t caps = 0x1000) {
  ByteWriter w;
  w.Text("DDS ").U32(124).U32(flags).U32(static_cast<std::uint32_t>(height)).U32(static_cast<std::uint32_t>(width));
  w.U32(pitch).U32(0).U32(static_cast<std::uint32_t>(mips)).Fill(44, 0);
  w.U32(32).U32(formatFlags).U32(fourCc).U32(static_cast<std::uint32_t>(rgbBits));
  for (int i = 0; i < 4; ++i) w.U32(masks ? masks[i] : 0);
  w.U32(caps).Fill(16, 0);
  return w;
}

std::uint32_t FourCc(const char* text) {
  return static_cast<std::uint32_t>(text[0]) | text[1] << 8 | text[2] << 16 | static_cast<std::uint32_t>(text[3]) << 24;
}

std::uint32_t PixelAt(const BaseImage& image, int x, int y) {
  return static_cast<const std::uint32_t*>(image.pixels)[y * image.width + x];
}

TEST(DxtDecodeTest, ColourBlocksExpandEndpointsAndInterpolate) {
  // c0 = white, c1 = pure red; indices 0, 1, 2, 3 along row 0.
  ByteWriter block;
  block.U16(0xFFFF).U16(0xF800).U32(0b11100100);
  std::uint8_t pixels[16][4];
  DecodeDxtBlock(1, reinterpret_cast<const std::uint8_t*>(block.bytes().data()), pixels);
  auto argb = [&](int i) {
    return static_cast<std::uint32_t>(pixels[i][3] << 24 | pixels[i][2] << 16 | pixels[i][1] << 8 | pixels[i][0]);
  };
  EXPECT_EQ(argb(0), 0xFFFFFFFFu);
  EXPECT_EQ(argb(1), 0xFFFF0000u);
  EXPECT_EQ(argb(2), 0xFFFFAAAAu) << "(2 white + red) / 3";
  EXPECT_EQ(argb(3), 0xFFFF5555u);

  // c0 <= c1 in DXT1: index 2 the average, index 3 the average with alpha 0.
  ByteWriter transparent;
  transparent.U16(0xF800).U16(0xFFFF).U32(0b11100100);
  DecodeDxtBlock(1, reinterpret_cast<const std::uint8_t*>(transparent.bytes().data()), pixels);
  EXPECT_EQ(argb(2), 0xFFFF7F7Fu);
  EXPECT_EQ(argb(3), 0x00FF7F7Fu);
}

TEST(DxtDecodeTest, AlphaBlocksGiveExplicitAndInterpolatedAlphas) {
  ByteWriter dxt3;
  dxt3.U8(0xF0).U8(0x08).Fill(6, 0).U16(0xFFFF).U16(0xFFFF).U32(0);
  std::uint8_t pixels[16][4];
  DecodeDxtBlock(3, reinterpret_cast<const std::uint8_t*>(dxt3.bytes().data()), pixels);
  EXPECT_EQ(pixels[0][3], 0);
  EXPECT_EQ(pixels[1][3], 255);
  EXPECT_EQ(pixels[2][3], 8 * 255 / 15);

  // a0 = 200 > a1 = 60: indices 0, 1, 2, 7 for pixels 0 to 3.
  ByteWriter dxt5;
  std::uint32_t indices = 0 | 1 << 3 | 2 << 6 | 7 << 9;
  dxt5.U8(200).U8(60).U8(indices & 255).U8(indices >> 8 & 255).U8(0).Fill(3, 0).U16(0).U16(0).U32(0);
  DecodeDxtBlock(5, reinterpret_cast<const std::uint8_t*>(dxt5.bytes().data()), pixels);
  EXPECT_EQ(pixels[0][3], 200);
  EXPECT_EQ(pixels[1][3], 60);
  EXPECT_EQ(pixels[2][3], (6 * 200 + 60) / 7);
  EXPECT_EQ(pixels[3][3], (200 + 6 * 60) / 7);
  // a0 <= a1: indices 6 and 7 are 0 and 255.
  ByteWriter five;
  std::uint32_t ends = 6 | 7 << 3 | 2 << 6;
  five.U8(60).U8(200).U8(ends & 255).U8(ends >> 8 & 255).Fill(4, 0).U16(0).U16(0).U32(0);
  DecodeDxtBlock(5, reinterpret_cast<const std::uint8_t*>(five.bytes().data()), pixels);
  EXPECT_EQ(pixels[0][3], 0);
  EXPECT_EQ(pixels[1][3], 255);
  EXPECT_EQ(pixels[2][3], (4 * 60 + 200) / 5);
}

TEST(DxtDecodeTest, PremultipliedBlocksAreDividedByTheirAlpha) {
  // DXT2: colour 0x7BEF (about half grey) at alpha 8/15.
  ByteWriter block;
  block.Fill(8, 0x88).U16(0x7BEF).U16(0x7BEF).U32(0);
  std::uint8_t pixels[16][4];
  DecodeDxtBlock(2, reinterpret_cast<const std::uint8_t*>(block.bytes().data()), pixels);
  int alpha = 8 * 255 / 15, grey = 15 * 255 / 31;
  EXPECT_EQ(pixels[5][3], alpha);
  EXPECT_EQ(pixels[5][2], std::min(grey * 255 / alpha, 255));
}

TEST(DdsReaderTest, CompressedImagesStayCompressedUntilPixelsAreNeeded) {
  ByteWriter file = DdsHeader(6, 4, 0x4, FourCc("DXT1"), 0, nullptr);
  // Two blocks across (the second half outside the image): white, then red.
  file.U16(0xFFFF).U16(0xFFFF).U32(0).U16(0xF800).U16(0xF800).U32(0);
  BaseImage image{};
  ASSERT_EQ(wqtest::ReadImageBytes(ReadDdsImage, file.bytes(), &image), 0);
  EXPECT_EQ(image.format.compressedKind, 1u);
  EXPECT_EQ(image.format.bits, 4);
  EXPECT_EQ(image.pitch, 0u);
  int r = 0, g = 0, b = 0, a = 0;
  ASSERT_EQ(GetBaseImagePixel(&image, 5, 3, &r, &g, &b, &a), 0) << "decompresses first";
  EXPECT_EQ(image.format.compressedKind, 0u);
  EXPECT_EQ(image.pitch, 24u);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(image, 5, 3), 0xFFFF0000u) << "the part block at the edge is decoded too";
  ReleaseBaseImage(&image);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST(DdsReaderTest, MipLevelsAddToTheSizeReadOnlyWithTheMipCaps) {
  std::string top(65536, '\0');
  std::size_t levels = 65536 + 16384 + 4096 + 1024 + 256 + 64 + 16 + 8 + 8;
  ByteWriter file = DdsHeader(256, 256, 0x4, FourCc("DXT5"), 0, nullptr, 0x1007 | 0x20000, 0, 9, kCaps);
  std::string whole = file.bytes() + std::string(levels, '\0');
  BaseImage image{};
  ASSERT_EQ(wqtest::ReadImageBytes(ReadDdsImage, whole, &image), 0);
  EXPECT_EQ(image.mipCount, 9u);
  ReleaseBaseImage(&image);
  EXPECT_EQ(wqtest::ReadImageBytes(ReadDdsImage, whole.substr(0, whole.size() - 1), &image), -1);

  // Without the mip-map caps the count is ignored and only the top level read.
  ByteWriter plain = DdsHeader(256, 256, 0x4, FourCc("DXT5"), 0, nullptr, 0x1007 | 0x20000, 0, 9, 0x1000);
  ASSERT_EQ(wqtest::ReadImageBytes(ReadDdsImage, plain.bytes() + top, &image), 0);
  EXPECT_EQ(image.mipCount, 0u);
  ReleaseBaseImage(&image);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST(DdsReaderTest, UncompressedLayoutsComeFromMasksOrFormatCodes) {
  std::uint32_t masks[4] = {0xF800, 0x7E0, 0x1F, 0};
  ByteWriter rgb = DdsHeader(2, 1, 0x40, 0, 16, masks);
  rgb.U16(0xF800).U16(0x001F);
  BaseImage image{};
  ASSERT_EQ(wqtest::ReadImageBytes(ReadDdsImage, rgb.bytes(), &image), 0);
  EXPECT_EQ(image.pitch, 4u);
  EXPECT_EQ(GetBaseImagePixelArgb(&image, 0, 0), 0x00F80000u);
  ReleaseBaseImage(&image);

  // Format code 23 (R5G6B5) in the FourCC, flags exactly 0x4.
  ByteWriter coded = DdsHeader(2, 1, 0x4, 23, 0, nullptr);
  coded.U16(0xF800).U16(0x001F);
  ASSERT_EQ(wqtest::ReadImageBytes(ReadDdsImage, coded.bytes(), &image), 0);
  EXPECT_EQ(image.format.redMask, 0xF800u);
  EXPECT_EQ(image.pitch, 4u) << "the row length comes from the format";
  ReleaseBaseImage(&image);
  ByteWriter otherFlags = DdsHeader(2, 1, 0x4 | 0x1, 23, 0, nullptr);
  otherFlags.U16(0).U16(0);
  EXPECT_EQ(wqtest::ReadImageBytes(ReadDdsImage, otherFlags.bytes(), &image), -1);

  // An 8-bit R3G3B2 file gets a palette that spells its values out.
  ByteWriter small = DdsHeader(2, 1, 0x4, 27, 0, nullptr);
  small.U8(0xE0).U8(0x03);
  ASSERT_EQ(wqtest::ReadImageBytes(ReadDdsImage, small.bytes(), &image), 0);
  int r = 0, g = 0, b = 0;
  GetBaseImagePixel(&image, 0, 0, &r, &g, &b, nullptr);
  EXPECT_EQ(r * 1000000 + g * 1000 + b, 255000000);
  GetBaseImagePixel(&image, 1, 0, &r, &g, &b, nullptr);
  EXPECT_EQ(r * 1000000 + g * 1000 + b, 255);
  ReleaseBaseImage(&image);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST(DdsReaderTest, UnknownFormatsAndImpossibleHeadersAreRefused) {
  std::uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0};
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"not DDS", "XDS " + std::string(200, '\0')},
      {"short header", DdsHeader(4, 4, 0x4, FourCc("DXT1"), 0, nullptr).bytes().substr(0, 100)},
      {"other FourCC", DdsHeader(4, 4, 0x4, FourCc("ATI2"), 0, nullptr).bytes() + std::string(16, '\0')},
      {"luminance", DdsHeader(4, 4, 0x20000, 0, 8, masks).bytes() + std::string(16, '\0')},
      {"zero width", DdsHeader(0, 4, 0x4, FourCc("DXT1"), 0, nullptr).bytes() + std::string(16, '\0')},
      {"pitch shorter than a row",
       DdsHeader(4, 1, 0x40, 0, 24, masks, 0x1007 | 0x8, 3).bytes() + std::string(12, '\0')},
      {"data missing", DdsHeader(4096, 4096, 0x4, FourCc("DXT1"), 0, nullptr).bytes() + std::string(64, '\0')},
  };
  for (const Case& c : cases) {
    BaseImage image{};
    EXPECT_EQ(wqtest::ReadImageBytes(ReadDdsImage, c.bytes, &image), -1) << c.name;
  }
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

}  // namespace
