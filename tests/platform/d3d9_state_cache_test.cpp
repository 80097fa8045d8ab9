// Draws send only the GL state that changed since the last draw; these
// cases change the context behind a device's back and check that its next
// draw still uses its own state.
#include <gtest/gtest.h>

#include "d3d9_test_support.h"

namespace {

using wqtest::D3d9DeviceTest;

constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

TEST_F(D3d9DeviceTest, AnUploadBetweenDrawsDoesNotChangeTheTexturesTheStagesSample) {
  D_IDirect3DTexture9* green = MakeTexture(1, 1, D_D3DFMT_X8R8G8B8, {kGreen});
  D_IDirect3DTexture9* blue = MakeTexture(1, 1, D_D3DFMT_X8R8G8B8, {kBlue});
  device_->SetTexture(0, green);
  DrawQuad(0, 0, 2, 2, 0xFFFFFFFFu);
  // Writing another texture uploads it, binding it in the context.
  D_D3DLOCKED_RECT locked{};
  ASSERT_EQ(blue->LockRect(0, &locked, nullptr, 0), D_D3D_OK);
  wqtest::FillLocked(locked, 1, 1, kBlue);
  blue->UnlockRect(0);
  DrawQuad(2, 0, 2, 2, 0xFFFFFFFFu);
  device_->SetTexture(0, blue);
  DrawQuad(4, 0, 2, 2, 0xFFFFFFFFu);
  std::vector<std::uint32_t> pixels = ReadTarget();
  EXPECT_EQ(pixels[0], kGreen);
  EXPECT_EQ(pixels[2], kGreen);
  EXPECT_EQ(pixels[4], kBlue);
  device_->SetTexture(0, nullptr);
  green->Release();
  blue->Release();
}

TEST_F(D3d9DeviceTest, TwoDevicesOnOneWindowKeepTheirOwnStateBetweenTheirDraws) {
  D_D3DPRESENT_PARAMETERS parameters = Parameters();
  D_IDirect3DDevice9* other = nullptr;
  ASSERT_EQ(direct3d_->CreateDevice(0, D_D3DDEVTYPE_HAL, window_, 0, &parameters, &other), D_D3D_OK);
  other->SetRenderState(D_D3DRS_LIGHTING, FALSE);
  other->SetFVF(wqtest::kTexturedFvf);
  // This device blends half of its colour in; the other writes straight
  // through with only the red channel enabled.
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
  device_->SetRenderState(D_D3DRS_ALPHABLENDENABLE, TRUE);
  device_->SetRenderState(D_D3DRS_SRCBLEND, D_D3DBLEND_SRCALPHA);
  device_->SetRenderState(D_D3DRS_DESTBLEND, D_D3DBLEND_INVSRCALPHA);
  DrawQuad(0, 0, 2, 2, 0x80FFFFFFu);
  other->SetRenderState(D_D3DRS_COLORWRITEENABLE, 1);
  wqtest::TexturedVertex quad[4] = {{-0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFFu, 0, 0},
                                    {1.5f, -0.5f, 0.5f, 1, 0xFFFFFFFFu, 1, 0},
                                    {-0.5f, 1.5f, 0.5f, 1, 0xFFFFFFFFu, 0, 1},
                                    {1.5f, 1.5f, 0.5f, 1, 0xFFFFFFFFu, 1, 1}};
  ASSERT_EQ(other->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]), D_D3D_OK);
  DrawQuad(2, 0, 2, 2, 0x80FFFFFFu);
  std::vector<std::uint32_t> pixels = ReadTarget();
  EXPECT_TRUE(wqtest::ColorsNear(pixels[0], 0xFF808080u, 1)) << std::hex << pixels[0];
  EXPECT_TRUE(wqtest::ColorsNear(pixels[2], 0xFF808080u, 1)) << std::hex << pixels[2];
  EXPECT_EQ(other->Release(), 0u);
}

}  // namespace
