// The memory layout surfaces show the program: pitches padded to 4 bytes
// (per block row for DXT), and DXT plain surfaces in the scratch pool with
// the lock rectangles they take.
#include <gtest/gtest.h>

#include "d3d9_test_support.h"

namespace {

using wqtest::D3d9AlphaTargetTest;
using wqtest::D3d9DeviceTest;

struct PitchCase {
  D_D3DFORMAT format;
  UINT width;
  INT pitch;
};

const PitchCase kPitches[] = {
    {D_D3DFMT_R5G6B5, 1, 4},    {D_D3DFMT_R5G6B5, 2, 4},     {D_D3DFMT_R5G6B5, 5, 12},
    {D_D3DFMT_X1R5G5B5, 3, 8},  {D_D3DFMT_A4R4G4B4, 6, 12},  {D_D3DFMT_A1R5G5B5, 7, 16},
    {D_D3DFMT_A8R8G8B8, 5, 20}, {D_D3DFMT_X8R8G8B8, 1, 4},   {D_D3DFMT_DXT1, 1, 8},
    {D_D3DFMT_DXT1, 5, 16},     {D_D3DFMT_DXT3, 4, 16},      {D_D3DFMT_DXT5, 9, 48},
};

bool IsDxt(D_D3DFORMAT format) {
  return format >= D_D3DFMT_DXT1 && format <= D_D3DFMT_DXT5;
}

TEST_F(D3d9DeviceTest, PitchesAreWholeWordsOfRowsAndWholeBlockRowsForDxt) {
  for (const PitchCase& c : kPitches) {
    // DXT plain surfaces live in the scratch pool; the rest in system memory.
    D_D3DPOOL pool = IsDxt(c.format) ? D_D3DPOOL_SCRATCH : D_D3DPOOL_SYSTEMMEM;
    D_IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(device_->CreateOffscreenPlainSurface(c.width, 5, c.format, pool, &surface, nullptr),
              D_D3D_OK)
        << c.format << " x " << c.width;
    D_D3DLOCKED_RECT locked{};
    ASSERT_EQ(surface->LockRect(&locked, nullptr, 0), D_D3D_OK);
    EXPECT_EQ(locked.Pitch, c.pitch) << "format " << c.format << ", width " << c.width;
    surface->UnlockRect();
    surface->Release();
  }
  // Texture levels and volume rows pad the same way.
  D_IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device_->CreateTexture(5, 5, 0, 0, D_D3DFMT_R5G6B5, D_D3DPOOL_MANAGED, &texture, nullptr),
            D_D3D_OK);
  D_D3DLOCKED_RECT locked{};
  texture->LockRect(0, &locked, nullptr, 0);
  EXPECT_EQ(locked.Pitch, 12);
  texture->UnlockRect(0);
  texture->LockRect(1, &locked, nullptr, 0);  // 2 x 2
  EXPECT_EQ(locked.Pitch, 4);
  texture->UnlockRect(1);
  texture->Release();
  D_IDirect3DVolumeTexture9* volume = nullptr;
  ASSERT_EQ(device_->CreateVolumeTexture(5, 2, 2, 1, 0, D_D3DFMT_R5G6B5, D_D3DPOOL_SYSTEMMEM,
                                         &volume, nullptr),
            D_D3D_OK);
  D_D3DLOCKED_BOX box{};
  volume->LockBox(0, &box, nullptr, 0);
  EXPECT_EQ(box.RowPitch, 12);
  EXPECT_EQ(box.SlicePitch, 24);
  volume->UnlockBox(0);
  volume->Release();
}

TEST_F(D3d9AlphaTargetTest, APaddedTextureUploadsEveryRowFromItsPitch) {
  // 5 x 5 R5G6B5: every texel its own colour, the rows 12 bytes apart.
  std::vector<std::uint32_t> texels;
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 5; ++column) {
      texels.push_back(0xFF000000u | static_cast<std::uint32_t>(column * 0x3F) << 16 |
                       static_cast<std::uint32_t>(row * 0x3F) << 8);
    }
  }
  D_IDirect3DTexture9* texture = MakeTexture(5, 5, D_D3DFMT_R5G6B5, texels);
  device_->SetTexture(0, texture);
  DrawQuad(0, 0, 5, 5, 0xFFFFFFFFu);
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 5; ++column) {
      EXPECT_TRUE(wqtest::ColorsNear(pixels[row * kWidth + column], texels[row * 5 + column], 8))
          << column << ", " << row << ": " << std::hex << pixels[row * kWidth + column];
    }
  }
  device_->SetTexture(0, nullptr);
  texture->Release();
}

TEST_F(D3d9DeviceTest, DxtScratchSurfacesLockAnyRectangleInsideThem) {
  // The adapter agrees that DXT plain surfaces exist.
  EXPECT_EQ(direct3d_->CheckDeviceFormat(0, D_D3DDEVTYPE_HAL, D_D3DFMT_X8R8G8B8, 0,
                                         D_D3DRTYPE_SURFACE, D_D3DFMT_DXT1),
            D_D3D_OK);
  D_IDirect3DSurface9* scratch = nullptr;
  ASSERT_EQ(device_->CreateOffscreenPlainSurface(8, 8, D_D3DFMT_DXT1, D_D3DPOOL_SCRATCH, &scratch,
                                                 nullptr),
            D_D3D_OK);
  D_D3DLOCKED_RECT whole{};
  ASSERT_EQ(scratch->LockRect(&whole, nullptr, 0), D_D3D_OK);
  scratch->UnlockRect();
  struct LockCase {
    RECT rect;
    bool accepted;
    int offset;  // bytes from the surface's start: the block holding the corner
  };
  const LockCase cases[] = {
      {{0, 0, 8, 8}, true, 0},   {{4, 0, 8, 4}, true, 8},    {{1, 1, 3, 3}, true, 0},
      {{5, 6, 7, 8}, true, 24},  {{0, 0, 9, 4}, false, 0},   {{-1, 0, 4, 4}, false, 0},
      {{4, 4, 4, 8}, false, 0},
  };
  for (const LockCase& c : cases) {
    D_D3DLOCKED_RECT locked{};
    HRESULT result = scratch->LockRect(&locked, &c.rect, 0);
    EXPECT_EQ(result, c.accepted ? D_D3D_OK : D_D3DERR_INVALIDCALL)
        << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
    if (result != D_D3D_OK) continue;
    EXPECT_EQ(static_cast<std::uint8_t*>(locked.pBits) - static_cast<std::uint8_t*>(whole.pBits),
              c.offset);
    EXPECT_EQ(locked.Pitch, 16);
    scratch->UnlockRect();
  }
  scratch->Release();
  // Surfaces the device uploads keep to whole blocks.
  D_IDirect3DSurface9* system = nullptr;
  ASSERT_EQ(device_->CreateOffscreenPlainSurface(8, 8, D_D3DFMT_DXT1, D_D3DPOOL_SYSTEMMEM, &system,
                                                 nullptr),
            D_D3D_OK);
  D_D3DLOCKED_RECT locked{};
  RECT unaligned{1, 1, 3, 3};
  EXPECT_EQ(system->LockRect(&locked, &unaligned, 0), D_D3DERR_INVALIDCALL);
  system->Release();
}

}  // namespace
