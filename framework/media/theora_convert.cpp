// The current Theora frame into the targets a graph takes it from: the
// context's 32-bit RGB image, and the YUV surface that Direct3D stretches
// onto a texture when the device makes one. Each target is converted once
// per frame.
#include <cstring>

#include "graphics/graphics_state.h"
#include "media/theora_context.h"

namespace {

struct SurfaceFormat {
  char name[4];
  D_D3DFORMAT format;
  YuvSurfaceLayout layout;
};

constexpr SurfaceFormat kSurfaceFormats[] = {
    {{'Y', 'V', '1', '2'}, D_D3DFMT_YV12, YuvSurfaceLayout::kYv12},
    {{'Y', 'U', 'Y', '2'}, D_D3DFMT_YUY2, YuvSurfaceLayout::kYuy2},
    {{'U', 'Y', 'V', 'Y'}, D_D3DFMT_UYVY, YuvSurfaceLayout::kUyvy},
};

// The stocked picture of the current frame, once the thread has it; null
// when it cannot come (the thread ended, or the file ended first).
const TheoraStockEntry* WaitForCurrentFrame(TheoraContext* c) {
  for (;;) {
    // A seek asked for but not yet taken up still shows the old stock.
    if (c->seekRequest || c->threadState == kTheoraSeeking) {
      Sleep(1);
      continue;
    }
    if (c->threadState == kTheoraEnded) return nullptr;
    const int current = c->currentFrame;
    for (int i = 0; i < c->stockSize; ++i)
      if (c->stock[i].used && c->stock[i].frame == current) return &c->stock[i];
    if (c->endOfData) return nullptr;
    Sleep(0);
  }
}

// Locks the surface, making it again after a failed lock, three tries.
bool LockSurface(TheoraContext* c, D_D3DLOCKED_RECT* locked) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (c->surface != nullptr && c->surface->LockRect(locked, nullptr, 0) == 0) return true;
    CreateTheoraYV12Surface(c);
  }
  return false;
}

void ConvertToSurface(TheoraContext* c, const YuvPlanes& planes) {
  D_D3DLOCKED_RECT locked{};
  if (!LockSurface(c, &locked)) return;
  if (IsYuv420(planes)) {
    for (const SurfaceFormat& format : kSurfaceFormats)
      if (std::memcmp(format.name, c->surfaceFormat, 4) == 0)
        WriteYuvSurface(planes, format.layout, static_cast<std::uint8_t*>(locked.pBits), locked.Pitch);
  }
  c->surface->UnlockRect();
  c->surfaceConverted = 1;
}

}  // namespace

void CreateTheoraYV12Surface(TheoraContext* c) {
  if (c->surface != nullptr) c->surface->Release();
  c->surface = nullptr;
  if (!HardwareRendererInUse() || Device() == nullptr) return;
  for (const SurfaceFormat& format : kSurfaceFormats) {
    std::memcpy(c->surfaceFormat, format.name, 4);
    if (Device()->CreateOffscreenPlainSurface(c->info.width, c->info.height, format.format, D_D3DPOOL_DEFAULT,
                                              &c->surface, nullptr) == 0)
      return;
    c->surface = nullptr;
  }
  std::memset(c->surfaceFormat, 0, 4);
}

int ConvertTheoraFrame(TheoraContext* c, int toImage, int toSurface) {
  const bool surfaceWanted = toSurface && !c->surfaceConverted && c->surface != nullptr;
  const bool imageWanted = toImage && !c->imageConverted;
  if (!surfaceWanted && !imageWanted) return 0;
  const TheoraStockEntry* entry = WaitForCurrentFrame(c);
  if (entry == nullptr) return 0;
  if (surfaceWanted) ConvertToSurface(c, entry->planes);
  if (!imageWanted) return 1;
  ConvertYuvToXrgb(entry->planes, &c->frameImage);
  c->imageConverted = 1;
  return 1;
}

BaseImage* GetTheoraFrameImage(TheoraContext* c) { return &c->frameImage; }

D_IDirect3DSurface9* GetTheoraYV12Surface(const TheoraContext* c) { return c->surface; }
