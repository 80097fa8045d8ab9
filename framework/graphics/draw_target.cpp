// Choosing the draw target. Graph targets arrive with graph handles; until
// then only the screen ids name a target, and every other value is refused
// whole (kind, slot and check value are never trusted on their own).
#include "graphics/draw_target.h"

#include "core/window/message_pump.h"
#include "core/window/window_system_state.h"
#include "graphics/camera_lights.h"
#include "graphics/device_draw.h"
#include "graphics/device_state_cache.h"
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

void SelectDeviceScreen() {
  GraphicsState& g = Graphics();
  FlushVertexBatch();
  EndScene();
  DeviceStateCache& cache = DeviceCache();
  if (cache.renderTargetChanged || DeviceStateResend) {
    FlushVertexBatch();
    cache.blendStateDirty = 1;
    cache.textureChanged = 1;
  }
  g.device->SetDepthStencilSurface(g.depthSurface);
  cache.renderTargetChanged = 0;
  SetDeviceRenderTarget(g.subBackBuffer ? g.subBackBuffer : g.backBuffer);
}

}  // namespace

int SelectDrawTarget(int target) {
  if (!Graphics().started) return -1;
  if (!IsWindowActive()) WaitWhileInactive();
  if (!IsScreenId(target)) return -1;

  if (HardwareRendererInUse())
    SelectDeviceScreen();
  else
    DrawTargetMemImg = GetScreenMemImg();

  g_drawTarget = target;
  if (target == kFrontScreen)
    SetTimer(GetMainWindow(), kFrontScreenTimerId, kFrontScreenTimerMs, FrontScreenFlipTimerProc);

  int width = 0, height = 0;
  GetScreenSize(&width, &height);
  const bool sameSize = DrawTargetSize[0] == width && DrawTargetSize[1] == height;
  DrawTargetSize[0] = width;
  DrawTargetSize[1] = height;
  if (!sameSize) SetDrawArea(0, 0, width, height);
  ResetCameraForTarget(width, height);
  return 0;
}

int GetDrawTarget() { return g_drawTarget; }

int GetDrawArea(RECT* area) {
  *area = DrawArea;
  return 0;
}
