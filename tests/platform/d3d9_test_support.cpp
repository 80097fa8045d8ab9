#include "d3d9_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace wqtest {

void D3d9DeviceTest::SetUp() {
  window_ = window_class_.Create(WS_POPUP, 0, kWidth, kHeight);
  ShowWindow(window_, SW_SHOW);
  DispatchQueued();
  direct3d_ = Direct3DCreate9(D_D3D_SDK_VERSION);
  ASSERT_NE(direct3d_, nullptr);
  D_D3DPRESENT_PARAMETERS parameters = Parameters();
  ASSERT_EQ(direct3d_->CreateDevice(0, D_D3DDEVTYPE_HAL, window_,
                                    D_D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device_),
            D_D3D_OK);
  device_->SetRenderState(D_D3DRS_LIGHTING, FALSE);
  device_->SetFVF(kTexturedFvf);
}

void D3d9DeviceTest::TearDown() {
  if (device_) {
    EXPECT_EQ(device_->Release(), 0u);
  }
  if (direct3d_) {
    EXPECT_EQ(direct3d_->Release(), 0u);
  }
  DestroyWindow(window_);
}

D_D3DPRESENT_PARAMETERS D3d9DeviceTest::Parameters() const {
  D_D3DPRESENT_PARAMETERS parameters{};
  parameters.BackBufferWidth = kWidth;
  parameters.BackBufferHeight = kHeight;
  parameters.BackBufferFormat = D_D3DFMT_X8R8G8B8;
  parameters.BackBufferCount = 1;
  parameters.SwapEffect = D_D3DSWAPEFFECT_COPY;
  parameters.hDeviceWindow = window_;
  parameters.Windowed = TRUE;
  parameters.Flags = D_D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  parameters.PresentationInterval = D_D3DPRESENT_INTERVAL_IMMEDIATE;
  return parameters;
}

void D3d9DeviceTest::DrawQuad(int x, int y, int w, int h, D_D3DCOLOR color, float z) {
  // Pixel edges lie half a pixel before the centres.
  float left = static_cast<float>(x) - 0.5f, top = static_cast<float>(y) - 0.5f;
  float right = left + static_cast<float>(w), bottom = top + static_cast<float>(h);
  TexturedVertex quad[4] = {{left, top, z, 1.0f, color, 0.0f, 0.0f},
                            {right, top, z, 1.0f, color, 1.0f, 0.0f},
                            {left, bottom, z, 1.0f, color, 0.0f, 1.0f},
                            {right, bottom, z, 1.0f, color, 1.0f, 1.0f}};
  ASSERT_EQ(device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]), D_D3D_OK);
}

std::vector<std::uint32_t> D3d9DeviceTest::ReadTarget(D_IDirect3DSurface9* target) {
  D_IDirect3DSurface9* source = target;
  if (!source) device_->GetRenderTarget(0, &source);
  D_D3DSURFACE_DESC desc{};
  source->GetDesc(&desc);
  D_IDirect3DSurface9* copy = nullptr;
  std::vector<std::uint32_t> pixels(desc.Width * desc.Height);
  EXPECT_EQ(device_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                 D_D3DPOOL_SYSTEMMEM, &copy, nullptr),
            D_D3D_OK);
  EXPECT_EQ(device_->GetRenderTargetData(source, copy), D_D3D_OK);
  D_D3DLOCKED_RECT locked{};
  EXPECT_EQ(copy->LockRect(&locked, nullptr, D_D3DLOCK_READONLY), D_D3D_OK);
  for (UINT row = 0; row < desc.Height; ++row) {
    const auto* bytes = static_cast<const std::uint8_t*>(locked.pBits) + row * locked.Pitch;
    for (UINT column = 0; column < desc.Width; ++column) {
      std::uint32_t pixel = 0;
      if (desc.Format == D_D3DFMT_A8R8G8B8 || desc.Format == D_D3DFMT_X8R8G8B8) {
        std::memcpy(&pixel, bytes + column * 4, 4);
        if (desc.Format == D_D3DFMT_X8R8G8B8) pixel |= 0xFF000000u;
      }
      pixels[row * desc.Width + column] = pixel;
    }
  }
  copy->UnlockRect();
  copy->Release();
  if (!target) source->Release();
  return pixels;
}

D_IDirect3DTexture9* D3d9DeviceTest::MakeTexture(int width, int height, D_D3DFORMAT format,
                                                 const std::vector<std::uint32_t>& argb_texels) {
  D_IDirect3DTexture9* texture = nullptr;
  EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, format, D_D3DPOOL_MANAGED, &texture,
                                   nullptr),
            D_D3D_OK);
  if (!texture) return nullptr;
  D_D3DLOCKED_RECT locked{};
  EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D_D3D_OK);
  for (int row = 0; row < height; ++row) {
    auto* bytes = static_cast<std::uint8_t*>(locked.pBits) + row * locked.Pitch;
    for (int column = 0; column < width; ++column) {
      std::uint32_t argb = argb_texels[row * width + column];
      if (format == D_D3DFMT_A8R8G8B8 || format == D_D3DFMT_X8R8G8B8) {
        std::memcpy(bytes + column * 4, &argb, 4);
        continue;
      }
      std::uint32_t a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
      std::uint16_t packed = 0;
      switch (format) {
        case D_D3DFMT_R5G6B5: packed = static_cast<std::uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3); break;
        case D_D3DFMT_X1R5G5B5: packed = static_cast<std::uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | b >> 3); break;
        case D_D3DFMT_A1R5G5B5: packed = static_cast<std::uint16_t>((a >> 7) << 15 | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3); break;
        default: packed = static_cast<std::uint16_t>((a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | b >> 4); break;
      }
      std::memcpy(bytes + column * 2, &packed, 2);
    }
  }
  EXPECT_EQ(texture->UnlockRect(0), D_D3D_OK);
  return texture;
}

void D3d9AlphaTargetTest::SetUp() {
  D3d9DeviceTest::SetUp();
  ASSERT_EQ(device_->CreateRenderTarget(kWidth, kHeight, D_D3DFMT_A8R8G8B8, D_D3DMULTISAMPLE_NONE,
                                        0, FALSE, &target_, nullptr),
            D_D3D_OK);
  device_->SetRenderTarget(0, target_);
  device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0, 1.0f, 0);
}

void D3d9AlphaTargetTest::TearDown() {
  for (DWORD stage = 0; stage < D_D3DMAXTEXTURESTAGES; ++stage) device_->SetTexture(stage, nullptr);
  if (target_) target_->Release();
  D3d9DeviceTest::TearDown();
}

void FillLocked(const D_D3DLOCKED_RECT& locked, int rows, int columns, std::uint32_t value) {
  for (int row = 0; row < rows; ++row) {
    auto* line = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.pBits) +
                                                  row * locked.Pitch);
    std::fill(line, line + columns, value);
  }
}

bool ColorsNear(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(difference) > tolerance) return false;
  }
  return true;
}

}  // namespace wqtest
