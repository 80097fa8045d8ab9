// Stages without a texture: operations that read the missing texture pass
// the current colour and alpha through, so untextured draws keep the vertex
// alpha for the alpha test and for blending.
#include <gtest/gtest.h>

#include "d3d9_test_support.h"

namespace {

using wqtest::D3d9AlphaTargetTest;

constexpr std::uint32_t kDiffuse = 0x80A0C020u;
constexpr std::uint32_t kFactor = 0x40FF8010u;

struct StageSetup {
  const char* name;
  DWORD color_op, color_arg1, color_arg2;
  DWORD alpha_op, alpha_arg1, alpha_arg2;
  std::uint32_t colour;  // the expected RGB; alpha is always the diffuse alpha
};

// The first two read the texture in both channel groups; the third selects
// the factor for colour, which needs no texture, while its alpha reads the
// missing texture; the last blends by the texture's alpha.
const StageSetup kSetups[] = {
    {"defaults", D_D3DTOP_MODULATE, D_D3DTA_TEXTURE, D_D3DTA_CURRENT, D_D3DTOP_SELECTARG1,
     D_D3DTA_TEXTURE, D_D3DTA_CURRENT, kDiffuse & 0xFFFFFFu},
    {"texture plus diffuse", D_D3DTOP_ADD, D_D3DTA_DIFFUSE, D_D3DTA_TEXTURE, D_D3DTOP_MODULATE,
     D_D3DTA_TEXTURE, D_D3DTA_DIFFUSE, kDiffuse & 0xFFFFFFu},
    {"factor colour", D_D3DTOP_SELECTARG1, D_D3DTA_TFACTOR, D_D3DTA_CURRENT, D_D3DTOP_SELECTARG2,
     D_D3DTA_DIFFUSE, D_D3DTA_TEXTURE, kFactor & 0xFFFFFFu},
    {"blend texture alpha", D_D3DTOP_BLENDTEXTUREALPHA, D_D3DTA_TFACTOR, D_D3DTA_CURRENT,
     D_D3DTOP_SELECTARG1, D_D3DTA_DIFFUSE, D_D3DTA_CURRENT, kDiffuse & 0xFFFFFFu},
};

struct AlphaTest {
  DWORD function;
  bool passes;  // with the vertex alpha 0x80 against the reference 0x80
};

const AlphaTest kAlphaTests[] = {
    {D_D3DCMP_NEVER, false},     {D_D3DCMP_LESS, false},    {D_D3DCMP_EQUAL, true},
    {D_D3DCMP_LESSEQUAL, true},  {D_D3DCMP_GREATER, false}, {D_D3DCMP_NOTEQUAL, false},
    {D_D3DCMP_GREATEREQUAL, true}, {D_D3DCMP_ALWAYS, true},
};

TEST_F(D3d9AlphaTargetTest, UntexturedStagesGiveTheVertexAlphaToTheAlphaTest) {
  device_->SetRenderState(D_D3DRS_TEXTUREFACTOR, kFactor);
  device_->SetRenderState(D_D3DRS_ALPHATESTENABLE, TRUE);
  device_->SetRenderState(D_D3DRS_ALPHAREF, 0x80);
  for (std::size_t setup = 0; setup < std::size(kSetups); ++setup) {
    const StageSetup& s = kSetups[setup];
    device_->SetTextureStageState(0, D_D3DTSS_COLOROP, s.color_op);
    device_->SetTextureStageState(0, D_D3DTSS_COLORARG1, s.color_arg1);
    device_->SetTextureStageState(0, D_D3DTSS_COLORARG2, s.color_arg2);
    device_->SetTextureStageState(0, D_D3DTSS_ALPHAOP, s.alpha_op);
    device_->SetTextureStageState(0, D_D3DTSS_ALPHAARG1, s.alpha_arg1);
    device_->SetTextureStageState(0, D_D3DTSS_ALPHAARG2, s.alpha_arg2);
    for (std::size_t test = 0; test < std::size(kAlphaTests); ++test) {
      device_->SetRenderState(D_D3DRS_ALPHAFUNC, kAlphaTests[test].function);
      DrawQuad(static_cast<int>(test) * 2, static_cast<int>(setup) * 2, 2, 2, kDiffuse);
    }
  }
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  for (std::size_t setup = 0; setup < std::size(kSetups); ++setup) {
    for (std::size_t test = 0; test < std::size(kAlphaTests); ++test) {
      std::uint32_t expected =
          kAlphaTests[test].passes ? (kDiffuse & 0xFF000000u) | kSetups[setup].colour : 0u;
      EXPECT_EQ(pixels[setup * 2 * kWidth + test * 2], expected)
          << kSetups[setup].name << ", function " << kAlphaTests[test].function;
    }
  }
}

TEST_F(D3d9AlphaTargetTest, UntexturedDrawsBlendByTheVertexAlpha) {
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0);
  device_->SetRenderState(D_D3DRS_ALPHABLENDENABLE, TRUE);
  device_->SetRenderState(D_D3DRS_SRCBLEND, D_D3DBLEND_SRCALPHA);
  device_->SetRenderState(D_D3DRS_DESTBLEND, D_D3DBLEND_INVSRCALPHA);
  DrawQuad(0, 0, 2, 2, 0x40FF0000u);
  // A quarter of red over blue; the alpha blends the same way.
  EXPECT_TRUE(wqtest::ColorsNear(ReadTarget(target_)[0], 0xCF4000BFu, 1))
      << std::hex << ReadTarget(target_)[0];
}

}  // namespace
