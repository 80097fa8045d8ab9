// The rotated blit against the plain image blit: turned by 0 at scale 1
// about (x, y), an image lands exactly where the blit puts it at
// (x - width / 2, y - height / 2), pixel for pixel, in every combination
// where the two kernels share their rules (the blit's own shortcuts, and
// the rules only the rotated blit has, left out).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "blit_scene.h"
#include "image/blend_tables.h"
#include "softrender/blend_combo.h"
#include "softrender/image_blit.h"
#include "softrender/rotate_blit.h"

namespace blit_test {
namespace {

// Where the image blit takes a path of its own: mode 1 at 128 and modes 2
// and 3 at 255 in plain loops (excluded by the parameters drawn), the
// 6-bit mix of plain RGB565 mode 1, the copy of an unkeyed alpha source in
// plain mode 0; and RGB565 mode 11 by alpha alone, which the rotated blit
// works with five more bits of green.
bool RulesAgree(const SourceFormat& format, int mode, bool blend, bool tint, bool keyed) {
  const bool plain = !blend && !tint;
  if (format.colorType == kMemImgRgb565 && mode == 1 && plain && !format.alpha) return false;
  if (format.alpha && plain && ((mode == 0 && !keyed) || (mode == 11 && format.colorType == kMemImgRgb565)))
    return false;
  return true;
}

std::string FormatName(const testing::TestParamInfo<SourceFormat>& info) { return info.param.name; }

class RotateAgainstBlit : public testing::TestWithParam<SourceFormat> {};

TEST_P(RotateAgainstBlit, UnturnedAtScaleOneMatchesTheBlit) {
  const SourceFormat& format = GetParam();
  std::mt19937 random(0xB1A5);
  const auto between = [&](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
  int compared = 0;
  for (int mode : kDrawnModes)
    for (int selectors = 0; selectors < 8; ++selectors)
      for (std::uint32_t param : {1u, 100u, 254u}) {
        const bool useBlend = selectors & 1, tint = selectors & 2, keyed = selectors & 4;
        if (!RulesAgree(format, mode, useBlend, tint, keyed)) continue;
        RandomScene scene;
        MakeRandomScene(scene, format, 0, random);
        GuardedImage &dst = scene.dst, &src = scene.src, &blend = scene.blend;
        const int width = src.View()->width, height = src.View()->height;
        if (random() % 2) PickRandomDrawArea(dst.View(), random);
        BlendMode = static_cast<std::uint32_t>(mode);
        BlendParam = param;
        DrawBright = tint ? 0x8040C0 : kDrawBrightWhite;
        const MEMIMG* blendView = useBlend ? blend.View() : nullptr;
        const int x = between(-6, dst.View()->width + 6), y = between(-6, dst.View()->height + 6);

        const std::vector<std::uint8_t> before = dst.Bytes();
        MemImgRotateBlit(dst.View(), src.View(), x, y, 0.0f, 1.0f, keyed, 0, blendView);
        const std::vector<std::uint8_t> rotated = dst.Bytes();
        dst.SetBytes(before);
        MemImgBlit(dst.View(), src.View(), x - width / 2, y - height / 2, keyed, blendView);
        const std::string difference = FirstDifference(rotated, dst.Bytes(), before, dst.Data()->pitch);
        EXPECT_EQ(difference, "") << "mode " << mode << " blend " << useBlend << " tint " << tint << " keyed "
                                  << keyed << " param " << param;
        ++compared;
      }
  EXPECT_GT(compared, 100);
}

INSTANTIATE_TEST_SUITE_P(Formats, RotateAgainstBlit, testing::ValuesIn(kSourceFormats), FormatName);

}  // namespace
}  // namespace blit_test
