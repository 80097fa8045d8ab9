// The render target of the device, the end of a frame drawn into the sub
// back buffer, and the sampler and stage state a reset device needs again.
#include "graphics/cached_send.h"
#include "graphics/device_draw.h"
#include "graphics/graphics_start.h"
#include "graphics/graphics_state.h"
#include "graphics/present_screen.h"
#include "graphics/shader_pack.h"

int SetDeviceRenderTarget(D_IDirect3DSurface9* surface) {
  D_IDirect3DDevice9* device = Device();
  if (!device || !surface) return -1;
  DeviceStateCache& c = DeviceCache();
  if (surface == c.renderTarget && !DeviceStateResend) return 0;
  FlushVertexBatch();
  device->SetRenderTarget(0, surface);
  c.renderTarget = surface;
  D_D3DSURFACE_DESC desc{};
  surface->GetDesc(&desc);
  const D_D3DVIEWPORT9 viewport{0, 0, desc.Width, desc.Height, 0.0f, 1.0f};
  SetDeviceViewport(&viewport);
  return 0;
}

int EndSceneWithFlush() {
  GraphicsState& g = Graphics();
  if (!g.device || !g.subBackBuffer) return 0;
  FlushVertexBatch();
  EndDeviceScene();
  g.device->StretchRect(g.subBackBuffer, nullptr, g.backBuffer, nullptr, D_D3DTEXF_NONE);
  DeviceStateResend = 1;
  SetDeviceRenderTarget(g.subBackBuffer);
  DeviceStateResend = 0;
  return 0;
}

// Every stage starts writing its result to CURRENT. Only a device that
// reports TSSARGTEMP is sent D3DTSS_RESULTARG at all, since one without it
// may refuse it; the blend set-up moves a stage to TEMP only on such a
// device.
int ApplyDeviceSamplerState() {
  D_IDirect3DDevice9* device = Device();
  if (!device) return -1;
  DeviceStateCache& c = DeviceCache();
  FlushVertexBatch();
  constexpr int kStages = 4;
  constexpr int kCoordinateSet[kStages] = {0, 1, 1, 0};
  for (DWORD stage = 0; stage < kStages; ++stage) {
    device->SetSamplerState(stage, D_D3DSAMP_ADDRESSU, c.address[stage][0]);
    device->SetSamplerState(stage, D_D3DSAMP_ADDRESSV, c.address[stage][1]);
    device->SetTextureStageState(stage, D_D3DTSS_TEXCOORDINDEX, static_cast<DWORD>(kCoordinateSet[stage]));
    c.texCoordIndex[stage] = kCoordinateSet[stage];
    if (Graphics().textureStageTempUsable) {
      device->SetTextureStageState(stage, D_D3DTSS_RESULTARG, D_D3DTA_CURRENT);
      c.resultArg[stage] = D_D3DTA_CURRENT;
    }
  }
  device->SetRenderState(D_D3DRS_SHADEMODE, c.shadeMode);
  device->SetRenderState(D_D3DRS_LIGHTING, c.lighting ? TRUE : FALSE);
  device->SetRenderState(D_D3DRS_CULLMODE, D_D3DCULL_NONE);
  c.cullMode = 0;
  device->SetRenderState(D_D3DRS_DITHERENABLE, FALSE);
  SetDefaultShaderConstants();
  device->SetVertexShader(nullptr);
  device->SetPixelShader(nullptr);
  c.vertexShader = nullptr;
  c.pixelShader = nullptr;
  c.fvf = 0;
  c.shaderIndexPending = 1;
  return 0;
}
