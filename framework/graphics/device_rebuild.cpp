// Rebuilding the renderer after the device is lost. Handles, the screen
// mode, the draw target and the render state survive; the device and what
// lives in it are made anew. When Direct3D does not come back, the
// software screen takes over, so the program always has a screen that
// draws.
#include "graphics/device_rebuild.h"

#include "WqLib.h"
#include "core/window/input_devices.h"
#include "graphics/camera_lights.h"
#include "graphics/device_draw.h"
#include "graphics/device_lights.h"
#include "graphics/device_state_cache.h"
#include "graphics/draw_target.h"
#include "graphics/graph_restore.h"
#include "graphics/graphics_start.h"
#include "graphics/model_runtime.h"
#include "graphics/present_screen.h"
#include "graphics/render_state.h"
#include "graphics/screen_memimg.h"
#include "graphics/screen_mode.h"
#include "graphics/shader_pack.h"
#include "graphics/vertex_batch.h"
#include "text/font_system.h"
#include "text/mask_screen.h"

namespace {

void (*g_restoreCallback)();
int g_restoreCallbackSet;

struct SavedMatrices {
  Matrix4 view;
  Matrix4 projection;
  Matrix4 viewport;
  int cameraMode;
};

void ClearAndPresentTwice() {
  for (int i = 0; i < 2; ++i) {
    ClearDrawTarget(nullptr);
    FlipScreenCore(nullptr);
  }
}

void ReviveDevice(bool lost) {
  const CameraState& camera = Camera();
  const SavedMatrices saved{camera.view, camera.projection, camera.viewport, camera.mode};
  ReleaseScreenMemImgs();
  InitVertexBatchArrays();
  RecreateDeviceObjects();
  RestoreMaskScreen();
  SelectDrawTarget(GetDrawTarget());
  ApplyDrawTargetState();
  ClearAndPresentTwice();
  RestoreKeptGraphPictures();
  if (lost) {
    CallRestoreGraphCallback();
  } else {
    RestoreGraphsFromFiles();
    RestoreModelSystemGraphs();
    RebuildAllFonts();
  }
  ReapplyDeviceState();
  RefreshAllModelBaseVertexBuffers();
  MarkAllLightsChanged();
  if (!lost) return;
  const RECT request = DrawAreaRequest;
  SetDrawArea(request.left, request.top, request.right, request.bottom);
  SetDeviceWorldMatrix(reinterpret_cast<const D_D3DMATRIX*>(GetWorldMatrix()));
  SetViewMatrix(&saved.view.m[0][0]);
  if (saved.cameraMode == kCameraUserMatrix) SetCameraProjectionMatrix(&saved.projection);
  Camera().viewport = saved.viewport;
  SendProjectionToDevice();
}

// The graphs move into memory and come back from their files and kept
// pictures, as they would on the device.
void FallBackToSoftwareScreen() {
  if (GetScreenMemImg() == nullptr) CreateScreenMemImg();
  MoveGraphImagesToMemory();
  SelectDrawTarget(GetDrawTarget());
  const RECT request = DrawAreaRequest;
  SetDrawArea(request.left, request.top, request.right, request.bottom);
  ClearAndPresentTwice();
  RestoreKeptGraphPictures();
  RestoreGraphsFromFiles();
  RebuildAllFonts();
}

}  // namespace

int RebuildGraphics(int width, int height, int colorBits, int refreshRate, int newMode) {
  // Restarting input processes window messages, whose paint may present:
  // that present must not start a second rebuild inside this one.
  static int rebuilding;
  if (!Graphics().started || rebuilding) return 0;
  rebuilding = 1;
  Graphics().deviceLost = 0;
  FlushVertexBatch();
  if (HardwareRendererInUse()) {
    ReleaseMaskScreen();
    ReleaseAllGraphTextures();
    ReleaseAllModelDeviceBuffers();
  }
  ReleaseFontCacheGraphs();
  ReleaseDirect3D9();
  if (newMode) {
    ScreenSettings& screen = Screen();
    screen.width = width;
    screen.height = height;
    screen.colorBits = colorBits;
    screen.refreshRate = refreshRate;
  } else {
    EndInput();
    StartInput();
  }
  StartDirect3D9();
  if (HardwareRendererInUse())
    ReviveDevice(!newMode);
  else
    FallBackToSoftwareScreen();
  rebuilding = 0;
  return 0;
}

