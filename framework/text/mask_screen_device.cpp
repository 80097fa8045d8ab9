// The mask screen on the Direct3D device. The restore is one quad over the
// rectangle: stage 0 takes the colour of the saved copy, stage 1 the mask
// byte as alpha, and the alpha test lets through only the pixels the mask
// blocks, so the draw stays everywhere else.
#include "text/mask_screen_device.h"

#include <cstring>

#include "core/startup/library_startup.h"
#include "graphics/device_draw.h"
#include "graphics/device_quad_batch.h"
#include "graphics/draw_target.h"
#include "graphics/graphics_state.h"
#include "graphics/present_screen.h"
#include "graphics/screen_mode.h"
#include "graphics/texture_formats.h"
#include "graphics/vertex_batch.h"

namespace {

constexpr int kTexturedBatchFormat = 1;

struct DeviceMaskObjects {
  D_IDirect3DTexture9* imageTexture;   // the mask bytes, as alpha
  D_IDirect3DTexture9* screenTexture;  // the saved copy of the draw target
  D_IDirect3DSurface9* screenSurface;
  const ColorFormat* imageLayout;
  int textureWidth, textureHeight;
};

DeviceMaskObjects g_device;

int NextPowerOfTwo(int value) {
  int side = 1;
  while (side < value) side *= 2;
  return side;
}

// Writes the mask bytes of the rectangle into the image texture's alpha.
void UploadMaskAlpha(const RECT& rect, const std::uint8_t* mask, int maskPitch) {
  const ColorFormat& layout = *g_device.imageLayout;
  D_D3DLOCKED_RECT locked{};
  if (g_device.imageTexture->LockRect(0, &locked, &rect, 0) < 0) return;
  const int bytes = layout.bytesPerPixel;
  for (int y = rect.top; y < rect.bottom; ++y) {
    const std::uint8_t* in = mask + static_cast<std::ptrdiff_t>(y) * maskPitch;
    auto* out = static_cast<std::uint8_t*>(locked.pBits) + static_cast<std::ptrdiff_t>(y - rect.top) * locked.Pitch;
    for (int x = rect.left; x < rect.right; ++x, out += bytes) {
      const std::uint32_t alpha = static_cast<std::uint32_t>(in[x]) >> (8 - layout.alphaWidth) << layout.alphaShift;
      std::memcpy(out, &alpha, static_cast<std::size_t>(bytes));
    }
  }
  g_device.imageTexture->UnlockRect(0);
}

DrawStateBlock RestoreBlock(int reverse) {
  DrawStateBlock block{};
  const DWORD alphaFunc = reverse ? D_D3DCMP_NOTEQUAL : D_D3DCMP_EQUAL;
  const std::uint32_t render[8] = {alphaFunc, 0, TRUE, FALSE, 0xFFFFFFFFu, kLeaveState, kLeaveState, kLeaveState};
  std::memcpy(block.blendRender, render, sizeof(render));
  block.stageCount = 3;
  block.stages[0] = {reinterpret_cast<std::uintptr_t>(g_device.screenTexture),
                     {0, 0, D_D3DTA_TEXTURE, D_D3DTA_DIFFUSE, D_D3DTOP_SELECTARG1, D_D3DTA_TEXTURE,
                      D_D3DTA_DIFFUSE, D_D3DTOP_SELECTARG1}};
  block.stages[1] = {reinterpret_cast<std::uintptr_t>(g_device.imageTexture),
                     {0, 0, D_D3DTA_TEXTURE, D_D3DTA_CURRENT, D_D3DTOP_SELECTARG1, D_D3DTA_CURRENT,
                      D_D3DTA_TEXTURE, D_D3DTOP_SELECTARG1}};
  block.stages[2] = {0, {-1, -1, kLeaveOp, kLeaveOp, D_D3DTOP_DISABLE, kLeaveOp, kLeaveOp, D_D3DTOP_DISABLE}};
  return block;
}

}  // namespace

