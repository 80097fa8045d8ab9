// The capabilities the device reports, each checked against what it does;
// and lights, which Direct3D keeps at any index.
#include <gtest/gtest.h>

#include "d3d9_test_support.h"

namespace {

using wqtest::D3d9AlphaTargetTest;
using wqtest::D3d9DeviceTest;

class D3d9CapsTest : public D3d9AlphaTargetTest {
 protected:
  void SetUp() override {
    D3d9AlphaTargetTest::SetUp();
    ASSERT_EQ(device_->GetDeviceCaps(&caps_), D_D3D_OK);
  }

  D_D3DCAPS9 caps_{};
};

TEST_F(D3d9CapsTest, PreTransformedVerticesOutsideTheDepthRangeAreClippedAsReported) {
  ASSERT_TRUE(caps_.PrimitiveMiscCaps & D_D3DPMISCCAPS_CLIPTLVERTS);
  const float depths[] = {-0.25f, 0.0f, 0.5f, 1.0f, 1.25f};
  for (int i = 0; i < 5; ++i) DrawQuad(i * 2, 0, 2, 2, 0xFFFFFFFFu, depths[i]);
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  for (int i = 0; i < 5; ++i) {
    bool inside = depths[i] >= 0.0f && depths[i] <= 1.0f;
    EXPECT_EQ(pixels[i * 2], inside ? 0xFFFFFFFFu : 0u) << "z " << depths[i];
  }
}

TEST_F(D3d9CapsTest, TheBlendAndStageCapsTheFrameworkReadsHoldWhenDrawing) {
  // D3DPMISCCAPS_BLENDOP: a reverse subtraction takes the source from the target.
  ASSERT_TRUE(caps_.PrimitiveMiscCaps & D_D3DPMISCCAPS_BLENDOP);
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0xFF808080u, 1.0f, 0);
  device_->SetRenderState(D_D3DRS_ALPHABLENDENABLE, TRUE);
  device_->SetRenderState(D_D3DRS_SRCBLEND, D_D3DBLEND_ONE);
  device_->SetRenderState(D_D3DRS_DESTBLEND, D_D3DBLEND_ONE);
  device_->SetRenderState(D_D3DRS_BLENDOP, D_D3DBLENDOP_REVSUBTRACT);
  DrawQuad(0, 0, 2, 2, 0x00204080u);
  EXPECT_EQ(ReadTarget(target_)[0], 0xFF604000u);
  device_->SetRenderState(D_D3DRS_ALPHABLENDENABLE, FALSE);

  // D3DPMISCCAPS_TSSARGTEMP: stage 0 writes the temporary register, stage 1
  // reads it back while the current colour stays the vertex's.
  ASSERT_TRUE(caps_.PrimitiveMiscCaps & D_D3DPMISCCAPS_TSSARGTEMP);
  device_->SetRenderState(D_D3DRS_TEXTUREFACTOR, 0xFF102030u);
  device_->SetTextureStageState(0, D_D3DTSS_COLOROP, D_D3DTOP_SELECTARG1);
  device_->SetTextureStageState(0, D_D3DTSS_COLORARG1, D_D3DTA_TFACTOR);
  device_->SetTextureStageState(0, D_D3DTSS_RESULTARG, D_D3DTA_TEMP);
  device_->SetTextureStageState(1, D_D3DTSS_COLOROP, D_D3DTOP_ADD);
  device_->SetTextureStageState(1, D_D3DTSS_COLORARG1, D_D3DTA_TEMP);
  device_->SetTextureStageState(1, D_D3DTSS_COLORARG2, D_D3DTA_CURRENT);
  device_->SetTextureStageState(1, D_D3DTSS_ALPHAOP, D_D3DTOP_SELECTARG1);
  device_->SetTextureStageState(1, D_D3DTSS_ALPHAARG1, D_D3DTA_DIFFUSE);
  DrawQuad(2, 0, 2, 2, 0xFF010101u);
  EXPECT_EQ(ReadTarget(target_)[2], 0xFF112131u);

