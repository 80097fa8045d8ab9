// Differential tests of the triangle kernels: random triangles and quads,
// and the degenerate shapes (collinear, flat, one pixel, above the top
// edge), drawn by the kernels and by the reference model for every colour
// type, palette flag, blend mode 0 to 15, selector combination and a range
// of parameters, textured and flat. Every byte of the destination's whole
// image is compared; sources and blend images are views whose surroundings
// hold random poison.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "blit_scene.h"
#include "image/blend_tables.h"
#include "reference_model.h"
#include "softrender/triangle.h"

namespace blit_test {
namespace {

enum class Shape { kRandom, kCollinear, kFlatEdge, kTiny, kQuad, kCount };

struct Format {
  const char* name;
  int colorType;
  int palette;
  int alpha;
  bool flat;  // no source: the destination's colour type is filled
};
constexpr Format kFormats[] = {
    {"Rgb32", kMemImgRgb32, 0, 0, false},          {"Rgb32Alpha", kMemImgRgb32, 0, 1, false},
    {"Rgb32Palette", kMemImgRgb32, 1, 0, false},   {"Rgb565", kMemImgRgb565, 0, 0, false},
    {"Rgb565Alpha", kMemImgRgb565, 0, 1, false},   {"Rgb565Palette", kMemImgRgb565, 1, 0, false},
    {"FlatRgb32", kMemImgRgb32, 0, 0, true},       {"FlatRgb565", kMemImgRgb565, 0, 0, true},
};
constexpr std::uint32_t kParams[] = {0, 1, 64, 127, 128, 254, 255};
constexpr std::uint32_t kBrights[] = {0xFFFFFF, 0xFFFFFE, 0x8040C0, 0x000000};

std::string CaseName(const testing::TestParamInfo<Format>& info) { return info.param.name; }
void PrintTo(const Format& format, std::ostream* out) { *out << format.name; }

class TriangleDifferential : public testing::TestWithParam<Format> {
 protected:
  std::mt19937 random_{0x7A1A};

  int Between(int low, int high) { return low + static_cast<int>(random_() % (high - low + 1)); }

  TriVertex RandomVertex(int width, int height, int sourceWidth, int sourceHeight) {
    return TriVertex{Between(-6, width + 6), Between(-6, height + 6), Between(-3, sourceWidth + 3),
                     Between(-3, sourceHeight + 3)};
  }

  void MakeShape(Shape shape, int width, int height, int sourceWidth, int sourceHeight, TriVertex* v,
                 std::int32_t* points) {
    for (int i = 0; i < 3; ++i) v[i] = RandomVertex(width, height, sourceWidth, sourceHeight);
    switch (shape) {
      case Shape::kCollinear:  // on one line through v[0], or all on one row
        if (random_() % 2) {
          v[1].y = v[2].y = v[0].y;
        } else {
          v[2].x = v[0].x + 2 * (v[1].x - v[0].x);
          v[2].y = v[0].y + 2 * (v[1].y - v[0].y);
        }
        break;
      case Shape::kFlatEdge:  // a flat top or a flat bottom
        v[random_() % 2 ? 1 : 2].y = v[0].y;
        break;
      case Shape::kTiny:
        v[1].x = v[0].x + Between(-1, 1);
        v[1].y = v[0].y + Between(0, 1);
        v[2].x = v[0].x + Between(-1, 1);
        v[2].y = v[0].y + Between(-1, 1);
        break;
      case Shape::kQuad:
        for (int i = 0; i < 8; ++i) points[i] = i % 2 ? Between(-6, height + 6) : Between(-6, width + 6);
        break;
      default:
        break;
    }
  }

  // One random scene drawn both ways; returns a description of the first
  // differing byte, or an empty string.
  std::string DrawScene(Shape shape, std::uint32_t mode, bool useBlend, bool tint, int transparent,
                        std::uint32_t param) {
    const Format& format = GetParam();
    GuardedImage dst, src, blend;
    dst.Create(Between(8, 20), Between(6, 14), 2, format.colorType, 0, 0);
    const int sourceWidth = Between(1, 12), sourceHeight = Between(1, 9);
    src.Create(sourceWidth, sourceHeight, 2, format.colorType, format.palette, format.alpha);
    blend.Create(sourceWidth + Between(0, 3), sourceHeight + Between(0, 3), 2, kMemImgChannel8, 0, 0);
    FillRandom(dst, random_);
    FillRandom(src, random_);
    FillRandom(blend, random_);

    ResetDrawState(dst.View());
    BuildBlendImageTable(Between(0, 255), Between(0, 255));
    const int width = dst.View()->width, height = dst.View()->height;
    if (random_() % 2) {
      DrawArea.left = Between(0, width - 1);
      DrawArea.top = Between(0, height - 1);
      DrawArea.right = Between(DrawArea.left, width);
      DrawArea.bottom = Between(DrawArea.top, height);
    }
    BlendMode = mode;
    BlendParam = param;
    DrawBright = tint ? kBrights[1 + random_() % 3] : kBrights[0];
    const MEMIMG* source = format.flat ? nullptr : src.View();
    const MEMIMG* blendView = useBlend ? blend.View() : nullptr;
    TriVertex v[3];
    std::int32_t points[8];
    MakeShape(shape, width, height, sourceWidth, sourceHeight, v, points);
    std::uint32_t colour = static_cast<std::uint32_t>(random_());
    if (format.colorType == kMemImgRgb565) colour &= 0xFFFF;

    const std::vector<std::uint8_t> before = dst.Bytes();
    const bool quad = shape == Shape::kQuad && !format.flat;
    if (quad) MemImgDrawQuad(dst.View(), source, points, transparent, blendView);
    else MemImgDrawTriangle(dst.View(), source, v, transparent, blendView, colour);
    const std::vector<std::uint8_t> got = dst.Bytes();
    dst.SetBytes(before);
    if (quad) reference::DrawQuad(dst.View(), source, points, transparent, blendView);
    else reference::DrawTriangle(dst.View(), source, v, transparent, blendView, colour);
    return FirstDifference(got, dst.Bytes(), before, dst.Data()->pitch);
  }
};

TEST_P(TriangleDifferential, EveryShapeModeSelectorAndParameterMatchesTheReference) {
  int failures = 0;
  for (std::uint32_t mode = 0; mode < 16; ++mode)
    for (int selectors = 0; selectors < 8; ++selectors)
      for (std::uint32_t param : kParams)
        for (int shape = 0; shape < static_cast<int>(Shape::kCount); ++shape) {
          const bool useBlend = selectors & 1, tint = selectors & 2;
          const int transparent = (selectors & 4) ? 1 + shape % 2 : 0;
          const std::string difference =
              DrawScene(static_cast<Shape>(shape), mode, useBlend, tint, transparent, param);
          if (difference.empty()) continue;
          ADD_FAILURE() << "shape " << shape << " mode " << mode << " blend " << useBlend << " tint " << tint
                        << " transparent " << transparent << " param " << param << ": " << difference;
          if (++failures == 10) return;
        }
}

INSTANTIATE_TEST_SUITE_P(Formats, TriangleDifferential, testing::ValuesIn(kFormats), CaseName);

}  // namespace
}  // namespace blit_test
