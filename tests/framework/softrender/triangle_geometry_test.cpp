// The triangle kernels' geometry: which pixels a triangle covers and which
// texel each takes (checked with a source whose texels hold their own
// coordinates), how often each pixel is drawn (counted with an add of 1 per
// draw onto black), the quad against the image blit, and the shapes and
// coordinates that must draw nothing.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>

#include "blit_scene.h"
#include "image/blend_tables.h"
#include "softrender/image_blit.h"
#include "softrender/triangle.h"

namespace blit_test {
namespace {

constexpr std::uint32_t kUntouched = 0xDEADBEEF;

std::uint32_t Probe(int u, int v) { return 0x5A000000u | static_cast<std::uint32_t>(v) << 8 | static_cast<std::uint32_t>(u); }

std::uint32_t Read32(GuardedImage& image, int x, int y) {
  std::uint32_t value;
  std::memcpy(&value, image.Pixel(x, y), 4);
  return value;
}

void Fill32(GuardedImage& image, std::uint32_t value) {
  for (int y = 0; y < image.View()->height; ++y)
    for (int x = 0; x < image.View()->width; ++x) std::memcpy(image.Pixel(x, y), &value, 4);
}

// A 32-bit source whose texel (u, v) holds Probe(u, v).
void MakeProbe(GuardedImage& source, int width, int height) {
  source.Create(width, height, 2, kMemImgRgb32, 0, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t value = Probe(x, y);
      std::memcpy(source.Pixel(x, y), &value, 4);
    }
}

// How many times each pixel of a 32-bit destination is drawn by `draw`,
// which is called with blend mode 2 at full parameter onto black and must
// add blue 1 per visit.
std::vector<int> CountDraws(GuardedImage& dst, const std::function<void()>& draw) {
  Fill32(dst, 0);
  ResetDrawState(dst.View());
  BlendMode = 2;
  BlendParam = 255;
  draw();
  std::vector<int> counts;
  for (int y = 0; y < dst.View()->height; ++y)
    for (int x = 0; x < dst.View()->width; ++x) counts.push_back(static_cast<int>(Read32(dst, x, y) & 0xFF));
  return counts;
}

TEST(TriangleGeometry, TheWorkedTriangleCoversSixtyFivePixelsEachWithItsOwnTexel) {
  GuardedImage source, dst;
  MakeProbe(source, 16, 16);
  dst.Create(16, 16, 2, kMemImgRgb32, 0, 0);
  const TriVertex corners[3] = {{0, 0, 0, 0}, {10, 0, 10, 0}, {0, 10, 0, 10}};
  const int orders[][3] = {{0, 1, 2}, {0, 2, 1}, {2, 1, 0}, {1, 2, 0}};  // both windings
  for (const bool flat : {false, true})
    for (const auto& order : orders) {
      SCOPED_TRACE(testing::Message() << "flat " << flat << " order " << order[0] << order[1] << order[2]);
      const TriVertex v[3] = {corners[order[0]], corners[order[1]], corners[order[2]]};
      Fill32(dst, kUntouched);
      ResetDrawState(dst.View());
      MemImgDrawTriangle(dst.View(), flat ? nullptr : source.View(), v, 0, nullptr, 0x00FF0000);
      int drawn = 0;
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          const bool inside = y <= 9 && x <= 10 - y;
          const std::uint32_t want = !inside ? kUntouched : flat ? 0x00FF0000 : Probe(x, y);
          ASSERT_EQ(Read32(dst, x, y), want) << "pixel " << x << ", " << y;
          drawn += inside;
        }
      EXPECT_EQ(drawn, 65);
    }
}

TEST(TriangleGeometry, TexelsAtTheSourceEdgeOrBelowZeroAreSkipped) {
  GuardedImage source, dst;
  MakeProbe(source, 4, 4);
  dst.Create(12, 12, 2, kMemImgRgb32, 0, 0);
  Fill32(dst, kUntouched);
  ResetDrawState(dst.View());
  // Pixel (x, y) takes texel (x - 2, y - 2): only the 4 x 4 block at (2, 2)
  // lies inside the source.
  const TriVertex v[3] = {{0, 0, -2, -2}, {11, 0, 9, -2}, {0, 11, -2, 9}};
  MemImgDrawTriangle(dst.View(), source.View(), v, 0, nullptr, 0);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 2 && y < 6;
      EXPECT_EQ(Read32(dst, x, y), inside ? Probe(x - 2, y - 2) : kUntouched) << "pixel " << x << ", " << y;
    }
}

