// Textures and surfaces: each format's upload and sampling, locking, mip
// levels and the copies between render targets and system memory.
#include <gtest/gtest.h>

#include <cstring>

#include "d3d9_test_support.h"
#include "platform/control.h"

namespace {

using wqtest::D3d9DeviceTest;

// A channel narrowed to `bits` and widened back, as the format stores it.
std::uint32_t Quantize(std::uint32_t value, int bits) {
  if (bits == 0) return 0xFF;
  std::uint32_t kept = value >> (8 - bits);
  std::uint32_t wide = 0;
  for (int filled = 0; filled < 16; filled += bits) wide = (wide << bits) | kept;
  return (wide >> (((16 + bits - 1) / bits) * bits - 8)) & 0xFF;
}

struct FormatCase {
  D_D3DFORMAT format;
  int alpha_bits, red_bits, green_bits, blue_bits;
};

class D3d9TextureTest : public wqtest::D3d9AlphaTargetTest {
 protected:
  // Draws a 4 x 4 texture of one block at the target's top-left corner and
  // returns the target's first row; empty when the texture cannot be made.
  std::vector<std::uint32_t> DrawBlock(D_D3DFORMAT format, const std::vector<std::uint8_t>& block) {
    D_IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(4, 4, 1, 0, format, D_D3DPOOL_MANAGED, &texture, nullptr),
              D_D3D_OK);
    if (!texture) return {};
    D_D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D_D3D_OK);
    EXPECT_EQ(locked.Pitch, static_cast<INT>(block.size()));
    std::memcpy(locked.pBits, block.data(), block.size());
    EXPECT_EQ(texture->UnlockRect(0), D_D3D_OK);
    device_->SetTexture(0, texture);
    DrawQuad(0, 0, 4, 4, 0xFFFFFFFFu);
    device_->SetTexture(0, nullptr);
    texture->Release();
    std::vector<std::uint32_t> pixels = ReadTarget(target_);
    return {pixels.begin(), pixels.begin() + 4};
  }

  // An 8 x 8 X8R8G8B8 render-target texture cleared to `background` with
  // `left_half` drawn over its left half, and its surface; the device draws
  // into the A8R8G8B8 target again afterwards.
  D_IDirect3DTexture9* DrawnXTarget(D_D3DCOLOR background, D_D3DCOLOR left_half,
                                    D_IDirect3DSurface9** surface) {
    D_IDirect3DTexture9* drawable = nullptr;
    EXPECT_EQ(device_->CreateTexture(8, 8, 1, D_D3DUSAGE_RENDERTARGET, D_D3DFMT_X8R8G8B8,
                                     D_D3DPOOL_DEFAULT, &drawable, nullptr),
              D_D3D_OK);
    if (!drawable) return nullptr;
    drawable->GetSurfaceLevel(0, surface);
    device_->SetRenderTarget(0, *surface);
    device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, background, 1.0f, 0);
    DrawQuad(0, 0, 4, 8, left_half);
    device_->SetRenderTarget(0, target_);
    return drawable;
  }
};

// A 2 x 2 system-memory texture of opaque green, or null.
D_IDirect3DTexture9* MakeGreenStaging(D_IDirect3DDevice9* device) {
  D_IDirect3DTexture9* staging = nullptr;
  if (device->CreateTexture(2, 2, 1, 0, D_D3DFMT_A8R8G8B8, D_D3DPOOL_SYSTEMMEM, &staging,
                            nullptr) != D_D3D_OK) {
    return nullptr;
  }
  D_D3DLOCKED_RECT locked{};
  staging->LockRect(0, &locked, nullptr, 0);
  wqtest::FillLocked(locked, 2, 2, 0xFF00FF00u);
  staging->UnlockRect(0);
  return staging;
}

