// The built-in colour-format descriptors: every format's bits, masks,
// widths and shifts, and null for the formats without one.
#include <gtest/gtest.h>

#include "graphics/screen_mode.h"

namespace {

TEST(ColorFormatDescTest, EveryFormatCarriesItsMasksAndBits) {
  struct {
    int format, bits, bytes;
    std::uint32_t red, green, blue, alpha, unused;
    int redShift, redWidth, greenShift, greenWidth, blueWidth, alphaShift, alphaWidth;
  } cases[] = {
      {20, 24, 3, 0xFF0000, 0xFF00, 0xFF, 0, 0, 16, 8, 8, 8, 8, 0, 0},
      {21, 32, 4, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 0, 16, 8, 8, 8, 8, 24, 8},
      {22, 32, 4, 0xFF0000, 0xFF00, 0xFF, 0, 0xFF000000, 16, 8, 8, 8, 8, 0, 0},
      {23, 16, 2, 0xF800, 0x7E0, 0x1F, 0, 0, 11, 5, 5, 6, 5, 0, 0},
      {24, 16, 2, 0x7C00, 0x3E0, 0x1F, 0, 0x8000, 10, 5, 5, 5, 5, 0, 0},
      {25, 16, 2, 0x7C00, 0x3E0, 0x1F, 0x8000, 0, 10, 5, 5, 5, 5, 15, 1},
      {26, 16, 2, 0xF00, 0xF0, 0xF, 0xF000, 0, 8, 4, 4, 4, 4, 12, 4},
      {27, 8, 1, 0xE0, 0x1C, 0x3, 0, 0, 5, 3, 2, 3, 2, 0, 0},
      {29, 16, 2, 0xE0, 0x1C, 0x3, 0xFF00, 0, 5, 3, 2, 3, 2, 8, 8},
      {30, 16, 2, 0xF00, 0xF0, 0xF, 0, 0xF000, 8, 4, 4, 4, 4, 0, 0},
      {31, 32, 4, 0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000, 0, 0, 10, 10, 10, 10, 30, 2},
      {32, 32, 4, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, 0, 0, 8, 8, 8, 8, 24, 8},
      {33, 32, 4, 0xFF, 0xFF00, 0xFF0000, 0, 0xFF000000, 0, 8, 8, 8, 8, 0, 0},
      {35, 32, 4, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000, 0, 20, 10, 10, 10, 10, 30, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    const ColorFormat* f = GetColorFormatDesc(c.format);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f, GetColorFormatDesc(c.format));
    EXPECT_EQ(f->bits, c.bits);
    EXPECT_EQ(f->bytesPerPixel, c.bytes);
    EXPECT_EQ(f->redMask, c.red);
    EXPECT_EQ(f->greenMask, c.green);
    EXPECT_EQ(f->blueMask, c.blue);
    EXPECT_EQ(f->alphaMask, c.alpha);
    EXPECT_EQ(f->unusedMask, c.unused);
    EXPECT_EQ(f->redShift, c.redShift);
    EXPECT_EQ(f->redWidth, c.redWidth);
    EXPECT_EQ(f->greenShift, c.greenShift);
    EXPECT_EQ(f->greenWidth, c.greenWidth);
    EXPECT_EQ(f->blueWidth, c.blueWidth);
    EXPECT_EQ(f->alphaShift, c.alphaShift);
    EXPECT_EQ(f->alphaWidth, c.alphaWidth);
  }
  for (int missing : {0, 19, 28, 34, 36, 71, 80}) EXPECT_EQ(GetColorFormatDesc(missing), nullptr) << missing;
}

}  // namespace
