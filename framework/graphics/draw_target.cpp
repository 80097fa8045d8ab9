// Choosing the draw target: a screen id or a drawable graph. A graph handle
// is refused whole unless it names a live graph (kind, slot and check
// value are never trusted on their own).
#include "graphics/draw_target.h"

#include "core/window/message_pump.h"
#include "core/window/window_system_state.h"
#include "graphics/camera_lights.h"
#include "graphics/device_draw.h"
#include "graphics/device_state_cache.h"
#include "graphics/graph_record.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/screen_memimg.h"
#include "graphics/screen_mode.h"
#include "graphics/vertex_batch.h"

namespace {

int g_drawTarget = kBackScreen;

void EndScene() {
  GraphicsState& g = Graphics();
  if (g.device && g.inScene) {
    g.device->EndScene();
    g.inScene = 0;
  }
}

// Makes the graph's render surface, or the screen's back buffer, the
// device's render target.
void SelectDeviceTarget(const GraphRecord* graph) {
  GraphicsState& g = Graphics();
  FlushVertexBatch();
  EndScene();
  DeviceStateCache& cache = DeviceCache();
  if (cache.renderTargetChanged || DeviceStateResend) {
    FlushVertexBatch();
    cache.blendStateDirty = 1;
    cache.textureChanged = 1;
  }
  // The depth buffer is screen-sized: a larger graph draws without it.
  const bool depth = graph == nullptr || (graph->width <= Screen().width && graph->height <= Screen().height);
  g.device->SetDepthStencilSurface(depth ? g.depthSurface : nullptr);
  cache.renderTargetChanged = 0;
  if (graph != nullptr)
    SetDeviceRenderTarget(graph->image->entries[0].surface);
  else
    SetDeviceRenderTarget(g.subBackBuffer ? g.subBackBuffer : g.backBuffer);
}

}  // namespace

int SelectDrawTarget(int target) {
  if (!Graphics().started) return -1;
  if (!IsWindowActive()) WaitWhileInactive();
  GraphRecord* graph = IsScreenId(target) ? nullptr : FindGraphRecord(target);
  if (graph == nullptr && !IsScreenId(target)) return -1;
  if (graph != nullptr && !graph->image->drawable) return -1;

  if (HardwareRendererInUse())
    SelectDeviceTarget(graph);
  else
    DrawTargetMemImg = graph != nullptr ? &graph->view : GetScreenMemImg();

  g_drawTarget = target;
  if (target == kFrontScreen)
    SetTimer(GetMainWindow(), kFrontScreenTimerId, kFrontScreenTimerMs, FrontScreenFlipTimerProc);

  int width = 0, height = 0;
  if (graph != nullptr) {
    width = graph->width;
    height = graph->height;
  } else {
    GetScreenSize(&width, &height);
  }
  const bool sameSize = DrawTargetSize[0] == width && DrawTargetSize[1] == height;
  DrawTargetSize[0] = width;
  DrawTargetSize[1] = height;
  if (!sameSize) SetDrawArea(0, 0, width, height);
  ResetCameraForTarget(width, height);
  return 0;
}

int GetDrawTarget() { return g_drawTarget; }

D_IDirect3DSurface9* DrawTargetSurface(D_D3DFORMAT* format) {
  GraphicsState& g = Graphics();
  if (const GraphRecord* graph = FindGraphRecord(g_drawTarget)) {
    *format = g.textureFormats[graph->image->formatIndex];
    return graph->image->entries[0].surface;
  }
  *format = g.screenFormat;
  return g.subBackBuffer ? g.subBackBuffer : g.backBuffer;
}

int GetDrawArea(RECT* area) {
  *area = DrawArea;
  return 0;
}