TEST_F(D3d9TextureTest, EachColourFormatUploadsAndSamplesAsItStoresIt) {
  const FormatCase formats[] = {
      {D_D3DFMT_A8R8G8B8, 8, 8, 8, 8}, {D_D3DFMT_X8R8G8B8, 0, 8, 8, 8},
      {D_D3DFMT_R5G6B5, 0, 5, 6, 5},   {D_D3DFMT_X1R5G5B5, 0, 5, 5, 5},
      {D_D3DFMT_A1R5G5B5, 1, 5, 5, 5}, {D_D3DFMT_A4R4G4B4, 4, 4, 4, 4},
  };
  const std::vector<std::uint32_t> texels = {0x80FF0000u, 0xFF00FF00u, 0x400000FFu, 0xC0C08040u};
  for (std::size_t f = 0; f < std::size(formats); ++f) {
    D_IDirect3DTexture9* texture = MakeTexture(2, 2, formats[f].format, texels);
    ASSERT_NE(texture, nullptr);
    device_->SetTexture(0, texture);
    DrawQuad(static_cast<int>(f) * 2, 0, 2, 2, 0xFFFFFFFFu);
    device_->SetTexture(0, nullptr);
    texture->Release();
  }
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  for (std::size_t f = 0; f < std::size(formats); ++f) {
    const FormatCase& format = formats[f];
    for (int texel = 0; texel < 4; ++texel) {
      std::uint32_t source = texels[texel];
      std::uint32_t expected = Quantize(source >> 24, format.alpha_bits) << 24 |
                               Quantize((source >> 16) & 0xFF, format.red_bits) << 16 |
                               Quantize((source >> 8) & 0xFF, format.green_bits) << 8 |
                               Quantize(source & 0xFF, format.blue_bits);
      std::uint32_t actual = pixels[(texel / 2) * kWidth + f * 2 + texel % 2];
      EXPECT_EQ(actual, expected) << "format " << format.format << " texel " << texel << std::hex
                                  << ": " << actual << " vs " << expected;
    }
  }
}

// Colour 0 pure red, colour 1 pure blue; every row's indices 0, 1, 2, 3.
constexpr std::uint8_t kRedBlueColourBlock[8] = {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0xE4, 0xE4, 0xE4};
constexpr std::uint32_t kRedBlueRow[4] = {0xFF0000u, 0x0000FFu, 0xAA0055u, 0x5500AAu};

TEST_F(D3d9TextureTest, ADxt1BlockDecodesToItsFourColours) {
  std::vector<std::uint32_t> row =
      DrawBlock(D_D3DFMT_DXT1,
                {std::begin(kRedBlueColourBlock), std::end(kRedBlueColourBlock)});
  ASSERT_EQ(row.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    // The end colours exactly; the interpolated ones within rounding.
    EXPECT_TRUE(wqtest::ColorsNear(row[i], 0xFF000000u | kRedBlueRow[i], i < 2 ? 0 : 1))
        << std::hex << row[i];
  }
}

struct AlphaBlockCase {
  D_D3DFORMAT format;
  std::uint8_t alpha[8];
  std::uint32_t expected_alpha[4];
};

TEST_F(D3d9TextureTest, Dxt2To5BlocksDecodeTheirAlphaBesideTheColours) {
  const AlphaBlockCase cases[] = {
      // Explicit 4-bit alpha: first row F, 8, 0, 4.
      {D_D3DFMT_DXT2, {0x8F, 0x40, 0, 0, 0, 0, 0, 0}, {0xFF, 0x88, 0x00, 0x44}},
      {D_D3DFMT_DXT3, {0x8F, 0x40, 0, 0, 0, 0, 0, 0}, {0xFF, 0x88, 0x00, 0x44}},
      // Interpolated alpha between 0xFF and 0x00: first row indices 0, 1, 2, 7.
      {D_D3DFMT_DXT4, {0xFF, 0x00, 0x88, 0x0E, 0, 0, 0, 0}, {0xFF, 0x00, 0xDB, 0x24}},
      {D_D3DFMT_DXT5, {0xFF, 0x00, 0x88, 0x0E, 0, 0, 0, 0}, {0xFF, 0x00, 0xDB, 0x24}},
  };
  for (const AlphaBlockCase& test_case : cases) {
    std::vector<std::uint8_t> block(std::begin(test_case.alpha), std::end(test_case.alpha));
    block.insert(block.end(), std::begin(kRedBlueColourBlock), std::end(kRedBlueColourBlock));
    std::vector<std::uint32_t> row = DrawBlock(test_case.format, block);
    ASSERT_EQ(row.size(), 4u) << test_case.format;
    for (int i = 0; i < 4; ++i) {
      std::uint32_t expected = test_case.expected_alpha[i] << 24 | kRedBlueRow[i];
      EXPECT_TRUE(wqtest::ColorsNear(row[i], expected, i < 2 ? 0 : 1))
          << "format " << test_case.format << " texel " << i << std::hex << ": " << row[i];
    }
  }
}