void CreateDeviceMaskObjects(int width, int height) {
  D_IDirect3DDevice9* device = Device();
  const GraphicsState& g = Graphics();
  const D_D3DFORMAT colorFormat = g.textureFormats[Screen().colorBits == 16 ? kTexFormatTarget16 : kTexFormatTarget32];
  const D_D3DFORMAT alphaFormat = g.textureFormats[kTexFormatAlpha32];
  if (colorFormat == D_D3DFMT_UNKNOWN)
    FatalErrorFormat("マスク描画用カラーバッファで使用できるテクスチャフォーマットがありませんでした\n");
  if (alphaFormat == D_D3DFMT_UNKNOWN)
    FatalErrorFormat("マスク描画用アルファチャンネルバッファで使用できるテクスチャフォーマットがありませんでした\n");
  g_device.imageLayout = GetColorFormatDesc(alphaFormat);
  g_device.textureWidth = NextPowerOfTwo(width);
  g_device.textureHeight = NextPowerOfTwo(height);
  if (g_device.imageTexture == nullptr) {
    if (device->CreateTexture(g_device.textureWidth, g_device.textureHeight, 1, D_D3DUSAGE_DYNAMIC, alphaFormat,
                              D_D3DPOOL_DEFAULT, &g_device.imageTexture, nullptr) < 0)
      FatalErrorFormat("マスク用イメージテクスチャの作成に失敗しました\n");
    D_D3DLOCKED_RECT locked{};
    if (g_device.imageTexture->LockRect(0, &locked, nullptr, 0) >= 0) {
      const std::size_t rowBytes = static_cast<std::size_t>(width) * g_device.imageLayout->bytesPerPixel;
      for (int y = 0; y < height; ++y)
        std::memset(static_cast<std::uint8_t*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch, 0,
                    rowBytes);
      g_device.imageTexture->UnlockRect(0);
    }
  }
  if (g_device.screenTexture == nullptr) {
    if (device->CreateTexture(g_device.textureWidth, g_device.textureHeight, 1, D_D3DUSAGE_RENDERTARGET,
                              colorFormat, D_D3DPOOL_DEFAULT, &g_device.screenTexture, nullptr) < 0)
      FatalErrorFormat("マスク用スクリーンテクスチャの作成に失敗しました\n");
    g_device.screenTexture->GetSurfaceLevel(0, &g_device.screenSurface);
  }
}

void ReleaseDeviceMaskObjects() {
  ReleaseObject(&g_device.screenSurface);
  ReleaseObject(&g_device.screenTexture);
  ReleaseObject(&g_device.imageTexture);
}

void SaveDeviceMaskRect(const RECT& rect) {
  D_D3DFORMAT format{};
  D_IDirect3DSurface9* target = DrawTargetSurface(&format);
  if (target == nullptr || g_device.screenSurface == nullptr) return;
  FlushVertexBatch();
  Device()->StretchRect(target, &rect, g_device.screenSurface, &rect, D_D3DTEXF_NONE);
}

void RestoreDeviceMaskRect(const RECT& rect, const std::uint8_t* mask, int maskPitch, int reverse) {
  if (g_device.screenTexture == nullptr || g_device.imageTexture == nullptr || g_device.imageLayout == nullptr)
    return;
  FlushVertexBatch();
  UploadMaskAlpha(rect, mask, maskPitch);
  BeginDeviceScene();
  const DrawStateBlock block = RestoreBlock(reverse);
  ApplyDrawStateFromBlock(&block, 0);
  SelectBatchFormat(kTexturedBatchFormat);
  // Vertices at pixel edges (minus a half pixel) put every pixel's centre
  // on its own texel's centre.
  const float left = static_cast<float>(rect.left), top = static_cast<float>(rect.top);
  const float right = static_cast<float>(rect.right), bottom = static_cast<float>(rect.bottom);
  const float tw = static_cast<float>(g_device.textureWidth), th = static_cast<float>(g_device.textureHeight);
  QuadCorner corners[4] = {{left - 0.5f, top - 0.5f, left / tw, top / th, 0, 0},
                           {right - 0.5f, top - 0.5f, right / tw, top / th, 0, 0},
                           {left - 0.5f, bottom - 0.5f, left / tw, bottom / th, 0, 0},
                           {right - 0.5f, bottom - 0.5f, right / tw, bottom / th, 0, 0}};
  AppendBatchQuad(corners, 0xFFFFFFFFu);
  FlushVertexBatch();
}
