// Worked results of the rectangle fill and the circles: the circle masks of
// the small radii, the game's radius 5 and radius 10 with how often each pixel is
// drawn, one-pixel results of the fill's own rules (its tint, the fourth
// byte, the saturating add and subtract), ordered and clipped rectangles,
// and the draws that leave the destination alone.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "blit_scene.h"
#include "softrender/colour_shapes.h"

namespace blit_test {
namespace {

std::uint32_t Pixel32(GuardedImage& image, int x, int y) {
  std::uint32_t value;
  std::memcpy(&value, image.Pixel(x, y), 4);
  return value;
}

void Clear(GuardedImage& image, std::uint32_t value) {
  for (int y = 0; y < static_cast<int>(image.View()->height); ++y)
    for (int x = 0; x < static_cast<int>(image.View()->width); ++x)
      std::memcpy(image.Pixel(x, y), &value, image.BytesPerPixel());
}

// A 32-bit black destination on which mode 2 at full parameter adds 1 to
// blue per drawing of a pixel: the picture counts the draws.
class CircleCount : public testing::Test {
 protected:
  GuardedImage dst_;
  void SetUp() override {
    dst_.Create(25, 25, 2, kMemImgRgb32, 0, 0);
    Clear(dst_, 0);
    ResetDrawState(dst_.View());
    BlendMode = 2;
    BlendParam = 255;
  }
  // Rows of the (2r + 1)-square about (12, 12): '.' for untouched, else the
  // number of draws.
  std::vector<std::string> Counts(int radius) {
    std::vector<std::string> rows;
    for (int y = 12 - radius; y <= 12 + radius; ++y) {
      std::string row;
      for (int x = 12 - radius; x <= 12 + radius; ++x) {
        const std::uint32_t blue = Pixel32(dst_, x, y) & 0xFF;
        row += blue == 0 ? '.' : static_cast<char>('0' + blue);
      }
      rows.push_back(row);
    }
    return rows;
  }
  // The whole image's bytes with the square zeroed.
  std::vector<std::uint8_t> OutsideSquare(std::vector<std::uint8_t> bytes, int radius) {
    for (int y = 12 - radius; y <= 12 + radius; ++y)
      std::memset(bytes.data() + dst_.Offset(12 - radius, y), 0, (2 * radius + 1) * 4);
    return bytes;
  }
};

struct CircleMask {
  int radius;
  std::vector<std::string> outline;
};
const CircleMask kMasks[] = {
    {0, {"4"}},
    {1, {".1.", "1.1", ".1."}},
    {2, {".111.", "1...1", "1...1", "1...1", ".111."}},
    {3, {"..111..", ".2...2.", "1.....1", "1.....1", "1.....1", ".2...2.", "..111.."}},
    // The game's circles.
    {5,
     {"...11111...", "..1.....1..", ".1.......1.", "1.........1", "1.........1", "1.........1", "1.........1",
      "1.........1", ".1.......1.", "..1.....1..", "...11111..."}},
    {10,
     {".......1111111.......", ".....11.......11.....", "....1...........1....", "...2.............2...",
      "..1...............1..", ".1.................1.", ".1.................1.", "1...................1",
      "1...................1", "1...................1", "1...................1", "1...................1",
      "1...................1", "1...................1", ".1.................1.", ".1.................1.",
      "..1...............1..", "...2.............2...", "....1...........1....", ".....11.......11.....",
      ".......1111111......."}},
};

// The filled circle covers each row from its outline's leftmost to its
// rightmost pixel, every pixel once.
std::vector<std::string> FilledFrom(const std::vector<std::string>& outline) {
  std::vector<std::string> rows;
  for (const std::string& row : outline) {
    std::string filled(row.size(), '.');
    const std::size_t first = row.find_first_not_of('.'), last = row.find_last_not_of('.');
    for (std::size_t x = first; x <= last; ++x) filled[x] = '1';
    rows.push_back(filled);
  }
  return rows;
}

TEST_F(CircleCount, OutlinesDrawTheWalkPointsWithDiagonalsTwiceAndARadiusZeroCentreFourTimes) {
  for (const CircleMask& mask : kMasks) {
    SCOPED_TRACE(mask.radius);
    Clear(dst_, 0);
    const std::vector<std::uint8_t> before = dst_.Bytes();
    MemImgDrawCircle(dst_.View(), 12, 12, mask.radius, 1, 0);
    EXPECT_EQ(Counts(mask.radius), mask.outline);
    EXPECT_EQ(OutsideSquare(dst_.Bytes(), mask.radius), OutsideSquare(before, mask.radius))
        << "a pixel outside the circle's square changed";
  }
}

TEST_F(CircleCount, FilledCirclesDrawEveryPixelOnceOutToTheOutline) {
  for (const CircleMask& mask : kMasks) {
    SCOPED_TRACE(mask.radius);
    Clear(dst_, 0);
    const std::vector<std::uint8_t> before = dst_.Bytes();
    MemImgDrawCircle(dst_.View(), 12, 12, mask.radius, 1, 7);
    EXPECT_EQ(Counts(mask.radius), FilledFrom(mask.outline));
    EXPECT_EQ(OutsideSquare(dst_.Bytes(), mask.radius), OutsideSquare(before, mask.radius));
  }
}

TEST_F(CircleCount, CirclesAreClippedToTheDrawAreaWithExclusiveRightAndBottomEdges) {
  DrawArea = RECT{5, 6, 13, 14};
  for (std::uint32_t fill : {0u, 1u}) {
    Clear(dst_, 0);
    MemImgDrawCircle(dst_.View(), 12, 12, 10, 1, fill);
    std::vector<std::string> want = fill ? FilledFrom(kMasks[5].outline) : kMasks[5].outline;
    for (int row = 0; row < 21; ++row)
      for (int column = 0; column < 21; ++column)
        if (column + 2 < 5 || column + 2 >= 13 || row + 2 < 6 || row + 2 >= 14) want[row][column] = '.';
    EXPECT_EQ(Counts(10), want) << "fill " << fill;
  }
  // A circle wholly outside, and a draw area without columns, draw nothing.
  Clear(dst_, 0);
  const std::vector<std::uint8_t> before = dst_.Bytes();
  MemImgDrawCircle(dst_.View(), 40, 12, 10, 1, 1);
  DrawArea = RECT{5, 0, 5, 25};
  MemImgDrawCircle(dst_.View(), 12, 12, 10, 1, 0);
  MemImgDrawCircle(dst_.View(), 12, 12, 10, 1, 1);
  EXPECT_EQ(dst_.Bytes(), before);
}

// One 32-bit pixel of colour value 0x11FFFFFF drawn over 0x22FFFFFF by a
// fill, a filled circle of radius 0 and an outline of radius 1 (whose
// points are each drawn once).
struct PixelRule {
  const char* name;
  std::uint32_t mode;
  std::uint32_t param;
  std::uint32_t bright;
  std::uint32_t colour;
  std::uint32_t before;
  std::uint32_t after;
};
const PixelRule kPixelRules[] = {
    {"copy stores the colour's fourth byte", 0, 0, 0xFFFFFF, 0x11ABCDEF, 0x22FFFFFF, 0x11ABCDEF},
    {"a tint shifts by 8 and keeps the fourth byte", 0, 0, 0x80FF40, 0x11FFFFFF, 0x22000000, 0x117FFE3F},
    {"one bright byte below 255 turns 255 into 254 everywhere", 0, 0, 0xFFFFFE, 0x11FFFFFF, 0x22000000, 0x11FEFEFD},
    {"alpha blend at 255 is the copy", 1, 255, 0xFFFFFF, 0x11ABCDEF, 0x22FFFFFF, 0x11ABCDEF},
    {"alpha blend at 0 draws nothing", 1, 0, 0xFFFFFF, 0x11ABCDEF, 0x22FFFFFF, 0x22FFFFFF},
    {"alpha blend floors and keeps the fourth byte", 1, 128, 0xFFFFFF, 0x00000000, 0x22FF0301, 0x227F0100},
    {"white added to white saturates with the red carry", 2, 255, 0xFFFFFF, 0x11FFFFFF, 0x22FFFFFF, 0x01FFFFFF},
    {"white from white leaves the low bits of green and red", 3, 255, 0xFFFFFF, 0x11FFFFFF, 0x22FFFFFF, 0x00010100},
    {"subtract at 0 draws nothing", 3, 0, 0xFFFFFF, 0x11FFFFFF, 0x22FFFFFF, 0x22FFFFFF},
    {"multiply ignores the parameter", 4, 0, 0xFFFFFF, 0x00808080, 0x22FF4002, 0x227F2001},
    {"inverted-source blend inverts the tinted colour", 10, 255, 0x000000, 0x11FFFFFF, 0x22000000, 0x22FEFEFE},
    {"multiply blend at 0 keeps every pixel", 11, 0, 0xFFFFFF, 0x11123456, 0x22ABCDEF, 0x22ABCDEF},
    {"modes 5 to 9 draw nothing", 7, 255, 0xFFFFFF, 0x11123456, 0x22ABCDEF, 0x22ABCDEF},
};

void PrintTo(const PixelRule& rule, std::ostream* out) { *out << rule.name; }

class ColourPixelRules : public testing::TestWithParam<PixelRule> {};

TEST_P(ColourPixelRules, FillAndCirclesGiveTheWorkedResult) {
  const PixelRule& rule = GetParam();
  GuardedImage dst;
  dst.Create(5, 5, 2, kMemImgRgb32, 0, 0);
  for (int kernel = 0; kernel < 3; ++kernel) {
    Clear(dst, rule.before);
    ResetDrawState(dst.View());
    BlendMode = rule.mode;
    BlendParam = rule.param;
    DrawBright = rule.bright;
    const RECT rect{2, 2, 3, 3};
    if (kernel == 0) MemImgFillRect(dst.View(), &rect, rule.colour);
    else if (kernel == 1) MemImgDrawCircle(dst.View(), 2, 2, 0, rule.colour, 1);
    else MemImgDrawCircle(dst.View(), 2, 3, 1, rule.colour, 0);
    EXPECT_EQ(Pixel32(dst, 2, 2), rule.after) << "kernel " << kernel;
  }
}

INSTANTIATE_TEST_SUITE_P(Rules, ColourPixelRules, testing::ValuesIn(kPixelRules),
                         [](const testing::TestParamInfo<PixelRule>& info) { return std::to_string(info.index); });

TEST(RectFill, ReversedEdgesFillTheSameRectangle) {
  GuardedImage a, b;
  for (GuardedImage* image : {&a, &b}) image->Create(12, 12, 2, kMemImgRgb565, 0, 0);
  ResetDrawState(a.View());
  Clear(a, 0);
  const RECT forward{5, 5, 10, 10};
  MemImgFillRect(a.View(), &forward, 0x1234);
  for (const RECT& reversed : {RECT{10, 10, 5, 5}, RECT{5, 10, 10, 5}, RECT{10, 5, 5, 10}}) {
    Clear(b, 0);
    MemImgFillRect(b.View(), &reversed, 0xFFFF1234);  // the upper 16 bits are dropped
    EXPECT_EQ(a.Bytes(), b.Bytes());
  }
  const std::vector<std::uint8_t> before = b.Bytes();
  const RECT empty{7, 2, 7, 9};
  MemImgFillRect(b.View(), &empty, 0);
  EXPECT_EQ(b.Bytes(), before);
}

// A destination smaller than the draw target: the fill stops at its own
// edges and the poison around the view stays.
TEST(RectFill, StaysInsideADestinationSmallerThanTheDrawArea) {
  GuardedImage target, small;
  target.Create(40, 40, 0, kMemImgRgb32, 0, 0);
  small.Create(6, 4, 3, kMemImgRgb32, 0, 0);
  std::mt19937 random(5);
  FillRandom(small, random);
  ResetDrawState(target.View());
  std::vector<std::uint8_t> want = small.Bytes();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) std::memset(want.data() + small.Offset(x, y), 0x5A, 4);
  const RECT huge{-20, -20, 30, 30};
  MemImgFillRect(small.View(), &huge, 0x5A5A5A5A);
  EXPECT_EQ(small.Bytes(), want);
  small.SetBytes(want);
  MemImgFillRect(small.View(), nullptr, 0x5A5A5A5A);
  EXPECT_EQ(small.Bytes(), want);
  MemImgDrawCircle(small.View(), 2, 2, 30, 0x5A5A5A5A, 1);
  EXPECT_EQ(small.Bytes(), want);
}

// Palettised, alpha-carrying and single-channel destinations, negative
// radii and centres at the ends of the 32-bit range leave every byte alone.
TEST(ColourShapes, RefusedDrawsLeaveTheDestinationAlone) {
  struct Destination {
    int colorType, palette, alpha;
  };
  for (const Destination& format : {Destination{kMemImgRgb32, 1, 0}, Destination{kMemImgRgb32, 0, 1},
                                    Destination{kMemImgRgb565, 1, 0}, Destination{kMemImgRgb565, 0, 1},
                                    Destination{kMemImgChannel8, 0, 0}}) {
    GuardedImage dst;
    dst.Create(10, 10, 2, format.colorType, format.palette, format.alpha);
    std::mt19937 random(9);
    FillRandom(dst, random);
    ResetDrawState(dst.View());
    const std::vector<std::uint8_t> before = dst.Bytes();
    MemImgFillRect(dst.View(), nullptr, 0x12345678);
    MemImgDrawCircle(dst.View(), 5, 5, 3, 0x12345678, 1);
    MemImgDrawCircle(dst.View(), 5, 5, 3, 0x12345678, 0);
    EXPECT_EQ(dst.Bytes(), before) << format.colorType << format.palette << format.alpha;
  }
  GuardedImage dst;
  dst.Create(10, 10, 2, kMemImgRgb32, 0, 0);
  ResetDrawState(dst.View());
  const std::vector<std::uint8_t> before = dst.Bytes();
  for (std::uint32_t fill : {0u, 1u}) {
    MemImgDrawCircle(dst.View(), 5, 5, -1, 0x12345678, fill);
    MemImgDrawCircle(dst.View(), INT_MAX, INT_MAX, 100, 0x12345678, fill);
    MemImgDrawCircle(dst.View(), INT_MIN, 5, INT_MAX, 0x12345678, fill);
    MemImgDrawCircle(dst.View(), 5, INT_MIN + 3, 1000, 0x12345678, fill);
  }
  EXPECT_EQ(dst.Bytes(), before);
}

}  // namespace
}  // namespace blit_test