TEST_F(D3d9TextureTest, LockingARectangleWritesOnlyThatPartAndChecksItsBounds) {
  D_IDirect3DTexture9* texture = MakeTexture(4, 4, D_D3DFMT_X8R8G8B8, std::vector<std::uint32_t>(16, 0));
  D_D3DLOCKED_RECT locked{};
  RECT part{1, 2, 3, 4};
  ASSERT_EQ(texture->LockRect(0, &locked, &part, 0), D_D3D_OK);
  EXPECT_EQ(texture->LockRect(0, &locked, &part, 0), D_D3DERR_INVALIDCALL);  // already locked
  wqtest::FillLocked(locked, 2, 2, 0x00FFFFFFu);
  ASSERT_EQ(texture->UnlockRect(0), D_D3D_OK);
  EXPECT_EQ(texture->UnlockRect(0), D_D3DERR_INVALIDCALL);
  RECT outside{2, 2, 5, 3};
  EXPECT_EQ(texture->LockRect(0, &locked, &outside, 0), D_D3DERR_INVALIDCALL);
  device_->SetTexture(0, texture);
  DrawQuad(0, 0, 4, 4, 0xFFFFFFFFu);
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      bool lit = x >= 1 && x < 3 && y >= 2;
      EXPECT_EQ(pixels[y * kWidth + x], lit ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
    }
  }
  device_->SetTexture(0, nullptr);
  texture->Release();
}

TEST_F(D3d9TextureTest, MipLevelsHaveTheirOwnSizesAndSurfacesCountOnTheirTexture) {
  D_IDirect3DTexture9* texture = nullptr;
  ASSERT_EQ(device_->CreateTexture(16, 4, 0, 0, D_D3DFMT_A8R8G8B8, D_D3DPOOL_MANAGED, &texture,
                                   nullptr),
            D_D3D_OK);
  ASSERT_EQ(texture->GetLevelCount(), 5u);
  D_D3DSURFACE_DESC desc{};
  texture->GetLevelDesc(4, &desc);
  EXPECT_EQ(desc.Width, 1u);
  EXPECT_EQ(desc.Height, 1u);
  D_IDirect3DSurface9* level = nullptr;
  ASSERT_EQ(texture->GetSurfaceLevel(2, &level), D_D3D_OK);
  level->GetDesc(&desc);
  EXPECT_EQ(desc.Width, 4u);
  EXPECT_EQ(desc.Height, 1u);
  EXPECT_EQ(texture->Release(), 1u);  // the level still holds the texture
  EXPECT_EQ(level->Release(), 0u);
  EXPECT_EQ(device_->CreateTexture(4096, 4, 1, 0, D_D3DFMT_A8R8G8B8, D_D3DPOOL_MANAGED, &texture,
                                   nullptr),
            D_D3DERR_INVALIDCALL);
}

