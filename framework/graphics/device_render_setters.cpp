// Cached setters of render states: lighting, Z, fill, cull, shading,
// material sources and fog.
#include "graphics/cached_send.h"
#include "graphics/graphics_state.h"
#include "graphics/shader_pack.h"

namespace {

DeviceStateCache& Cache() { return DeviceCache(); }

int SendState(DWORD* copy, DWORD value, D_D3DRENDERSTATETYPE state) {
  return SendCached(copy, value, [&] { return Device()->SetRenderState(state, value); });
}

int SendFlag(int* copy, int flag, D_D3DRENDERSTATETYPE state, DWORD value) {
  return SendCached(copy, flag, [&] { return Device()->SetRenderState(state, value); });
}

DWORD FloatBits(float value) {
  DWORD bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return bits;
}

// Vertex register 10: what the shaders need to compute fog.
void SendFogConstants() {
  DeviceStateCache& c = Cache();
  const float range = c.fogEnd - c.fogStart;
  const float constants[4] = {c.fogEnd / range, -1.0f / range, c.fogDensity, 2.7182817f};
  SetVertexShaderConstants(10, 1, constants);
}

}  // namespace

int SetLightingEnable(int enable) {
  if (!Device()) return 0;
  if (!DeviceStateResend && Cache().lighting == enable) return 0;
  Cache().lighting = enable;
  ComputeShaderIndex();
  return FAILED(Device()->SetRenderState(D_D3DRS_LIGHTING, enable ? TRUE : FALSE)) ? -1 : 0;
}

int SetDeviceZEnable(int flag) {
  if (!Device()) return -1;
  return SendFlag(&Cache().zEnable, flag, D_D3DRS_ZENABLE, flag == 1 ? TRUE : FALSE);
}

int SetDeviceZWriteEnable(int value) {
  if (!Device()) return -1;
  return SendState(&Cache().zWrite, static_cast<DWORD>(value), D_D3DRS_ZWRITEENABLE);
}

int SetDeviceZFunc(int value) {
  if (!Device()) return -1;
  return SendState(&Cache().zFunc, static_cast<DWORD>(value), D_D3DRS_ZFUNC);
}

int SetDeviceDepthBias(int value) {
  if (!Device()) return -1;
  return SendState(&Cache().depthBias, static_cast<DWORD>(value), D_D3DRS_DEPTHBIAS);
}

int SetDeviceFillMode(int value) {
  if (!Device()) return -1;
  return SendState(&Cache().fillMode, static_cast<DWORD>(value), D_D3DRS_FILLMODE);
}

int SetDeviceShadeMode(int value) {
  if (!Device()) return -1;
  return SendState(&Cache().shadeMode, static_cast<DWORD>(value), D_D3DRS_SHADEMODE);
}

int SetDeviceCullMode(int mode) {
  if (!Device()) return 0;
  const DWORD cull = mode == 0 ? D_D3DCULL_NONE : mode == 2 ? D_D3DCULL_CW : D_D3DCULL_CCW;
  return SendFlag(&Cache().cullMode, mode, D_D3DRS_CULLMODE, cull);
}

int SetDeviceDiffuseMaterialSource(int flag) {
  if (!Device()) return 0;
  return SendFlag(&Cache().diffuseMaterialSource, flag, D_D3DRS_DIFFUSEMATERIALSOURCE,
                  flag ? D_D3DMCS_COLOR1 : D_D3DMCS_MATERIAL);
}

int SetDeviceSpecularMaterialSource(int flag) {
  if (!Device()) return 0;
  return SendFlag(&Cache().specularMaterialSource, flag, D_D3DRS_SPECULARMATERIALSOURCE,
                  flag ? D_D3DMCS_COLOR2 : D_D3DMCS_MATERIAL);
}

// The shader indexes follow the new fog state, so it is stored first.
int SetDeviceFogEnable(int flag) {
  if (!Device()) return 0;
  if (!DeviceStateResend && Cache().fogEnable == flag) return 0;
  FlushVertexBatch();
  Cache().fogEnable = flag;
  ComputeShaderIndex();
  return FAILED(Device()->SetRenderState(D_D3DRS_FOGENABLE, flag ? TRUE : FALSE)) ? -1 : 0;
}

int SetDeviceFogMode(int mode) {
  if (!Device()) return -1;
  if (!DeviceStateResend && Cache().fogMode == mode) return 0;
  FlushVertexBatch();
  SendFogBoolRegisters(mode);
  Cache().fogMode = mode;
  ComputeShaderIndex();
  return FAILED(Device()->SetRenderState(D_D3DRS_FOGVERTEXMODE, static_cast<DWORD>(mode))) ? -1 : 0;
}

int SetDeviceFogColor(DWORD color) {
  if (!Device()) return -1;
  return SendState(&Cache().fogColor, color, D_D3DRS_FOGCOLOR);
}

int SetDeviceFogStartEnd(float start, float end) {
  if (!Device()) return -1;
  FlushVertexBatch();
  DeviceStateCache& c = Cache();
  const bool startChanged = DeviceStateResend || c.fogStart != start;
  const bool endChanged = DeviceStateResend || c.fogEnd != end;
  c.fogStart = start;
  c.fogEnd = end;
  if (startChanged) Device()->SetRenderState(D_D3DRS_FOGSTART, FloatBits(start));
  if (endChanged) Device()->SetRenderState(D_D3DRS_FOGEND, FloatBits(end));
  if (startChanged || endChanged) SendFogConstants();
  return 0;
}

int SetDeviceFogDensity(float density) {
  if (!Device()) return -1;
  if (!DeviceStateResend && Cache().fogDensity == density) return 0;
  FlushVertexBatch();
  Cache().fogDensity = density;
  SendFogConstants();
  return FAILED(Device()->SetRenderState(D_D3DRS_FOGDENSITY, FloatBits(density))) ? -1 : 0;
}