  // TextureOpCaps: every operation but the two bump-mapping ones, each of
  // which the stage test checks against its formula.
  for (DWORD op = D_D3DTOP_DISABLE; op <= D_D3DTOP_LERP; ++op) {
    bool bump = op == D_D3DTOP_BUMPENVMAP || op == D_D3DTOP_BUMPENVMAPLUMINANCE;
    EXPECT_EQ((caps_.TextureOpCaps & D_D3DTEXOPCAPS_OF(op)) != 0, !bump) << "op " << op;
  }
}

TEST_F(D3d9CapsTest, TextureSizesAndShaderVersionsAgreeWithTheDevice) {
  // The largest texture reported is made; one texel more is refused.
  D_IDirect3DTexture9* texture = nullptr;
  EXPECT_EQ(device_->CreateTexture(caps_.MaxTextureWidth, 1, 1, 0, D_D3DFMT_A8R8G8B8,
                                   D_D3DPOOL_MANAGED, &texture, nullptr),
            D_D3D_OK);
  if (texture) texture->Release();
  EXPECT_EQ(device_->CreateTexture(1, caps_.MaxTextureHeight, 1, 0, D_D3DFMT_A8R8G8B8,
                                   D_D3DPOOL_MANAGED, &texture, nullptr),
            D_D3D_OK);
  if (texture) texture->Release();
  EXPECT_EQ(device_->CreateTexture(caps_.MaxTextureWidth + 1, 1, 1, 0, D_D3DFMT_A8R8G8B8,
                                   D_D3DPOOL_MANAGED, &texture, nullptr),
            D_D3DERR_INVALIDCALL);
  // Shaders are kept but never run, so neither version reaches 2.0 and the
  // framework draws with the fixed function.
  EXPECT_LT(caps_.VertexShaderVersion & 0xFFFF, 0x200u);
  EXPECT_LT(caps_.PixelShaderVersion & 0xFFFF, 0x200u);
  // StretchRect from a plain default-pool texture, as reported.
  ASSERT_TRUE(caps_.DevCaps2 & D_D3DDEVCAPS2_CAN_STRETCHRECT_FROM_TEXTURES);
  ASSERT_EQ(device_->CreateTexture(16, 16, 1, 0, D_D3DFMT_A8R8G8B8, D_D3DPOOL_DEFAULT, &texture,
                                   nullptr),
            D_D3D_OK);
  D_IDirect3DSurface9* level = nullptr;
  texture->GetSurfaceLevel(0, &level);
  EXPECT_EQ(device_->StretchRect(level, nullptr, target_, nullptr, D_D3DTEXF_NONE), D_D3D_OK);
  level->Release();
  texture->Release();
}

TEST_F(D3d9DeviceTest, LightsAreKeptAtAnyIndexAndAnyNumberMayBeEnabled) {
  D_D3DLIGHT9 light{};
  light.Type = D_D3DLIGHT_POINT;
  light.Diffuse = {1.0f, 0.5f, 0.25f, 1.0f};
  light.Range = 10.0f;
  for (DWORD index : {0u, 7u, 8u, 255u, 1000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(device_->SetLight(index, &light), D_D3D_OK) << index;
    EXPECT_EQ(device_->LightEnable(index, TRUE), D_D3D_OK) << index;
  }
  D_D3DCAPS9 caps{};
  device_->GetDeviceCaps(&caps);
  // More lights on than the caps' active count is accepted; only lighting
  // is bounded by it. A light never set is enabled as the default one.
  for (DWORD index = 100; index < 100 + caps.MaxActiveLights + 2; ++index) {
    EXPECT_EQ(device_->LightEnable(index, TRUE), D_D3D_OK) << index;
  }
  EXPECT_EQ(device_->LightEnable(5000, FALSE), D_D3D_OK);
  EXPECT_EQ(device_->SetLight(3, nullptr), D_D3DERR_INVALIDCALL);
  light.Type = static_cast<D_D3DLIGHTTYPE>(0);
  EXPECT_EQ(device_->SetLight(3, &light), D_D3DERR_INVALIDCALL);
}

}  // namespace