int RebuildGraphicsKeepMode() {
  const ScreenSettings& screen = Screen();
  return RebuildGraphics(screen.width, screen.height, screen.colorBits, screen.refreshRate, 0);
}

int SetRestoreGraphCallback(void (*callback)()) {
  g_restoreCallback = callback ? callback : RestoreGraphsFromFiles;
  g_restoreCallbackSet = 1;
  return 0;
}

int IsRestoreGraphCallbackSet() { return g_restoreCallbackSet; }

int CallRestoreGraphCallback() {
  if (g_restoreCallback)
    g_restoreCallback();
  else
    RestoreGraphsFromFiles();
  RestoreModelSystemGraphs();
  RebuildAllFonts();
  return 0;
}

int ApplyDrawTargetState() {
  D_IDirect3DDevice9* device = Device();
  if (!device) return -1;
  DeviceStateCache& c = DeviceCache();
  device->SetRenderState(D_D3DRS_DITHERENABLE, FALSE);
  DeviceStateResend = 1;
  c.renderTargetChanged = 0;
  Batch().count = 0;
  SetDeviceTextureFilter(static_cast<int>(DrawMode));
  SetDeviceCullMode(c.cullMode);
  SetDeviceShadeMode(static_cast<int>(c.shadeMode));
  for (int stage = 0; stage < kTextureStages; ++stage)
    for (int coordinate = 0; coordinate < 3; ++coordinate)
      device->SetSamplerState(stage, static_cast<D_D3DSAMPLERSTATETYPE>(D_D3DSAMP_ADDRESSU + coordinate),
                              c.address[stage][coordinate]);
  SetDeviceFogMode(c.fogMode);
  SetDeviceFogStartEnd(c.fogStart, c.fogEnd);
  SetDeviceFogDensity(c.fogDensity);
  SetDeviceZEnable(c.zEnable);
  SetDeviceZWriteEnable(static_cast<int>(c.zWrite));
  SetDeviceZFunc(static_cast<int>(c.zFunc));
  SetDeviceDepthBias(static_cast<int>(c.depthBias));
  SetDeviceFillMode(static_cast<int>(c.fillMode));
  SetDeviceWorldMatrix(reinterpret_cast<const D_D3DMATRIX*>(GetWorldMatrix()));
  UpdateViewDerivedData();
  SetDeviceTransform(&Camera().view);
  SendProjectionToDevice();
  SendMaterialToDevice();
  SetDeviceDiffuseMaterialSource(c.diffuseMaterialSource != 0);
  SetDeviceSpecularMaterialSource(c.specularMaterialSource > 0);
  SetDeviceAmbientColor(GetDeviceAmbientColor());
  SetLightingEnable(c.lighting);
  RefreshLights();
  SetViewportRect(DrawArea.left, DrawArea.top, DrawArea.right, DrawArea.bottom);
  SetDeviceScissorRect(&DrawArea);
  ResetTexCoordIndexes();
  ReapplyDeviceState();
  DeviceStateResend = 0;
  return 0;
}

void ReapplyDeviceState() {
  if (!Device()) return;
  DeviceStateCache& c = DeviceCache();
  DeviceStateResend = 1;
  const D_D3DVIEWPORT9 viewport = c.viewport;
  SetDeviceViewport(&viewport);
  const RECT scissor = c.scissor;
  SetDeviceScissorRect(&scissor);
  ApplyDeviceSamplerState();
  SetDeviceTextureFilter(c.filterKind == kFilterUnset ? static_cast<int>(DrawMode) : c.filterKind);
  c.blendStateDirty = 1;
  SetupDeviceBlendState(1, 0, nullptr);
  SetDeviceZEnable(c.zEnable);
  SetDeviceZWriteEnable(static_cast<int>(c.zWrite));
  SetDeviceZFunc(static_cast<int>(c.zFunc));
  SetDeviceDepthBias(static_cast<int>(c.depthBias));
  SetDeviceFillMode(static_cast<int>(c.fillMode));
  SetDeviceCullMode(c.cullMode);
  SetDeviceShadeMode(static_cast<int>(c.shadeMode));
  SendMaterialToDevice();
  Device()->SetRenderState(D_D3DRS_SPECULARENABLE, c.specularEnable);
  SetDeviceDiffuseMaterialSource(c.diffuseMaterialSource != 0);
  SetDeviceSpecularMaterialSource(c.specularMaterialSource > 0);
  DeviceStateResend = 0;
}
