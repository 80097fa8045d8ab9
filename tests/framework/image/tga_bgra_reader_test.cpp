// TGA and raw BGRA specifics beyond the layouts: what a 16-bit TGA keeps,
// colour maps placed from their first index, BGRA channel widths, and the
// headers both readers refuse.
#include <gtest/gtest.h>

#include "core/base/tracked_allocator.h"
#include "image_fixtures.h"

namespace {

using wqtest::ByteWriter;

ByteWriter TgaHeader(int type, int width, int height, int depth, int descriptor, int mapFirst = 0, int mapLength = 0,
                     int mapBits = 0, int originX = 0) {
  ByteWriter w;
  w.U8(0).U8(mapLength ? 1 : 0).U8(type).U16(mapFirst).U16(mapLength).U8(mapBits).U16(originX).U16(0);
  w.U16(width).U16(height).U8(depth).U8(descriptor);
  return w;
}

TEST(TgaReaderTest, SixteenBitPixelsKeepTheirAttributeBitWhichTheFormatLeavesUnused) {
  ByteWriter file = TgaHeader(2, 1, 1, 16, 0x20);
  file.U16(0x8000 | 31 << 10);
  BaseImage image{};
  ASSERT_EQ(wqtest::ReadImageBytes(ReadTgaImage, file.bytes(), &image), 0);
  EXPECT_EQ(*static_cast<std::uint16_t*>(image.pixels), 0x8000 | 31 << 10);
  EXPECT_EQ(image.format.unusedMask, 0x8000u);
  EXPECT_EQ(image.format.alphaWidth, 0);
  ReleaseBaseImage(&image);
}

TEST(TgaReaderTest, ColourMapEntriesBeforeTheFirstIndexAreBlack) {
  ByteWriter file = TgaHeader(1, 2, 1, 8, 0x20, 10, 1, 24);
  file.U8(0x30).U8(0x20).U8(0x10);  // entry 10: red 0x10, green 0x20, blue 0x30
  file.U8(10).U8(0);
  BaseImage image{};
  ASSERT_EQ(wqtest::ReadImageBytes(ReadTgaImage, file.bytes(), &image), 0);
  EXPECT_EQ(GetBaseImagePixelArgb(&image, 0, 0), 0x102030u);
  EXPECT_EQ(GetBaseImagePixelArgb(&image, 1, 0), 0u);
  ReleaseBaseImage(&image);
}

TEST(TgaReaderTest, RefusedHeadersAndDamagedDataLeaveNothingAllocated) {
  std::string pixels(64, '\x11');
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"grey (type 3)", TgaHeader(3, 2, 2, 8, 0).bytes() + pixels},
      {"x origin 1", TgaHeader(2, 2, 2, 24, 0, 0, 0, 0, 1).bytes() + pixels},
      {"width 8193", TgaHeader(2, 8193, 1, 24, 0).bytes() + pixels},
      {"depth 8 true colour", TgaHeader(2, 2, 2, 8, 0).bytes() + pixels},
      {"zero height", TgaHeader(2, 2, 0, 24, 0).bytes() + pixels},
      {"pixels cut short", TgaHeader(2, 4, 4, 24, 0).bytes() + pixels.substr(0, 40)},
      {"run-length data ends early", TgaHeader(10, 4, 4, 24, 0).bytes() + "\x85\x01\x02\x03"},
      {"raw packet cut short", TgaHeader(10, 4, 4, 24, 0).bytes() + "\x05\x01\x02"},
      {"colour map cut short", TgaHeader(1, 2, 2, 8, 0, 0, 200, 24).bytes() + pixels},
      {"map past 256 entries, indices cut short",
       TgaHeader(9, 8, 8, 8, 0, 250, 10, 32).bytes() + std::string(40, '\x81')},
  };
  for (const Case& c : cases) {
    BaseImage image{};
    EXPECT_EQ(wqtest::ReadImageBytes(ReadTgaImage, c.bytes, &image), -1) << c.name;
    EXPECT_EQ(GetTrackedBlockCount(), 0) << c.name;
  }
}

TEST(TgaReaderTest, RunsPastTheLastPixelAreCut) {
  ByteWriter file = TgaHeader(10, 2, 1, 24, 0x20);
  file.U8(0x80 | 127).U8(1).U8(2).U8(3);  // a run of 128 for 2 pixels
  BaseImage image{};
  ASSERT_EQ(wqtest::ReadImageBytes(ReadTgaImage, file.bytes(), &image), 0);
  EXPECT_EQ(GetBaseImagePixelArgb(&image, 1, 0), 0x030201u);
  ReleaseBaseImage(&image);
}

ByteWriter BgraHeader(std::uint32_t channels, std::int32_t width, std::int32_t height) {
  ByteWriter w;
  w.Text("BGRA").U32(channels).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height));
  return w;
}

TEST(BgraReaderTest, ReadsEightAndSixteenBitChannelsKeepingTheHighBytes) {
  ByteWriter eight = BgraHeader(0x08080808, 2, 1);
  eight.U8(1).U8(2).U8(3).U8(4).U8(5).U8(6).U8(7).U8(8);
  BaseImage image{};
  ASSERT_EQ(wqtest::ReadImageBytes(ReadBgraImage, eight.bytes(), &image), 0);
  EXPECT_EQ(image.pitch, 8u);
  EXPECT_EQ(GetBaseImagePixelArgb(&image, 1, 0), 0x08070605u);
  ReleaseBaseImage(&image);

  ByteWriter wide = BgraHeader(0x10101010, 1, 2);
  wide.U16(0x1122).U16(0x3344).U16(0x5566).U16(0x7788).U16(0xFF00).U16(0x00FF).U16(0x8001).U16(0xFFFF);
  ASSERT_EQ(wqtest::ReadImageBytes(ReadBgraImage, wide.bytes(), &image), 0);
  EXPECT_EQ(GetBaseImagePixelArgb(&image, 0, 0), 0x77553311u);
  EXPECT_EQ(GetBaseImagePixelArgb(&image, 0, 1), 0xFF8000FFu);
  ReleaseBaseImage(&image);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
}

TEST(BgraReaderTest, RefusesBadSizesAndShortFiles) {
  std::string pixels(64, '\0');
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"other channel word", BgraHeader(0x05060506, 2, 2).bytes() + pixels},
      {"negative width", BgraHeader(0x08080808, -2, 2).bytes() + pixels},
      {"zero height", BgraHeader(0x08080808, 2, 0).bytes() + pixels},
      {"overflowing byte count", BgraHeader(0x08080808, 0x40000000, 0x40000000).bytes() + pixels},
      {"side past 8192", BgraHeader(0x08080808, 8193, 1).bytes() + std::string(8193 * 4, '\0')},
      {"pixels cut short", BgraHeader(0x08080808, 4, 4).bytes() + pixels.substr(0, 63)},
      {"wide pixels cut short", BgraHeader(0x10101010, 2, 2).bytes() + pixels.substr(0, 31)},
  };
  for (const Case& c : cases) {
    BaseImage image{};
    EXPECT_EQ(wqtest::ReadImageBytes(ReadBgraImage, c.bytes, &image), -1) << c.name;
    EXPECT_EQ(GetTrackedBlockCount(), 0) << c.name;
  }
}

}  // namespace