TEST(TriangleGeometry, ATriangleReachingAboveRowZeroIsDrawnOneRowLower) {
  GuardedImage dst;
  dst.Create(16, 16, 2, kMemImgRgb32, 0, 0);
  struct Case {
    const char* what;
    TriVertex v[3];
    int doubledRow;    // -1: none
    int lastDrawnRow;  // the bottom vertex's row when all rows move down
  };
  const Case cases[] = {
      // The left edge turns at the middle vertex and restarts on its own
      // row, so that row is drawn twice and the lower part stays in place.
      {"middle on the left", {{5, -3, 0, 0}, {0, 4, 0, 0}, {8, 9, 0, 0}}, 4, 8},
      {"middle on the right", {{5, -3, 0, 0}, {10, 4, 0, 0}, {2, 9, 0, 0}}, -1, 9},
      {"flat top", {{1, -3, 0, 0}, {12, -3, 0, 0}, {6, 9, 0, 0}}, -1, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<int> counts =
        CountDraws(dst, [&] { MemImgDrawTriangle(dst.View(), nullptr, c.v, 0, nullptr, 1); });
    for (int y = 0; y < 16; ++y) {
      int most = 0, drawn = 0;
      for (int x = 0; x < 16; ++x) most = std::max(most, counts[y * 16 + x]), drawn += counts[y * 16 + x] > 0;
      EXPECT_EQ(most, y == c.doubledRow ? 2 : (y <= c.lastDrawnRow ? 1 : 0)) << "row " << y;
      if (y <= c.lastDrawnRow) {
        EXPECT_GT(drawn, 0) << "row " << y;
      }
    }
  }
}

// Formats and the combinations where the image blit's own shortcuts give
// other numbers than the triangle's rules.
struct QuadFormat {
  int colorType;
  int palette;
  int alpha;
};

bool BlitHasOwnRule(const QuadFormat& f, std::uint32_t mode, std::uint32_t param, bool blend, bool tint,
                    int transparent) {
  const bool plain = !blend && !tint && !f.alpha;
  const bool copies = mode == 0 || (mode == 1 && param == 255);
  if (plain && mode == 1 && (param == 128 || f.colorType == kMemImgRgb565)) return true;  // halving, 6-bit mix
  if (plain && (mode == 2 || mode == 3) && param == 255) return true;  // the full-parameter add and subtract
  if (f.alpha && copies && !blend && !tint && transparent == 0) return true;  // copies alpha sources whole
  return f.alpha && f.colorType == kMemImgRgb565 && mode == 11 && !blend && !tint;  // the finer green
}

TEST(TriangleGeometry, AnAxisAlignedQuadIsTheImageBlitWithItsSharedEdgeDrawnTwice) {
  constexpr int kWidth = 9, kHeight = 6, kAt = 3, kSize = 16;
  // Which pixels the quad draws twice, and that it draws every pixel of the
  // image once or twice and nothing else.
  GuardedImage counter, ones;
  counter.Create(kSize, kSize, 0, kMemImgRgb32, 0, 0);
  ones.Create(kWidth, kHeight, 0, kMemImgRgb32, 0, 0);
  Fill32(ones, 1);
  const std::int32_t points[8] = {kAt, kAt, kAt + kWidth, kAt, kAt, kAt + kHeight, kAt + kWidth, kAt + kHeight};
  const std::vector<int> counts =
      CountDraws(counter, [&] { MemImgDrawQuad(counter.View(), ones.View(), points, 0, nullptr); });
  int twice = 0;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const int i = x - kAt, j = y - kAt;
      const int count = counts[y * kSize + x];
      const bool inImage = i >= 0 && i < kWidth && j >= 0 && j < kHeight;
      ASSERT_EQ(count > 0, inImage) << "pixel " << x << ", " << y;
      ASSERT_LE(count, 2);
      // Pixels drawn twice lie on the diagonal from top-right to bottom-left.
      if (count == 2) {
        EXPECT_LE(std::abs(i * kHeight + j * kWidth - kWidth * kHeight), kWidth + kHeight);
      }
      twice += count == 2;
    }
  EXPECT_GT(twice, 0);

  constexpr QuadFormat kFormats[] = {{kMemImgRgb32, 0, 0}, {kMemImgRgb32, 0, 1}, {kMemImgRgb32, 1, 0},
                                     {kMemImgRgb565, 0, 0}, {kMemImgRgb565, 0, 1}, {kMemImgRgb565, 1, 0}};
  std::mt19937 random(0x0A0D);
  int compared = 0;
  for (const QuadFormat& f : kFormats)
    for (std::uint32_t mode : {0u, 1u, 2u, 3u, 4u, 10u, 11u})
      for (std::uint32_t param : {1u, 128u, 200u, 255u})
        for (int selectors = 0; selectors < 8; ++selectors) {
          const bool blend = selectors & 1, tint = selectors & 2;
          const int transparent = (selectors & 4) ? 1 : 0;
          if (BlitHasOwnRule(f, mode, param, blend, tint, transparent)) continue;
          SCOPED_TRACE(testing::Message() << "type " << f.colorType << " palette " << f.palette << " alpha "
                                          << f.alpha << " mode " << mode << " param " << param << " selectors "
                                          << selectors);
          GuardedImage dst, src, blendImage;
          dst.Create(kSize, kSize, 2, f.colorType, 0, 0);
          src.Create(kWidth, kHeight, 2, f.colorType, f.palette, f.alpha);
          blendImage.Create(kWidth, kHeight, 2, kMemImgChannel8, 0, 0);
          FillRandom(dst, random);
          FillRandom(src, random);
          FillRandom(blendImage, random);
          ResetDrawState(dst.View());
          BuildBlendImageTable(100, 200);
          BlendMode = mode;
          BlendParam = param;
          DrawBright = tint ? 0x8040C0 : kDrawBrightWhite;
          const MEMIMG* blendView = blend ? blendImage.View() : nullptr;
          const std::vector<std::uint8_t> before = dst.Bytes();
          MemImgDrawQuad(dst.View(), src.View(), points, transparent, blendView);
          const std::vector<std::uint8_t> quad = dst.Bytes();
          dst.SetBytes(before);
          MemImgBlit(dst.View(), src.View(), kAt, kAt, transparent, blendView);
          std::vector<std::uint8_t> want = dst.Bytes();
          MemImgBlit(dst.View(), src.View(), kAt, kAt, transparent, blendView);
          const std::vector<std::uint8_t> blitTwice = dst.Bytes();
          for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
              if (counts[y * kSize + x] == 2) {
                const std::size_t at = dst.Offset(x, y);
                std::memcpy(&want[at], &blitTwice[at], static_cast<std::size_t>(dst.BytesPerPixel()));
              }
          ASSERT_EQ(FirstDifference(quad, want, before, dst.Data()->pitch), "");
          ++compared;
        }
  EXPECT_GT(compared, 1000);
}

