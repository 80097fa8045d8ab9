// Differential tests of the rotated blit: small random scenes drawn by the
// kernel and by the reference model at random angles, scales and centres,
// for every colour type, palette flag, blend mode 0 to 15, selector
// combination and a range of parameters, a quarter of them mirrored
// through the quad drawing. Every byte of the destination's
// whole image is compared; the sources and blend images are views whose
// surroundings hold random poison, so a read outside them shows up.
#include <gtest/gtest.h>

#include <numbers>
#include <random>
#include <string>

#include "blit_scene.h"
#include "image/blend_tables.h"
#include "reference_model.h"
#include "softrender/rotate_blit.h"

namespace blit_test {
namespace {

constexpr std::uint32_t kParams[] = {0, 1, 64, 128, 254, 255};
constexpr std::uint32_t kBrights[] = {0xFFFFFE, 0x8040C0, 0x000000};
// Angles and scales where the mapping's steps are whole, halves, negative
// or nearly degenerate, besides random ones.
constexpr float kAngles[] = {0.0f, std::numbers::pi_v<float> / 2, std::numbers::pi_v<float>, -0.3f, 2.5f, 1e-6f};
constexpr float kScales[] = {1.0f, 2.0f, 0.5f, -1.0f, 1.3f, 0.37f, 0.0f};

std::string FormatName(const testing::TestParamInfo<SourceFormat>& info) { return info.param.name; }

class RotateDifferential : public testing::TestWithParam<SourceFormat> {
 protected:
  std::mt19937 random_{0xD0E5};

  int Between(int low, int high) { return low + static_cast<int>(random_() % (high - low + 1)); }
  float Uniform(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random_); }

  // One random scene drawn both ways; returns a description of the first
  // differing byte, or an empty string.
  std::string DrawScene(std::uint32_t mode, bool useBlend, bool tint, int transparent, std::uint32_t param) {
    RandomScene scene;
    MakeRandomScene(scene, GetParam(), 3, random_);
    GuardedImage &dst = scene.dst, &src = scene.src, &blend = scene.blend;
    const int width = dst.View()->width, height = dst.View()->height;
    if (random_() % 2) PickRandomDrawArea(dst.View(), random_);
    BlendMode = mode;
    BlendParam = param;
    DrawBright = tint ? kBrights[random_() % 3] : kDrawBrightWhite;
    const MEMIMG* blendView = useBlend ? blend.View() : nullptr;
    const float angle = random_() % 2 ? kAngles[random_() % std::size(kAngles)] : Uniform(-7, 7);
    const float scale = random_() % 2 ? kScales[random_() % std::size(kScales)] : Uniform(-3, 3);
    const int x = Between(-6, width + 6), y = Between(-6, height + 6);

    const std::vector<std::uint8_t> before = dst.Bytes();
    const int turn = random_() % 4 == 0;
    MemImgRotateBlit(dst.View(), src.View(), x, y, angle, scale, transparent, turn, blendView);
    const std::vector<std::uint8_t> got = dst.Bytes();
    dst.SetBytes(before);
    reference::RotateBlit(dst.View(), src.View(), x, y, angle, scale, transparent, turn, blendView);
    const std::string difference = FirstDifference(got, dst.Bytes(), before, dst.Data()->pitch);
    if (difference.empty()) return difference;
    return "angle " + std::to_string(angle) + " scale " + std::to_string(scale) + " centre " + std::to_string(x) +
           "," + std::to_string(y) + " turn " + std::to_string(turn) + ": " + difference;
  }
};

TEST_P(RotateDifferential, EveryModeSelectorAndParameterMatchesTheReference) {
  ExpectEveryCombinationMatches(kParams, 3, [&](std::uint32_t mode, bool blend, bool tint, bool keyed, int scene,
                                                std::uint32_t param) {
    return DrawScene(mode, blend, tint, keyed ? 1 + scene : 0, param);
  });
}

INSTANTIATE_TEST_SUITE_P(Formats, RotateDifferential, testing::ValuesIn(kSourceFormats), FormatName);

}  // namespace
}  // namespace blit_test
