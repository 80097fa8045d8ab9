// Worked numbers where the rotated blit's pixel rules differ from the plain
// image blit's (it shares the triangle kernel's), one source pixel drawn
// onto one destination pixel: an unkeyed alpha source blends even in plain
// mode 0, a keyed alpha 0 multiplies to black, mode 1 at 128 is no halving,
// RGB565 mode 11 by alpha keeps five more bits of green, palettised
// sources read their palette in place beyond its counted entries, and a
// palettised subtract runs at parameter 0.
#include <gtest/gtest.h>

#include <cstring>

#include "blit_scene.h"
#include "softrender/rotate_blit.h"

namespace blit_test {
namespace {

// An RGB565 source with alpha holds its alpha in the third byte.
struct Rule {
  const char* what;
  int colorType;
  int palette;  // the source pixel is index 5 of a palette that counts one entry
  int alpha;
  std::uint32_t mode;
  std::uint32_t param;
  int transparent;
  std::uint32_t source;
  std::uint32_t destination;
  std::uint32_t expected;
};

constexpr int k32 = kMemImgRgb32, k565 = kMemImgRgb565;

const Rule kRules[] = {
    {"unkeyed alpha 255 in mode 0 loses a step", k32, 0, 1, 0, 0, 0, 0xFF0000FF, 0x00000000, 0x000000FE},
    {"keyed alpha 255 in mode 0 copies", k32, 0, 1, 0, 0, 1, 0xFF0000FF, 0x00000000, 0xFF0000FF},
    {"keyed alpha 0 multiplies to black", k32, 0, 1, 4, 0, 1, 0x00FFFFFF, 0x11808080, 0x11000000},
    {"mode 1 at 128 blends, no halving", k32, 0, 0, 1, 128, 0, 0x000000FF, 0x00000000, 0x0000007F},
    {"direct subtract at 0 draws nothing", k32, 0, 0, 3, 0, 0, 0x00FFFFFF, 0x55443322, 0x55443322},
    {"palettised subtract at 0 runs", k32, 1, 0, 3, 0, 0, 0x00FFFFFF, 0x55443222, 0x00453322},
    {"palette entry past the count, whole", k32, 1, 0, 0, 0, 0, 0x12345678, 0x00000000, 0x12345678},
    {"565 mode 11 by alpha: green kept finer", k565, 0, 1, 11, 255, 0, 0x008000E0, 0x0120, 0x00A0},
    {"565 unkeyed alpha 255 loses a step", k565, 0, 1, 0, 0, 0, 0x00FFFFFF, 0x0000, 0xF7DE},
    {"565 mode 1 at 100 truncates toward zero", k565, 0, 0, 1, 100, 0, 0x001F, 0x0000, 0x000C},
    {"565 palettised subtract at 0 clears green's low bit", k565, 1, 0, 3, 0, 0, 0x0000, 0xFFFF, 0xFFDF},
};

TEST(RotateRules, OnePixelGivesTheWorkedResult) {
  for (const Rule& rule : kRules) {
    GuardedImage dst, src;
    dst.Create(1, 1, 1, rule.colorType, 0, 0);
    src.Create(1, 1, 1, rule.colorType, rule.palette, rule.alpha);
    std::memcpy(dst.Pixel(0, 0), &rule.destination, dst.BytesPerPixel());
    if (rule.palette) {
      *src.Pixel(0, 0) = 5;
      std::memcpy(src.Data()->palette + 5 * (rule.colorType == k32 ? 4 : 2), &rule.source, 4);
      src.Data()->paletteCount = 1;
      src.Data()->transparentColor = 0xFFFF;
    } else {
      std::memcpy(src.Pixel(0, 0), &rule.source, src.BytesPerPixel());
    }
    ResetDrawState(dst.View());
    BlendMode = rule.mode;
    BlendParam = rule.param;
    MemImgRotateBlit(dst.View(), src.View(), 0, 0, 0.0f, 1.0f, rule.transparent, 0, nullptr);
    std::uint32_t got = 0;
    std::memcpy(&got, dst.Pixel(0, 0), dst.BytesPerPixel());
    EXPECT_EQ(got, rule.expected) << rule.what;
  }
}

}  // namespace
}  // namespace blit_test
