// The static colour formats of software images: every type's masks,
// widths, shifts and unused bits.
#include <gtest/gtest.h>

#include "image/memimg.h"

namespace {

TEST(MemImgColorFormatTest, EveryFormatCarriesItsMasksAndBits) {
  struct {
    int type, palette, alpha;
    int bits, bytes;
    std::uint32_t red, green, blue, alphaMask, unused;
    int redShift, redWidth, greenWidth, alphaShift, alphaWidth;
  } cases[] = {
      {0, 0, 0, 16, 2, 0xF800, 0x07E0, 0x001F, 0, 0, 11, 5, 6, 0, 0},
      {0, 1, 0, 8, 1, 0xF800, 0x07E0, 0x001F, 0, 0, 11, 5, 6, 0, 0},
      {0, 0, 1, 32, 4, 0xF800, 0x07E0, 0x001F, 0x00FF0000, 0xFF000000, 11, 5, 6, 16, 8},
      {0, 1, 1, 8, 1, 0xF800, 0x07E0, 0x001F, 0x00FF0000, 0, 11, 5, 6, 16, 8},
      {1, 0, 0, 32, 4, 0xFF0000, 0xFF00, 0xFF, 0, 0xFF000000, 16, 8, 8, 0, 0},
      {1, 1, 0, 8, 1, 0xFF0000, 0xFF00, 0xFF, 0, 0, 16, 8, 8, 0, 0},
      {1, 0, 1, 32, 4, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 0, 16, 8, 8, 24, 8},
      {1, 1, 1, 8, 1, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 0, 16, 8, 8, 24, 8},
      {2, 1, 1, 8, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 8, 8, 0, 8},  // flags ignored
      {3, 0, 0, 16, 2, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0, 0, 16, 16, 0, 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " palette " << c.palette << " alpha " << c.alpha);
    const ColorFormat* format = GetMemImgColorFormat(c.type, c.alpha, c.palette);
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format, GetMemImgColorFormat(c.type, c.alpha, c.palette));  // built once
    EXPECT_EQ(format->bits, c.bits);
    EXPECT_EQ(format->bytesPerPixel, c.bytes);
    EXPECT_EQ(format->redMask, c.red);
    EXPECT_EQ(format->greenMask, c.green);
    EXPECT_EQ(format->blueMask, c.blue);
    EXPECT_EQ(format->alphaMask, c.alphaMask);
    EXPECT_EQ(format->unusedMask, c.unused);
    EXPECT_EQ(format->redShift, c.redShift);
    EXPECT_EQ(format->redWidth, c.redWidth);
    EXPECT_EQ(format->greenWidth, c.greenWidth);
    EXPECT_EQ(format->blueShift, 0);
    EXPECT_EQ(format->alphaShift, c.alphaShift);
    EXPECT_EQ(format->alphaWidth, c.alphaWidth);
    EXPECT_EQ(format->compressedKind, 0u);
  }
  EXPECT_EQ(GetMemImgColorFormat(4, 0, 0), nullptr);
  EXPECT_EQ(GetMemImgColorFormat(-1, 0, 0), nullptr);
}

}  // namespace