TEST_F(D3d9TextureTest, MoreLevelsThanTheChainHasGiveTheWholeChain) {
  // Counts past what a signed int holds are capped like any other.
  for (UINT asked : {4u, 0x80000000u, 0xFFFFFFFFu}) {
    D_IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(4, 4, asked, 0, D_D3DFMT_A8R8G8B8, D_D3DPOOL_SYSTEMMEM,
                                     &texture, nullptr),
              D_D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 3u) << asked;
    texture->Release();
    D_IDirect3DVolumeTexture9* volume = nullptr;
    ASSERT_EQ(device_->CreateVolumeTexture(2, 4, 8, asked, 0, D_D3DFMT_A8R8G8B8,
                                           D_D3DPOOL_SYSTEMMEM, &volume, nullptr),
              D_D3D_OK);
    EXPECT_EQ(volume->GetLevelCount(), 4u) << asked;
    volume->Release();
  }
}

TEST_F(D3d9TextureTest, RenderTargetsRoundTripThroughStretchRectAndSystemMemory) {
  // Draw into a render-target texture, sample it, and copy it around.
  D_IDirect3DSurface9* drawable_surface = nullptr;
  D_IDirect3DTexture9* drawable = DrawnXTarget(0xFF102030u, 0xFFC0C0C0u, &drawable_surface);
  ASSERT_NE(drawable, nullptr);
  device_->SetTexture(0, drawable);
  DrawQuad(0, 0, 8, 8, 0xFFFFFFFFu);
  device_->SetTexture(0, nullptr);
  // Doubled with nearest sampling into the right half.
  RECT source{0, 0, 8, 8};
  RECT dest{16, 0, 32, 16};
  ASSERT_EQ(device_->StretchRect(target_, &source, target_, &dest, D_D3DTEXF_NONE), D_D3D_OK);
  RECT overlapping{4, 4, 12, 12};
  EXPECT_EQ(device_->StretchRect(target_, &source, target_, &overlapping, D_D3DTEXF_NONE),
            D_D3DERR_INVALIDCALL);
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  EXPECT_EQ(pixels[0], 0xFFC0C0C0u);
  EXPECT_EQ(pixels[7 * kWidth + 7], 0xFF102030u);
  EXPECT_EQ(pixels[15 * kWidth + 16 + 7], 0xFFC0C0C0u);
  EXPECT_EQ(pixels[15 * kWidth + 16 + 8], 0xFF102030u);

  // A system-memory surface of another size or format is refused.
  D_IDirect3DSurface9* wrong = nullptr;
  device_->CreateOffscreenPlainSurface(8, 8, D_D3DFMT_R5G6B5, D_D3DPOOL_SYSTEMMEM, &wrong, nullptr);
  EXPECT_EQ(device_->GetRenderTargetData(drawable_surface, wrong), D_D3DERR_INVALIDCALL);
  wrong->Release();
  drawable_surface->Release();
  drawable->Release();
}

TEST_F(D3d9TextureTest, AnXTargetIsOpaqueWhereverItIsReadWhateverAlphaWasDrawnIntoIt) {
  D_IDirect3DSurface9* drawable_surface = nullptr;
  D_IDirect3DTexture9* drawable = DrawnXTarget(0x00102030u, 0x00C0C0C0u, &drawable_surface);
  ASSERT_NE(drawable, nullptr);
  // Sampled (the stage passes the texture's alpha on), and copied.
  device_->SetTexture(0, drawable);
  DrawQuad(0, 0, 8, 8, 0xFFFFFFFFu);
  device_->SetTexture(0, nullptr);
  RECT whole{0, 0, 8, 8};
  RECT copy_place{16, 0, 24, 8};
  ASSERT_EQ(device_->StretchRect(drawable_surface, &whole, target_, &copy_place, D_D3DTEXF_NONE),
            D_D3D_OK);
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  for (int left : {0, 16}) {
    EXPECT_EQ(pixels[left], 0xFFC0C0C0u) << left;
    EXPECT_EQ(pixels[7 * kWidth + left + 7], 0xFF102030u) << left;
  }

  // Read back, the X byte is 0xFF.
  D_IDirect3DSurface9* copy = nullptr;
  ASSERT_EQ(device_->CreateOffscreenPlainSurface(8, 8, D_D3DFMT_X8R8G8B8, D_D3DPOOL_SYSTEMMEM,
                                                 &copy, nullptr),
            D_D3D_OK);
  ASSERT_EQ(device_->GetRenderTargetData(drawable_surface, copy), D_D3D_OK);
  D_D3DLOCKED_RECT locked{};
  ASSERT_EQ(copy->LockRect(&locked, nullptr, D_D3DLOCK_READONLY), D_D3D_OK);
  const auto* rows = static_cast<const std::uint8_t*>(locked.pBits);
  std::uint32_t first = 0, last = 0;
  std::memcpy(&first, rows, 4);
  std::memcpy(&last, rows + 7 * locked.Pitch + 7 * 4, 4);
  EXPECT_EQ(first, 0xFFC0C0C0u);
  EXPECT_EQ(last, 0xFF102030u);
  copy->UnlockRect();
  copy->Release();
  drawable_surface->Release();
  drawable->Release();
}

