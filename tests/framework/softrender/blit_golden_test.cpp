// Worked numbers of the image kernels' arithmetic: one source pixel (or
// flat colour) drawn onto one destination pixel by a chosen kernel, with
// the exact result the rules give, quirks of the packed add and subtract
// and of the weights included.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "blit_scene.h"
#include "image/blend_tables.h"
#include "softrender/image_blit.h"
#include "softrender/triangle.h"

namespace blit_test {
namespace {

enum class Kernel { kBlit, kRunLength, kStretch, kTriangle, kFlat };  // kFlat: `source` is the colour

struct Golden {
  const char* what;
  Kernel kernel;
  int colorType;
  int palette;  // the source pixel is index 0, its palette entry `source`
  int alpha;
  std::uint32_t mode;
  std::uint32_t param;
  std::uint32_t bright;
  int transparent;
  int blendByte;  // -1: no blend image; the blend table maps a byte to itself
  std::uint32_t source;
  std::uint32_t destination;
  std::uint32_t expected;
};

constexpr int k32 = kMemImgRgb32, k565 = kMemImgRgb565;
constexpr std::uint32_t kWhite = 0xFFFFFF;

const Golden kGolden[] = {
    // 32-bit image blit.
    {"unkeyed alpha source copies whole", Kernel::kBlit, k32, 0, 1, 0, 0, kWhite, 0, -1, 0x80102030, 0x11223344, 0x80102030},
    {"keyed alpha 0 is skipped", Kernel::kBlit, k32, 0, 1, 0, 0, kWhite, 1, -1, 0x00102030, 0x11223344, 0x11223344},
    {"keyed alpha 128 blends half-way", Kernel::kBlit, k32, 0, 1, 0, 0, kWhite, 1, -1, 0x80FF0000, 0x11000000, 0x117F0000},
    {"halving drops both low bits", Kernel::kBlit, k32, 0, 0, 1, 128, kWhite, 0, -1, 0x551F150B, 0xAA1E140A, 0x001E140A},
    {"mode 1 floors toward minus infinity", Kernel::kBlit, k32, 0, 0, 1, 64, kWhite, 0, -1, 0x00000000, 0x000000C8, 0x00000096},
    {"full add: upper seven bits of green", Kernel::kBlit, k32, 0, 0, 2, 255, kWhite, 0, -1, 0x00000314, 0x0000030A, 0x0000041E},
    {"full add: blue carries into green", Kernel::kBlit, k32, 0, 0, 2, 255, kWhite, 0, -1, 0x00000064, 0x000000C8, 0x000001FF},
    {"scaled add ORs the low bits", Kernel::kBlit, k32, 0, 0, 2, 254, kWhite, 0, -1, 0x00000314, 0x0000030A, 0x0000051D},
    {"red saturates and sets the fourth byte", Kernel::kBlit, k32, 0, 0, 2, 255, kWhite, 0, -1, 0x00800000, 0x00800000, 0x01FF0000},
    {"full subtract forces bit 0 of green and red", Kernel::kBlit, k32, 0, 0, 3, 255, kWhite, 0, -1, 0x00000400, 0x00000400, 0x00010100},
    {"palettised subtract at parameter 0", Kernel::kBlit, k32, 1, 0, 3, 0, kWhite, 0, -1, 0x00FFFFFF, 0x55443222, 0x00453322},
    {"keyed alpha 0 multiplies to black", Kernel::kBlit, k32, 0, 1, 4, 0, kWhite, 1, -1, 0x00FFFFFF, 0x11808080, 0x11000000},
    {"inverted source at full parameter", Kernel::kBlit, k32, 0, 0, 10, 255, kWhite, 0, -1, 0x00000000, 0x77000000, 0x77FEFEFE},
    {"tint keeps the fourth byte", Kernel::kBlit, k32, 0, 0, 0, 0, 0xFEFFFF, 0, -1, 0x12FF8040, 0x99000000, 0x99FE8040},
    {"mode 1 at 255 is mode 0", Kernel::kBlit, k32, 0, 0, 1, 255, kWhite, 0, -1, 0x80102030, 0x11223344, 0x80102030},
    {"mode 1 at 0 draws nothing", Kernel::kBlit, k32, 0, 0, 1, 0, kWhite, 0, -1, 0x80102030, 0x11223344, 0x11223344},
    {"mode 2 at 0 draws nothing", Kernel::kBlit, k32, 0, 0, 2, 0, kWhite, 0, -1, 0x80102030, 0x11223344, 0x11223344},
    {"mode 5 draws nothing", Kernel::kBlit, k32, 0, 0, 5, 128, kWhite, 0, -1, 0x80102030, 0x11223344, 0x11223344},
    {"three weights without overflow", Kernel::kBlit, k32, 0, 1, 1, 254, kWhite, 1, 255, 0xFE0000FF, 0x00000000, 0x000000FA},
    // RGB565 image blit.
    {"6-bit mix table", Kernel::kBlit, k565, 0, 0, 1, 100, kWhite, 0, -1, 0x07E0, 0x0000, 0x0320},
    {"565 halving", Kernel::kBlit, k565, 0, 0, 1, 128, kWhite, 0, -1, 0x0000, 0xFFFF, 0x7BEF},
    {"tinted mode 1 through the difference table", Kernel::kBlit, k565, 0, 0, 1, 128, 0xFEFFFF, 0, -1, 0x0014, 0x000A, 0x000F},
    {"565 full add saturates green and carries into red", Kernel::kBlit, k565, 0, 0, 2, 255, kWhite, 0, -1, 0x0054, 0x07F4, 0x0FFF},
    {"565 full subtract clears bit 0 of green", Kernel::kBlit, k565, 0, 0, 3, 255, kWhite, 0, -1, 0x0000, 0x00A0, 0x0880},
    {"565 multiply by the field width", Kernel::kBlit, k565, 0, 0, 4, 0, kWhite, 0, -1, 0x0400, 0x07E0, 0x03E0},
    {"565 palettised subtract at parameter 0", Kernel::kBlit, k565, 1, 0, 3, 0, kWhite, 0, -1, 0xFFFF, 0x52A7, 0x5A87},
    {"565 alpha source copies the colour word", Kernel::kBlit, k565, 0, 1, 0, 0, kWhite, 0, -1, 0x99001234, 0xFFFF, 0x1234},
    // Run-length path.
    {"run-length add keeps the low bits at 255", Kernel::kRunLength, k32, 0, 0, 2, 255, kWhite, 1, -1, 0x00000300, 0x00000300, 0x00000500},
    {"run-length red saturation", Kernel::kRunLength, k32, 0, 0, 2, 255, kWhite, 1, -1, 0x00800000, 0x00800000, 0x01FF0000},
    {"run-length skips alpha 0 in mode 4", Kernel::kRunLength, k32, 0, 1, 4, 0, kWhite, 1, -1, 0x00FFFFFF, 0x11808080, 0x11808080},
    {"run-length opaque copy", Kernel::kRunLength, k32, 0, 1, 0, 0, kWhite, 1, -1, 0xFF102030, 0x11223344, 0xFF102030},
    {"run-length 565 mode 1 through the difference table", Kernel::kRunLength, k565, 0, 0, 1, 100, kWhite, 1, -1, 0x07E0, 0x0000, 0x0300},
    // Stretched blit.
    {"stretch never halves", Kernel::kStretch, k32, 0, 0, 1, 128, kWhite, 0, -1, 0x00000003, 0x00000001, 0x00000002},
    {"stretch mode 1 at 128: 0 over 255", Kernel::kStretch, k32, 0, 0, 1, 128, kWhite, 0, -1, 0x00000000, 0x000000FF, 0x0000007F},
    {"stretch add keeps the low bits at 255", Kernel::kStretch, k32, 0, 0, 2, 255, kWhite, 0, -1, 0x00000300, 0x00000300, 0x00000500},
    {"stretch blends unkeyed alpha", Kernel::kStretch, k32, 0, 1, 0, 0, kWhite, 0, -1, 0x80FF0000, 0x11000000, 0x117F0000},
    {"stretch unkeyed alpha 255 loses a step", Kernel::kStretch, k32, 0, 1, 0, 0, kWhite, 0, -1, 0xFF0000FF, 0x00000000, 0x000000FE},
    {"stretch keyed alpha 255 copies", Kernel::kStretch, k32, 0, 1, 0, 0, kWhite, 1, -1, 0xFF0000FF, 0x00000000, 0xFF0000FF},
    {"stretch skips keyed alpha 0 in mode 4", Kernel::kStretch, k32, 0, 1, 4, 0, kWhite, 1, -1, 0x00FFFFFF, 0x11808080, 0x11808080},
    {"stretch 565 never uses the 6-bit table", Kernel::kStretch, k565, 0, 0, 1, 100, kWhite, 0, -1, 0x07E0, 0x0000, 0x0300},
    // Triangles.
    {"triangle draws keyed alpha 0 black in mode 4", Kernel::kTriangle, k32, 0, 1, 4, 0, kWhite, 1, -1, 0x00FFFFFF, 0x11808080, 0x11000000},
    {"triangle keyed alpha 255 multiplies once", Kernel::kTriangle, k32, 0, 1, 4, 0, kWhite, 1, -1, 0xFFFFFFFF, 0x000000FF, 0x000000FE},
    {"triangle unkeyed alpha 255 multiplies twice", Kernel::kTriangle, k32, 0, 1, 4, 0, kWhite, 0, -1, 0xFFFFFFFF, 0x000000FF, 0x000000FD},
    {"triangle blends unkeyed alpha 255", Kernel::kTriangle, k32, 0, 1, 0, 0, kWhite, 0, -1, 0xFF0000FF, 0x00000000, 0x000000FE},
    {"triangle never halves", Kernel::kTriangle, k32, 0, 0, 1, 128, kWhite, 0, -1, 0x000000FF, 0x00000000, 0x0000007F},
    {"triangle three weights without overflow", Kernel::kTriangle, k32, 0, 1, 1, 254, kWhite, 1, 255, 0xFE0000FF, 0x00000000, 0x000000FA},
    {"triangle add keeps the low bits at 255", Kernel::kTriangle, k32, 0, 0, 2, 255, kWhite, 0, -1, 0x00010101, 0x00010101, 0x00010102},
    {"triangle subtract of black", Kernel::kTriangle, k32, 0, 0, 3, 255, kWhite, 0, -1, 0x00000000, 0x55403020, 0x00413120},
    {"triangle 565 mode 1 truncates up", Kernel::kTriangle, k565, 0, 0, 1, 128, kWhite, 0, -1, 0x0000, 0xF800, 0x8000},
    {"triangle 565 mode 1 truncates down", Kernel::kTriangle, k565, 0, 0, 1, 128, kWhite, 0, -1, 0xF800, 0x0000, 0x7800},
    {"triangle 565 finer green of the alpha multiply blend", Kernel::kTriangle, k565, 0, 1, 11, 255, kWhite, 0, -1, 0x00800020, 0x07E0, 0x0400},
    {"triangle 565 keyed alpha 0 multiplies to black", Kernel::kTriangle, k565, 0, 1, 4, 0, kWhite, 1, -1, 0x0000FFFF, 0xFFFF, 0x0000},
    // Flat triangles.
    {"flat copy stores the fourth byte", Kernel::kFlat, k32, 0, 0, 0, 0, kWhite, 0, -1, 0xAB123456, 0x11223344, 0xAB123456},
    {"flat add sets the fourth byte from the red carry", Kernel::kFlat, k32, 0, 0, 2, 255, kWhite, 0, -1, 0x00FFFFFF, 0x00FFFFFF, 0x01FFFFFF},
    {"flat tint through the table", Kernel::kFlat, k32, 0, 0, 0, 0, 0x80FFFF, 0, -1, 0x00FF0000, 0x00000000, 0x00800000},
    {"flat inverted source inverts the tinted colour", Kernel::kFlat, k32, 0, 0, 10, 255, 0xFFFF00, 0, -1, 0x000000FF, 0x00000000, 0x00FEFEFE},
    {"flat multiply ignores the parameter", Kernel::kFlat, k32, 0, 0, 4, 0, kWhite, 0, -1, 0x00FFFFFF, 0x00FF8000, 0x00FE7F00},
    {"flat 565 tint", Kernel::kFlat, k565, 0, 0, 0, 0, 0x80FFFF, 0, -1, 0xF800, 0x0000, 0x7800},
    {"flat 565 colour above 16 bits is masked", Kernel::kFlat, k565, 0, 0, 0, 0, 0x80FFFF, 0, -1, 0xABCDF81F, 0x0000, 0x781F},
    {"flat 565 subtract at parameter 0 draws nothing", Kernel::kFlat, k565, 0, 0, 3, 0, kWhite, 0, -1, 0xFFFF, 0x1234, 0x1234},
};

void PrintTo(const Golden& golden, std::ostream* out) { *out << golden.what; }

class BlitGolden : public testing::TestWithParam<Golden> {};

TEST_P(BlitGolden, DrawsTheWorkedResult) {
  const Golden& g = GetParam();
  const bool runLength = g.kernel == Kernel::kRunLength;
  GuardedImage dst, src, blend;
  dst.Create(2, 1, 0, g.colorType, 0, 0);
  src.Create(1, 1, 0, g.colorType, g.palette, g.alpha, runLength ? 1 : 0);
  blend.Create(1, 1, 0, kMemImgChannel8, 0, 0);
  const int pixelBytes = g.colorType == kMemImgRgb32 ? 4 : 2;
  std::memcpy(dst.Pixel(0, 0), &g.destination, pixelBytes);
  std::memcpy(dst.Pixel(1, 0), &g.destination, pixelBytes);
  if (g.palette) {
    std::memset(src.Pixel(0, 0), 0, 1);
    std::memcpy(src.Data()->palette, &g.source, pixelBytes);
  } else {
    std::memcpy(src.Pixel(0, 0), &g.source, src.BytesPerPixel());
  }
  src.Data()->transparentColor = g.palette ? 0xFFFF : 0xDEADBEEF;  // never the source pixel
  if (runLength) RefreshMemImgPlanes(src.View());
  *blend.Pixel(0, 0) = static_cast<std::uint8_t>(g.blendByte);
  ResetDrawState(dst.View());
  BuildBlendImageTable(128, 255);
  BlendMode = g.mode;
  BlendParam = g.param;
  DrawBright = g.bright;
  const MEMIMG* blendView = g.blendByte >= 0 ? blend.View() : nullptr;
  // The triangle maps pixel (0, 0) to texel (0, 0).
  const TriVertex corner[3] = {{0, 0, 0, 0}, {2, 0, 1, 0}, {0, 2, 0, 1}};
  if (g.kernel == Kernel::kTriangle) {
    MemImgDrawTriangle(dst.View(), src.View(), corner, g.transparent, blendView, 0);
  } else if (g.kernel == Kernel::kFlat) {
    MemImgDrawTriangle(dst.View(), nullptr, corner, 0, nullptr, g.source);
  } else if (g.kernel == Kernel::kStretch) {
    const RECT wide{0, 0, 2, 1};
    MemImgStretchBlit(dst.View(), src.View(), &wide, g.transparent, blendView);
  } else {
    MemImgBlit(dst.View(), src.View(), 0, 0, g.transparent, blendView);
  }
  std::uint32_t result = 0;
  std::memcpy(&result, dst.Pixel(0, 0), pixelBytes);
  EXPECT_EQ(result, g.expected) << std::hex << "0x" << result << " for 0x" << g.expected;
}

INSTANTIATE_TEST_SUITE_P(WorkedNumbers, BlitGolden, testing::ValuesIn(kGolden),
                         [](const testing::TestParamInfo<Golden>& info) {
                           std::string name;
                           for (const char* at = info.param.what; *at; ++at)
                             if (std::isalnum(static_cast<unsigned char>(*at))) name += *at;
                           return name;
                         });

}  // namespace
}  // namespace blit_test