TEST(TriangleGeometry, RefusedShapesAndImagesLeaveTheDestinationUntouched) {
  struct Case {
    const char* what;
    TriVertex v[3];
    int dstType;
    int dstPalette;
    int dstAlpha;
    bool smallBlend;
  };
  constexpr int k32 = kMemImgRgb32;
  const Case cases[] = {
      {"collinear", {{0, 0, 0, 0}, {4, 2, 4, 0}, {8, 4, 0, 4}}, k32, 0, 0, false},
      {"x beyond the fixed-point range", {{8192, 0, 0, 0}, {8191, 5, 4, 0}, {8191, 0, 0, 4}}, k32, 0, 0, false},
      {"x difference beyond the range", {{-8192, 0, 0, 0}, {1, 5, 4, 0}, {1, 0, 0, 4}}, k32, 0, 0, false},
      {"y at the ends of int", {{0, INT_MIN, 0, 0}, {5, INT_MAX, 4, 0}, {0, 5, 0, 4}}, k32, 0, 0, false},
      {"texel beyond the range", {{0, 0, -8193, 0}, {5, 0, 4, 0}, {0, 5, 0, 4}}, k32, 0, 0, false},
      {"texel difference beyond the range", {{0, 0, -5000, 0}, {5, 0, 5000, 0}, {0, 5, 0, 4}}, k32, 0, 0, false},
      {"alpha destination", {{0, 0, 0, 0}, {8, 0, 4, 0}, {0, 8, 0, 4}}, k32, 0, 1, false},
      {"palettised destination", {{0, 0, 0, 0}, {8, 0, 4, 0}, {0, 8, 0, 4}}, k32, 1, 0, false},
      {"other colour type", {{0, 0, 0, 0}, {8, 0, 4, 0}, {0, 8, 0, 4}}, kMemImgRgb565, 0, 0, false},
      {"blend image smaller than the source", {{0, 0, 0, 0}, {8, 0, 4, 0}, {0, 8, 0, 4}}, k32, 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GuardedImage dst, src, blend;
    dst.Create(10, 10, 2, c.dstType, c.dstPalette, c.dstAlpha);
    src.Create(4, 4, 2, k32, 0, 0);
    blend.Create(c.smallBlend ? 3 : 4, 4, 2, kMemImgChannel8, 0, 0);
    std::mt19937 random(1);
    FillRandom(dst, random);
    FillRandom(src, random);
    src.Data()->transparentColor = 0xDEADBEEF;
    ResetDrawState(dst.View());
    const std::vector<std::uint8_t> before = dst.Bytes();
    MemImgDrawTriangle(dst.View(), src.View(), c.v, 0, blend.View(), 0);
    EXPECT_EQ(dst.Bytes(), before);
    // The same vertices with an accepted source and image draw.
    if (c.dstType == k32 && !c.dstPalette && !c.dstAlpha && !c.smallBlend) continue;
    GuardedImage good;
    good.Create(10, 10, 2, k32, 0, 0);
    FillRandom(good, random);
    ResetDrawState(good.View());
    const std::vector<std::uint8_t> goodBefore = good.Bytes();
    MemImgDrawTriangle(good.View(), src.View(), c.v, 0, nullptr, 0);
    EXPECT_NE(good.Bytes(), goodBefore);
  }
}

TEST(TriangleGeometry, CoordinatesAtTheEndsOfTheFixedPointRangeDrawSafely) {
  GuardedImage dst, src;
  dst.Create(10, 10, 2, kMemImgRgb32, 0, 0);
  MakeProbe(src, 4, 4);
  std::mt19937 random(2);
  FillRandom(dst, random);
  ResetDrawState(dst.View());
  // The largest legal spans: the kernel clips them and reads no texel
  // outside the source.
  const TriVertex wide[3] = {{-4096, -4096, 0, 0}, {4095, -4096, 4, 0}, {0, 4095, 0, 4}};
  const std::vector<std::uint8_t> before = dst.Bytes();
  MemImgDrawTriangle(dst.View(), src.View(), wide, 0, nullptr, 0);
  EXPECT_NE(dst.Bytes(), before);
  const TriVertex sliver[3] = {{0, 0, -8192, 8191}, {1, 8191, 0, -8192}, {0, 8191, 8191, 0}};
  MemImgDrawTriangle(dst.View(), src.View(), sliver, 0, nullptr, 0);
  // Quads far outside, at the ends of int, are passed over.
  const std::int32_t far[8] = {INT_MIN, INT_MIN, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX};
  const std::vector<std::uint8_t> afterTriangles = dst.Bytes();
  MemImgDrawQuad(dst.View(), src.View(), far, 0, nullptr);
  EXPECT_EQ(dst.Bytes(), afterTriangles);
}

}  // namespace
}  // namespace blit_test