TEST_F(D3d9TextureTest, UpdateTextureAndUpdateSurfaceCopySystemMemoryToTheDevice) {
  D_IDirect3DTexture9* staging = MakeGreenStaging(device_);
  ASSERT_NE(staging, nullptr);
  D_D3DLOCKED_RECT locked{};
  D_IDirect3DTexture9* texture = MakeTexture(2, 2, D_D3DFMT_A8R8G8B8, std::vector<std::uint32_t>(4, 0));
  ASSERT_EQ(device_->UpdateTexture(staging, texture), D_D3D_OK);
  EXPECT_EQ(device_->UpdateTexture(texture, staging), D_D3DERR_INVALIDCALL);

  // One texel replaced by a surface update.
  D_IDirect3DSurface9* source = nullptr;
  device_->CreateOffscreenPlainSurface(1, 1, D_D3DFMT_A8R8G8B8, D_D3DPOOL_SYSTEMMEM, &source, nullptr);
  source->LockRect(&locked, nullptr, 0);
  *static_cast<std::uint32_t*>(locked.pBits) = 0xFFFF0000u;
  source->UnlockRect();
  D_IDirect3DSurface9* level = nullptr;
  texture->GetSurfaceLevel(0, &level);
  POINT at{1, 1};
  ASSERT_EQ(device_->UpdateSurface(source, nullptr, level, &at), D_D3D_OK);
  POINT outside{2, 1};
  EXPECT_EQ(device_->UpdateSurface(source, nullptr, level, &outside), D_D3DERR_INVALIDCALL);

  device_->SetTexture(0, texture);
  DrawQuad(0, 0, 2, 2, 0xFFFFFFFFu);
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  EXPECT_EQ(pixels[0], 0xFF00FF00u);
  EXPECT_EQ(pixels[kWidth + 1], 0xFFFF0000u);
  device_->SetTexture(0, nullptr);
  level->Release();
  source->Release();
  texture->Release();
  staging->Release();
}

TEST_F(D3d9TextureTest, LockingPartOfATextureKeepsAnEarlierCopyIntoIt) {
  // The copy waits in memory to be uploaded; unlocking one row must not
  // leave the copy's other row behind.
  D_IDirect3DTexture9* staging = MakeGreenStaging(device_);
  ASSERT_NE(staging, nullptr);
  D_D3DLOCKED_RECT locked{};
  D_IDirect3DTexture9* texture =
      MakeTexture(2, 2, D_D3DFMT_A8R8G8B8, std::vector<std::uint32_t>(4, 0));
  ASSERT_EQ(device_->UpdateTexture(staging, texture), D_D3D_OK);
  RECT first_row{0, 0, 2, 1};
  ASSERT_EQ(texture->LockRect(0, &locked, &first_row, 0), D_D3D_OK);
  wqtest::FillLocked(locked, 1, 2, 0xFFFF0000u);
  ASSERT_EQ(texture->UnlockRect(0), D_D3D_OK);

  device_->SetTexture(0, texture);
  DrawQuad(0, 0, 2, 2, 0xFFFFFFFFu);
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  EXPECT_EQ(pixels[0], 0xFFFF0000u);
  EXPECT_EQ(pixels[kWidth], 0xFF00FF00u);
  EXPECT_EQ(pixels[kWidth + 1], 0xFF00FF00u);
  device_->SetTexture(0, nullptr);
  texture->Release();
  staging->Release();
}

