// Differential tests of the rectangle fill and the circles: random
// rectangles (reversed, reaching past the destination, null) and circles
// (radius 0 to 14, centres inside and outside, filled and outlined) drawn by
// the kernels and by the reference model onto both destination colour
// types, for every blend mode 0 to 15, a range of parameters and
// brightnesses, under random draw areas. Every byte of the whole image is
// compared, the destination's poisoned surroundings included.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "blit_scene.h"
#include "reference_model.h"
#include "softrender/colour_shapes.h"

namespace blit_test {
namespace {

enum class Shape { kRect, kWholeImage, kFilledCircle, kOutline, kCount };

struct Format {
  const char* name;
  int colorType;
};
constexpr Format kFormats[] = {{"Rgb32", kMemImgRgb32}, {"Rgb565", kMemImgRgb565}};
constexpr std::uint32_t kParams[] = {0, 1, 64, 127, 128, 254, 255};
constexpr std::uint32_t kBrights[] = {0xFFFFFF, 0xFFFFFE, 0x8040C0, 0x000000, 0xFF7FFF};

std::string CaseName(const testing::TestParamInfo<Format>& info) { return info.param.name; }
void PrintTo(const Format& format, std::ostream* out) { *out << format.name; }

class ColourShapeDifferential : public testing::TestWithParam<Format> {
 protected:
  std::mt19937 random_{0xC1C1E};

  int Between(int low, int high) { return low + static_cast<int>(random_() % (high - low + 1)); }

  std::string DrawScene(Shape shape, std::uint32_t mode, std::uint32_t param, std::uint32_t bright) {
    GuardedImage dst;
    dst.Create(Between(6, 24), Between(5, 20), 3, GetParam().colorType, 0, 0);
    FillRandom(dst, random_);
    ResetDrawState(dst.View());
    const int width = dst.View()->width, height = dst.View()->height;
    if (random_() % 2) PickRandomDrawArea(dst.View(), random_);
    BlendMode = mode;
    BlendParam = param;
    DrawBright = bright;
    // Upper bits of an RGB565 colour must not reach the pixels.
    const auto colour = static_cast<std::uint32_t>(random_());
    const RECT rect{Between(-4, width + 4), Between(-4, height + 4), Between(-4, width + 4), Between(-4, height + 4)};
    const int x = Between(-8, width + 8), y = Between(-8, height + 8), radius = Between(0, 14);

    const std::uint32_t fill = shape == Shape::kFilledCircle ? 1 + random_() % 2 : 0;
    const RECT* area = shape == Shape::kWholeImage ? nullptr : &rect;
    const bool circle = shape == Shape::kFilledCircle || shape == Shape::kOutline;

    const std::vector<std::uint8_t> before = dst.Bytes();
    if (circle) MemImgDrawCircle(dst.View(), x, y, radius, colour, fill);
    else MemImgFillRect(dst.View(), area, colour);
    const std::vector<std::uint8_t> got = dst.Bytes();
    dst.SetBytes(before);
    if (circle) reference::DrawCircle(dst.View(), x, y, radius, colour, fill);
    else reference::FillRect(dst.View(), area, colour);
    return FirstDifference(got, dst.Bytes(), before, dst.Data()->pitch);
  }
};

TEST_P(ColourShapeDifferential, EveryShapeModeParameterAndBrightnessMatchesTheReference) {
  int failures = 0;
  for (std::uint32_t mode = 0; mode < 16; ++mode)
    for (std::uint32_t param : kParams)
      for (std::uint32_t bright : kBrights)
        for (int shape = 0; shape < static_cast<int>(Shape::kCount); ++shape)
          for (int scene = 0; scene < 3; ++scene) {
            const std::string difference = DrawScene(static_cast<Shape>(shape), mode, param, bright);
            if (difference.empty()) continue;
            ADD_FAILURE() << "shape " << shape << " mode " << mode << " param " << param << " bright " << std::hex
                          << bright << std::dec << ": " << difference;
            if (++failures == 10) return;
          }
}

INSTANTIATE_TEST_SUITE_P(Formats, ColourShapeDifferential, testing::ValuesIn(kFormats), CaseName);

}  // namespace
}  // namespace blit_test
