// Clearing the draw target to the window's background colour, ignoring the
// draw area, blend mode and brightness.
#include "WqLib.h"
#include "graphics/color_values.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_state.h"
#include "graphics/present_screen.h"
#include "graphics/render_state.h"
#include "graphics/screen_memimg.h"
#include "graphics/screen_mode.h"
#include "graphics/vertex_batch.h"

namespace {

void ClearDevice(const RECT* rect) {
  GraphicsState& g = Graphics();
  FlushVertexBatch();
  EndDeviceScene();
  SetViewportRect(0, 0, DrawTargetSize[0], DrawTargetSize[1]);
  D_D3DRECT area{};
  if (rect) area = D_D3DRECT{rect->left, rect->top, rect->right, rect->bottom};
  const DWORD count = rect ? 1 : 0;
  const D_D3DRECT* rects = rect ? &area : nullptr;
  g.device->Clear(count, rects, D_D3DCLEAR_TARGET, GetScreenBackgroundColor(), 1.0f, 0);
  if (g.depthSurface) g.device->Clear(count, rects, D_D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  SetViewportRect(DrawArea.left, DrawArea.top, DrawArea.right, DrawArea.bottom);
}

}  // namespace

int ClearDrawTarget(const int* rect) {
  RECT area{};
  const RECT* clear = nullptr;
  if (rect && rect[0] >= 0 && rect[1] >= 0) {
    area = RECT{rect[0], rect[1], rect[2], rect[3]};
    clear = &area;
  }
  if (HardwareRendererInUse()) {
    if (Device() && !Graphics().deviceLost) ClearDevice(clear);
    return 0;
  }
  MEMIMG* target = DrawTargetMemImg ? DrawTargetMemImg : GetScreenMemImg();
  if (target) FillMemImgRect(target, clear, EncodeBackgroundColor(target->data->colorFormat));
  return 0;
}