TEST_F(D3d9TextureTest, TheBackBufferLocksInPlaceAndColorFillPaintsARectangle) {
  D_IDirect3DSurface9* back_buffer = nullptr;
  device_->GetBackBuffer(0, 0, D_D3DBACKBUFFER_TYPE_MONO, &back_buffer);
  ASSERT_EQ(device_->ColorFill(back_buffer, nullptr, 0xFF000080u), D_D3D_OK);
  RECT corner{0, 0, 3, 2};
  ASSERT_EQ(device_->ColorFill(back_buffer, &corner, 0xFFFFFF00u), D_D3D_OK);
  D_D3DLOCKED_RECT locked{};
  ASSERT_EQ(back_buffer->LockRect(&locked, nullptr, D_D3DLOCK_READONLY), D_D3D_OK);
  auto row = [&](int y) {
    return reinterpret_cast<const std::uint32_t*>(static_cast<std::uint8_t*>(locked.pBits) + y * locked.Pitch);
  };
  EXPECT_EQ(row(1)[2] & 0xFFFFFFu, 0xFFFF00u);
  EXPECT_EQ(row(2)[2] & 0xFFFFFFu, 0x000080u);
  EXPECT_EQ(row(1)[3] & 0xFFFFFFu, 0x000080u);
  back_buffer->UnlockRect();

  // Written through a lock, shown by the next present.
  ASSERT_EQ(back_buffer->LockRect(&locked, &corner, 0), D_D3D_OK);
  static_cast<std::uint32_t*>(locked.pBits)[0] = 0x00FF00FFu;
  back_buffer->UnlockRect();
  device_->Present(nullptr, nullptr, nullptr, nullptr);
  std::vector<std::uint32_t> window;
  int width = 0, height = 0;
  WqControlReadWindowPixels(window_, &window, &width, &height);
  EXPECT_EQ(window[0], 0xFF00FFu);
  EXPECT_EQ(window[1], 0xFFFF00u);
  back_buffer->Release();
}

TEST_F(D3d9TextureTest, TargetsMadeWithoutTheLockableFlagRefuseLocksButCanBeReadBack) {
  D_D3DLOCKED_RECT locked{};
  for (BOOL lockable : {FALSE, TRUE}) {
    D_IDirect3DSurface9* target = nullptr;
    ASSERT_EQ(device_->CreateRenderTarget(4, 4, D_D3DFMT_X8R8G8B8, D_D3DMULTISAMPLE_NONE, 0,
                                          lockable, &target, nullptr),
              D_D3D_OK);
    EXPECT_EQ(target->LockRect(&locked, nullptr, D_D3DLOCK_READONLY),
              lockable ? D_D3D_OK : D_D3DERR_INVALIDCALL);
    if (lockable) target->UnlockRect();
    ASSERT_EQ(device_->ColorFill(target, nullptr, 0xFF123456u), D_D3D_OK);
    EXPECT_EQ(ReadTarget(target)[0], 0xFF123456u);
    target->Release();
  }

  // The back buffer follows the presentation flag, through a reset too.
  D_D3DPRESENT_PARAMETERS parameters = Parameters();
  parameters.Flags = 0;
  ASSERT_EQ(device_->Reset(&parameters), D_D3D_OK);
  D_IDirect3DSurface9* back_buffer = nullptr;
  ASSERT_EQ(device_->GetBackBuffer(0, 0, D_D3DBACKBUFFER_TYPE_MONO, &back_buffer), D_D3D_OK);
  EXPECT_EQ(back_buffer->LockRect(&locked, nullptr, 0), D_D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->SetDialogBoxMode(TRUE), D_D3DERR_INVALIDCALL);
  back_buffer->Release();
  parameters.Flags = D_D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  ASSERT_EQ(device_->Reset(&parameters), D_D3D_OK);
  ASSERT_EQ(device_->GetBackBuffer(0, 0, D_D3DBACKBUFFER_TYPE_MONO, &back_buffer), D_D3D_OK);
  EXPECT_EQ(back_buffer->LockRect(&locked, nullptr, 0), D_D3D_OK);
  back_buffer->UnlockRect();
  back_buffer->Release();
}

