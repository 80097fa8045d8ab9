// A shown window with a Direct3D 9 device on it, and helpers to draw
// pre-transformed quads and read pixels back, for the device's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/d3d9.h"
#include "window_test_support.h"

namespace wqtest {

// The vertex of FVF 0x144 (XYZRHW | DIFFUSE | TEX1).
struct TexturedVertex {
  float x, y, z, rhw;
  D_D3DCOLOR diffuse;
  float u, v;
};
inline constexpr DWORD kTexturedFvf = D_D3DFVF_XYZRHW | D_D3DFVF_DIFFUSE | D_D3DFVF_TEX1;

class D3d9DeviceTest : public testing::Test {
 protected:
  static constexpr int kWidth = 64;
  static constexpr int kHeight = 48;

  void SetUp() override;
  void TearDown() override;

  // Present parameters for the window: windowed, X8R8G8B8, copy swap,
  // lockable, no waiting.
  D_D3DPRESENT_PARAMETERS Parameters() const;

  // A w x h quad covering pixels [x, x + w) x [y, y + h), one colour,
  // texture coordinates 0..1, at depth z, drawn as a triangle strip.
  void DrawQuad(int x, int y, int w, int h, D_D3DCOLOR color, float z = 0.5f);
  // The render target's pixels as 0xAARRGGBB, through GetRenderTargetData.
  std::vector<std::uint32_t> ReadTarget(D_IDirect3DSurface9* target = nullptr);
  std::uint32_t PixelAt(int x, int y) { return ReadTarget()[y * kWidth + x]; }
  // A texture (managed pool) of 0xAARRGGBB texels in the given format.
  D_IDirect3DTexture9* MakeTexture(int width, int height, D_D3DFORMAT format,
                                   const std::vector<std::uint32_t>& argb_texels);

  RecordingWindowClass window_class_;
  HWND window_ = nullptr;
  D_IDirect3D9* direct3d_ = nullptr;
  D_IDirect3DDevice9* device_ = nullptr;
};

// The same, drawing into an A8R8G8B8 render target (cleared to 0) so that
// alpha can be read back.
class D3d9AlphaTargetTest : public D3d9DeviceTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  D_IDirect3DSurface9* target_ = nullptr;
};

// Fills `rows` x `columns` 32-bit pixels of a locked rectangle with `value`.
void FillLocked(const D_D3DLOCKED_RECT& locked, int rows, int columns, std::uint32_t value);

// Whether two 0xAARRGGBB colours differ by at most `tolerance` per channel.
bool ColorsNear(std::uint32_t a, std::uint32_t b, int tolerance);

}  // namespace wqtest
