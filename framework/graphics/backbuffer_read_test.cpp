// Times two ways of reading the back buffer at start-up (locking it, or
// copying it through a temporary render target into system memory) so
// that screen reads later take the faster one.
#include <cstring>

#include "graphics/graphics_start.h"
#include "graphics/screen_mode.h"

namespace {

constexpr int kRounds = 3;

// Copies `side` rows of `side` pixels out of a locked surface.
int CopyRows(D_IDirect3DSurface9* surface, DWORD flags, int side, int bytesPerPixel, std::uint8_t* work) {
  D_D3DLOCKED_RECT locked{};
  if (FAILED(surface->LockRect(&locked, nullptr, flags))) return -1;
  const auto* source = static_cast<const std::uint8_t*>(locked.pBits);
  const std::size_t rowBytes = static_cast<std::size_t>(side) * bytesPerPixel;
  for (int y = 0; y < side; ++y)
    std::memcpy(work + y * rowBytes, source + static_cast<std::ptrdiff_t>(y) * locked.Pitch, rowBytes);
  surface->UnlockRect();
  return 0;
}

// One round; the two times in microseconds, or -1 when a step failed.
int TimeOneRound(int side, std::int64_t* directUs, std::int64_t* copiedUs) {
  GraphicsState& g = Graphics();
  const ColorFormat* format = GetColorFormatDesc(g.screenFormat);
  if (format == nullptr) return -1;
  D_IDirect3DSurface9* work = nullptr;
  if (FAILED(g.device->CreateOffscreenPlainSurface(side, side, g.screenFormat, D_D3DPOOL_SYSTEMMEM, &work, nullptr)))
    return -1;
  D_D3DLOCKED_RECT workBits{};
  int result = -1;
  D_IDirect3DSurface9* target = nullptr;
  D_IDirect3DSurface9* systemCopy = nullptr;
  if (SUCCEEDED(work->LockRect(&workBits, nullptr, 0))) {
    auto* pixels = static_cast<std::uint8_t*>(workBits.pBits);
    std::int64_t start = GetTimeUs(0);
    if (CopyRows(g.backBuffer, 0, side, format->bytesPerPixel, pixels) == 0) {
      *directUs = GetTimeUs(0) - start;
      start = GetTimeUs(0);
      const RECT square{0, 0, side, side};
      if (SUCCEEDED(g.device->CreateRenderTarget(side, side, g.screenFormat, D_D3DMULTISAMPLE_NONE, 0, FALSE, &target,
                                                 nullptr)) &&
          SUCCEEDED(g.device->CreateOffscreenPlainSurface(side, side, g.screenFormat, D_D3DPOOL_SYSTEMMEM, &systemCopy,
                                                          nullptr)) &&
          SUCCEEDED(g.device->StretchRect(g.backBuffer, &square, target, nullptr, D_D3DTEXF_NONE)) &&
          SUCCEEDED(g.device->GetRenderTargetData(target, systemCopy)) &&
          CopyRows(systemCopy, D_D3DLOCK_READONLY, side, format->bytesPerPixel, pixels) == 0) {
        *copiedUs = GetTimeUs(0) - start;
        result = 0;
      }
    }
    work->UnlockRect();
  }
  if (target) target->Release();
  if (systemCopy) systemCopy->Release();
  work->Release();
  return result;
}

}  // namespace

void RunBackBufferReadTest() {
  GraphicsState& g = Graphics();
  int side = 256;
  while (side > 1 && (side > Screen().width || side > Screen().height)) side /= 2;
  std::int64_t directUs = 0;
  std::int64_t copiedUs = 0;
  for (int round = 0; round < kRounds; ++round) {
    if (TimeOneRound(side, &directUs, &copiedUs) != 0) {
      LogWrite("バックバッファロックはロックできません\n");
      return;
    }
  }
  LogWriteFormat("バックバッファロック転送の時間:%dnsec  一時的な描画可能バッファを使用した転送の時間:%dnsec",
                 static_cast<int>(directUs), static_cast<int>(copiedUs));
  g.useBackBufferLock = directUs < copiedUs ? 1 : 0;
  LogWrite(g.useBackBufferLock ? "バックバッファロックを使用します\n" : "バックバッファロックを使用しません\n");
}