TEST_F(D3d9TextureTest, SamplerStatesChooseAddressingAndFiltering) {
  D_IDirect3DTexture9* texture = MakeTexture(2, 1, D_D3DFMT_A8R8G8B8, {0xFF000000u, 0xFFFFFFFFu});
  device_->SetTexture(0, texture);
  wqtest::TexturedVertex quad[4] = {{-0.5f, -0.5f, 0.5f, 1.0f, 0xFFFFFFFFu, 0.0f, 0.0f},
                                    {7.5f, -0.5f, 0.5f, 1.0f, 0xFFFFFFFFu, 4.0f, 0.0f},
                                    {-0.5f, 0.5f, 0.5f, 1.0f, 0xFFFFFFFFu, 0.0f, 1.0f},
                                    {7.5f, 0.5f, 0.5f, 1.0f, 0xFFFFFFFFu, 4.0f, 1.0f}};
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]);  // wrap
  device_->SetSamplerState(0, D_D3DSAMP_ADDRESSU, D_D3DTADDRESS_CLAMP);
  for (auto& vertex : quad) vertex.y += 1.0f;
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]);
  device_->SetSamplerState(0, D_D3DSAMP_ADDRESSU, D_D3DTADDRESS_MIRROR);
  for (auto& vertex : quad) vertex.y += 1.0f;
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, quad, sizeof quad[0]);
  std::vector<std::uint32_t> pixels = ReadTarget(target_);
  const std::uint32_t wrap[8] = {0, 1, 0, 1, 0, 1, 0, 1}, clamp[8] = {0, 1, 1, 1, 1, 1, 1, 1},
                      mirror[8] = {0, 1, 1, 0, 0, 1, 1, 0};
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(pixels[x], wrap[x] ? 0xFFFFFFFFu : 0xFF000000u) << "wrap " << x;
    EXPECT_EQ(pixels[kWidth + x], clamp[x] ? 0xFFFFFFFFu : 0xFF000000u) << "clamp " << x;
    EXPECT_EQ(pixels[2 * kWidth + x], mirror[x] ? 0xFFFFFFFFu : 0xFF000000u) << "mirror " << x;
  }
  // Linear filtering between the two texels blends them.
  device_->SetSamplerState(0, D_D3DSAMP_ADDRESSU, D_D3DTADDRESS_CLAMP);
  device_->SetSamplerState(0, D_D3DSAMP_MAGFILTER, D_D3DTEXF_LINEAR);
  wqtest::TexturedVertex line[4] = {{-0.5f, 9.5f, 0.5f, 1.0f, 0xFFFFFFFFu, 0.5f, 0.0f},
                                    {0.5f, 9.5f, 0.5f, 1.0f, 0xFFFFFFFFu, 0.5f, 0.0f},
                                    {-0.5f, 10.5f, 0.5f, 1.0f, 0xFFFFFFFFu, 0.5f, 1.0f},
                                    {0.5f, 10.5f, 0.5f, 1.0f, 0xFFFFFFFFu, 0.5f, 1.0f}};
  device_->DrawPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 2, line, sizeof line[0]);
  EXPECT_TRUE(wqtest::ColorsNear(ReadTarget(target_)[10 * kWidth], 0xFF808080u, 2));
  device_->SetTexture(0, nullptr);
  texture->Release();
}

}  // namespace
