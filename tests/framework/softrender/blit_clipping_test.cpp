// Clipping of the blits: a clipped draw equals the unclipped draw seen
// through DrawArea (mirrored or not), a destination smaller than DrawArea
// is never written outside, rectangles at the ends of the 32-bit range are
// drawn right or refused, and the stretched blit samples the source pixels
// that nearest-pixel scaling names.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>

#include "blit_scene.h"
#include "image/blend_tables.h"
#include "reference_model.h"
#include "softrender/image_blit.h"

namespace blit_test {
namespace {

struct Format {
  int type, palette, alpha;
};
constexpr Format kFormats[] = {{kMemImgRgb32, 0, 0}, {kMemImgRgb32, 0, 1},  {kMemImgRgb32, 1, 0},
                               {kMemImgRgb565, 0, 0}, {kMemImgRgb565, 0, 1}, {kMemImgRgb565, 1, 0}};
constexpr std::uint32_t kDrawnModes[] = {0, 1, 2, 3, 4, 10, 11};

int Between(std::mt19937& random, int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); }

// Random state for one draw: any drawn mode, parameter, tint and blend table.
void RandomState(std::mt19937& random) {
  BlendMode = kDrawnModes[random() % 7];
  BlendParam = random() % 256;
  DrawBright = random() % 2 ? 0xFFFFFF : random() & 0xFFFFFF;
  BuildBlendImageTable(Between(random, 0, 255), Between(random, 0, 255));
}

TEST(BlitClipping, ClippedDrawEqualsTheUnclippedDrawInsideDrawArea) {
  std::mt19937 random(3);
  for (const Format& f : kFormats)
    for (int trial = 0; trial < 150; ++trial) {
      GuardedImage dst, src, blend;
      dst.Create(24, 20, 1, f.type, 0, 0);
      src.Create(Between(random, 1, 10), Between(random, 1, 10), 1, f.type, f.palette, f.alpha);
      blend.Create(src.View()->width, src.View()->height, 1, kMemImgChannel8, 0, 0);
      FillRandom(dst, random);
      FillRandom(src, random);
      FillRandom(blend, random);
      ResetDrawState(dst.View());
      RandomState(random);
      const int transparent = Between(random, 0, 1);
      const MEMIMG* blendView = random() % 2 ? blend.View() : nullptr;
      const bool stretched = trial % 2;
      RECT corners{Between(random, -12, 24), Between(random, -12, 20), 0, 0};
      corners.right = corners.left + (random() % 2 ? 1 : -1) * Between(random, 1, 30);
      corners.bottom = corners.top + (random() % 2 ? 1 : -1) * Between(random, 1, 30);
      const auto draw = [&] {
        if (stretched) MemImgStretchBlit(dst.View(), src.View(), &corners, transparent, blendView);
        else MemImgBlit(dst.View(), src.View(), corners.left, corners.top, transparent, blendView);
      };
      const std::vector<std::uint8_t> before = dst.Bytes();
      draw();
      const std::vector<std::uint8_t> unclipped = dst.Bytes();
      dst.SetBytes(before);
      const int left = Between(random, 0, 23), top = Between(random, 0, 19);
      DrawArea = RECT{left, top, Between(random, left, 24), Between(random, top, 20)};
      draw();
      std::vector<std::uint8_t> expected = before;
      for (int y = DrawArea.top; y < DrawArea.bottom; ++y)
        for (int x = DrawArea.left; x < DrawArea.right; ++x)
          std::memcpy(&expected[dst.Offset(x, y)], &unclipped[dst.Offset(x, y)], dst.BytesPerPixel());
      ASSERT_EQ(dst.Bytes(), expected) << "trial " << trial << " stretched " << stretched << " mode " << BlendMode;
    }
}

// DrawArea normally lies inside the draw target; a destination that is not
// the draw target may be smaller. Nothing around it is written.
TEST(BlitClipping, DestinationSmallerThanDrawAreaIsNotWrittenOutside) {
  std::mt19937 random(5);
  for (const Format& f : kFormats) {
    GuardedImage dst, src;
    dst.Create(8, 6, 4, f.type, 0, 0);
    src.Create(20, 20, 0, f.type, f.palette, f.alpha);
    FillRandom(dst, random);
    FillRandom(src, random);
    ResetDrawState(dst.View());
    DrawArea = RECT{0, 0, 100, 100};
    const std::vector<std::uint8_t> before = dst.Bytes();
    const RECT corners{-5, -3, 30, 25};
    MemImgBlit(dst.View(), src.View(), -3, -2, 0, nullptr);
    MemImgStretchBlit(dst.View(), src.View(), &corners, 0, nullptr);
    const std::vector<std::uint8_t> drawn = dst.Bytes();
    dst.SetBytes(before);
    reference::Blit(dst.View(), src.View(), -3, -2, 0, nullptr);
    reference::StretchBlit(dst.View(), src.View(), &corners, 0, nullptr);
    EXPECT_EQ(drawn, dst.Bytes());
    EXPECT_NE(drawn, before);
  }
}

// Positions and extents near the ends of the 32-bit range: drawn as the
// 64-bit model draws them, or (when the scale leaves no step) not at all.
TEST(BlitClipping, RectanglesAtTheEndsOfTheRangeAreDrawnRightOrRefused) {
  std::mt19937 random(9);
  GuardedImage dst, src;
  dst.Create(16, 8, 2, kMemImgRgb32, 0, 0);
  src.Create(4, 4, 2, kMemImgRgb32, 0, 0);
  FillRandom(dst, random);
  FillRandom(src, random);
  ResetDrawState(dst.View());
  const RECT stretches[] = {
      {INT_MIN, 0, INT_MAX, 4}, {INT_MAX, 0, INT_MIN, 8}, {-20000, -3, 20000, 40000}, {0, INT_MIN, 16, INT_MAX},
      {-40000, 0, 16, 8},       {3, 2, 3 + 40000, 3},      {INT_MAX - 1, 0, INT_MAX, 4}, {INT_MIN, 0, INT_MIN + 3, 4},
  };
  for (const RECT& corners : stretches) {
    const std::vector<std::uint8_t> before = dst.Bytes();
    MemImgStretchBlit(dst.View(), src.View(), &corners, 0, nullptr);
    const std::vector<std::uint8_t> drawn = dst.Bytes();
    dst.SetBytes(before);
    reference::StretchBlit(dst.View(), src.View(), &corners, 0, nullptr);
    EXPECT_EQ(drawn, dst.Bytes()) << corners.left << " " << corners.top << " " << corners.right << " " << corners.bottom;
  }
  for (const int position : {INT_MIN, INT_MIN + 1, INT_MAX - 2, INT_MAX}) {
    const std::vector<std::uint8_t> before = dst.Bytes();
    MemImgBlit(dst.View(), src.View(), position, 0, 0, nullptr);
    MemImgBlit(dst.View(), src.View(), 0, position, 0, nullptr);
    EXPECT_EQ(dst.Bytes(), before) << position;
  }
}

TEST(BlitClipping, AShrinkBeyondOneStepPerSourceWidthIsRefused) {
  GuardedImage dst, src;
  dst.Create(4, 4, 0, kMemImgRgb32, 0, 0);
  src.Create(70000, 1, 0, kMemImgRgb32, 0, 0);
  std::memset(dst.Pixel(0, 0), 0x5A, 4);
  std::memset(src.Pixel(0, 0), 0xA5, 4 * 70000);
  ResetDrawState(dst.View());
  const RECT onePixel{0, 0, 1, 1};
  MemImgStretchBlit(dst.View(), src.View(), &onePixel, 0, nullptr);
  EXPECT_EQ(*dst.Pixel(0, 0), 0x5A);
  const RECT twoPixels{0, 0, 2, 1};
  MemImgStretchBlit(dst.View(), src.View(), &twoPixels, 0, nullptr);
  EXPECT_EQ(*dst.Pixel(1, 0), 0xA5);
}

struct Sampling {
  const char* what;
  RECT corners;
  int columns[8];  // the source column of each destination pixel of row 0, -1 untouched
  int rows[4];     // the source row of each destination row, -1 untouched
};
const Sampling kSamplings[] = {
    {"twice the size", {0, 0, 8, 4}, {0, 0, 1, 1, 2, 2, 3, 3}, {0, 0, 1, 1}},
    {"half the size", {0, 0, 2, 1}, {0, 2, -1, -1, -1, -1, -1, -1}, {0, -1, -1, -1}},
    {"mirrored across", {4, 0, 0, 2}, {3, 2, 1, 0, -1, -1, -1, -1}, {0, 1, -1, -1}},
    {"upside down", {0, 2, 4, 0}, {0, 1, 2, 3, -1, -1, -1, -1}, {1, 0, -1, -1}},
    {"turned half round", {4, 2, 0, 0}, {3, 2, 1, 0, -1, -1, -1, -1}, {1, 0, -1, -1}},
    {"mirrored twice the size", {8, 0, 0, 4}, {3, 3, 2, 2, 1, 1, 0, 0}, {0, 0, 1, 1}},
    {"three across from four", {0, 0, 3, 2}, {0, 1, 2, -1, -1, -1, -1, -1}, {0, 1, -1, -1}},
};

TEST(StretchSampling, EachDestinationPixelTakesItsNearestSourcePixel) {
  for (const Sampling& s : kSamplings) {
    SCOPED_TRACE(s.what);
    GuardedImage dst, src;
    dst.Create(8, 4, 0, kMemImgRgb32, 0, 0);
    src.Create(4, 2, 0, kMemImgRgb32, 0, 0);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) {
        const std::uint32_t value = 0x00100000u * y + x;
        std::memcpy(src.Pixel(x, y), &value, 4);
      }
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x) std::memcpy(dst.Pixel(x, y), "\xFF\xFF\xFF\xFF", 4);
    ResetDrawState(dst.View());
    MemImgStretchBlit(dst.View(), src.View(), &s.corners, 0, nullptr);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x) {
        std::uint32_t value;
        std::memcpy(&value, dst.Pixel(x, y), 4);
        const bool drawn = s.rows[y] >= 0 && s.columns[x] >= 0;
        const std::uint32_t expected = drawn ? 0x00100000u * s.rows[y] + s.columns[x] : 0xFFFFFFFFu;
        EXPECT_EQ(value, expected) << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace blit_test
