// The depth buffer and the screen-sized extra render target.
#include "graphics/graphics_start.h"
#include "graphics/screen_mode.h"

namespace {

int RoundUpToPowerOfTwo(int value) {
  int power = 1;
  while (power < value) power *= 2;
  return power;
}

}  // namespace

int CreateZBuffer() {
  GraphicsState& g = Graphics();
  if (g.device == nullptr) return -1;
  ReleaseObject(&g.depthSurface);
  LogWrite("Ｚバッファを作成します.... ");
  g.depthWidth = RoundUpToPowerOfTwo(Screen().width);
  g.depthHeight = RoundUpToPowerOfTwo(Screen().height);
  if (FAILED(g.device->CreateDepthStencilSurface(static_cast<UINT>(g.depthWidth), static_cast<UINT>(g.depthHeight),
                                                 g.depthFormat, D_D3DMULTISAMPLE_NONE, 0, TRUE, &g.depthSurface,
                                                 nullptr))) {
    g.depthSurface = nullptr;
    return LogWrite("Ｚバッファの作成に失敗しました\n");
  }
  g.device->SetDepthStencilSurface(g.depthSurface);
  g.device->Clear(0, nullptr, D_D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  LogWrite("成功\n");
  return 0;
}

int CreateSubBackBuffer() {
  GraphicsState& g = Graphics();
  ReleaseObject(&g.subBackBuffer);
  if (g.device == nullptr || FAILED(g.device->CreateRenderTarget(
                                 static_cast<UINT>(Screen().width), static_cast<UINT>(Screen().height), g.screenFormat,
                                 D_D3DMULTISAMPLE_NONE, 0, FALSE, &g.subBackBuffer, nullptr))) {
    g.subBackBuffer = nullptr;
    return LogWrite("サブバックバッファの作成に失敗しました\n");
  }
  return 0;
}
