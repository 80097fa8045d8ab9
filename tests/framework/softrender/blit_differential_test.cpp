// Differential tests: small random scenes drawn by each blit kernel and by
// the reference model, for every colour type, palette flag, blend mode 0 to
// 15, selector combination and a range of parameters. Every byte of the
// destination's whole image is compared, so pixels outside the drawn view,
// row padding and fourth bytes are checked too; the sources and blend
// images are views whose surroundings hold random poison.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "blit_scene.h"
#include "image/blend_tables.h"
#include "reference_model.h"
#include "softrender/image_blit.h"

namespace blit_test {
namespace {

enum class Kernel { kBlit, kRunLength, kStretch };

constexpr std::uint32_t kParams[] = {0, 1, 64, 127, 128, 129, 254, 255};
constexpr std::uint32_t kBrights[] = {0xFFFFFF, 0xFFFFFE, 0x8040C0, 0x000000};

struct Case {
  Kernel kernel;
  SourceFormat format;
};

std::string KernelAndFormat(const Case& c) {
  static constexpr const char* kKernels[] = {"Blit", "RunLength", "Stretch"};
  return std::string(kKernels[static_cast<int>(c.kernel)]) + c.format.name;
}
std::string CaseName(const testing::TestParamInfo<Case>& info) { return KernelAndFormat(info.param); }
void PrintTo(const Case& c, std::ostream* out) { *out << KernelAndFormat(c); }

class BlitDifferential : public testing::TestWithParam<Case> {
 protected:
  std::mt19937 random_{0x5EED};

  int Between(int low, int high) { return low + static_cast<int>(random_() % (high - low + 1)); }

  // One random scene drawn both ways; returns a description of the first
  // differing byte, or an empty string.
  std::string DrawScene(std::uint32_t mode, bool useBlend, bool tint, int transparent, std::uint32_t param) {
    const Case& c = GetParam();
    const bool runLength = c.kernel == Kernel::kRunLength;
    GuardedImage dst, src, blend;
    dst.Create(Between(8, 20), Between(6, 14), 2, c.format.colorType, 0, 0);
    const int sourceWidth = Between(1, 12), sourceHeight = Between(1, 9);
    src.Create(sourceWidth, sourceHeight, runLength ? 0 : 2, c.format.colorType, c.format.palette, c.format.alpha,
               runLength ? 1 : 0);
    blend.Create(sourceWidth + Between(0, 3), sourceHeight + Between(0, 3), 2, kMemImgChannel8, 0, 0);
    FillRandom(dst, random_);
    FillRandom(src, random_);
    FillRandom(blend, random_);
    if (runLength) src.RefreshPlanes();

    ResetDrawState(dst.View());
    BuildBlendImageTable(Between(0, 255), Between(0, 255));
    const int width = dst.View()->width, height = dst.View()->height;
    if (!runLength && random_() % 2) PickRandomDrawArea(dst.View(), random_);
    BlendMode = mode;
    BlendParam = param;
    DrawBright = tint ? kBrights[1 + random_() % 3] : kBrights[0];
    const MEMIMG* blendView = useBlend ? blend.View() : nullptr;

    const std::vector<std::uint8_t> before = dst.Bytes();
    int x = 0, y = 0;
    RECT corners{};
    if (c.kernel == Kernel::kStretch) {
      corners.left = Between(-4, width);
      corners.top = Between(-4, height);
      corners.right = corners.left + (random_() % 4 ? Between(1, 2 * sourceWidth + 2) : sourceWidth);
      corners.bottom = corners.top + (random_() % 4 ? Between(1, 2 * sourceHeight + 2) : sourceHeight);
      if (random_() % 3 == 0) std::swap(corners.left, corners.right);
      if (random_() % 3 == 0) std::swap(corners.top, corners.bottom);
      MemImgStretchBlit(dst.View(), src.View(), &corners, transparent, blendView);
    } else {
      // The run-length scenes lie inside the destination, so they take
      // the run-length path where the source is larger than nothing else.
      x = runLength ? Between(0, std::max(0, width - sourceWidth)) : Between(-sourceWidth, width);
      y = runLength ? Between(0, std::max(0, height - sourceHeight)) : Between(-sourceHeight, height);
      MemImgBlit(dst.View(), src.View(), x, y, transparent, blendView);
    }
    const std::vector<std::uint8_t> got = dst.Bytes();
    dst.SetBytes(before);
    if (c.kernel == Kernel::kStretch) reference::StretchBlit(dst.View(), src.View(), &corners, transparent, blendView);
    else reference::Blit(dst.View(), src.View(), x, y, transparent, blendView);
    return FirstDifference(got, dst.Bytes(), before, dst.Data()->pitch);
  }
};

TEST_P(BlitDifferential, EveryModeSelectorAndParameterMatchesTheReference) {
  ExpectEveryCombinationMatches(kParams, 2, [&](std::uint32_t mode, bool blend, bool tint, bool keyed, int scene,
                                                std::uint32_t param) {
    const int transparent = keyed ? (GetParam().kernel == Kernel::kRunLength ? 1 : 1 + scene) : 0;
    return DrawScene(mode, blend, tint, transparent, param);
  });
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (Kernel kernel : {Kernel::kBlit, Kernel::kRunLength, Kernel::kStretch})
    for (const SourceFormat& format : kSourceFormats) cases.push_back({kernel, format});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Kernels, BlitDifferential, testing::ValuesIn(AllCases()), CaseName);

}  // namespace
}  // namespace blit_test
