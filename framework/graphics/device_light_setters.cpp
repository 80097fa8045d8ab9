// Cached setters of the device's lights, material and ambient colour, for
// 3D drawing. Like the other cached setters they send only a change and
// draw the pending batch first. With programmable shaders the same values
// go to shader registers:
//   vertex 11: material emissive, power in w; vertex 12: ambient colour;
//   vertex 14 + 7 s (light slot s = 0..3): position and direction in view
//   space (written with the view matrix), the diffuse, specular and
//   ambient colours multiplied by the material's, (range, falloff, theta,
//   phi) and the three attenuations;
//   pixel 2: ambient colour; pixel 3 + 3 s: the three colour products.
#include <cstring>

#include "graphics/camera_lights.h"
#include "graphics/cached_send.h"
#include "graphics/device_lights.h"
#include "graphics/graphics_state.h"
#include "graphics/shader_pack.h"

namespace {

constexpr int kDeviceLightIndexes = 256;
constexpr int kShaderLightSlots = 4;
constexpr int kVertexMaterialRegister = 11;
constexpr int kVertexAmbientRegister = 12;
constexpr int kVertexFirstLightRegister = 14;
constexpr int kVertexLightRegisters = 7;
constexpr int kPixelAmbientRegister = 2;
constexpr int kPixelFirstLightRegister = 3;

struct DeviceLightCache {
  D_D3DLIGHT9 lights[kDeviceLightIndexes];
  bool lightSent[kDeviceLightIndexes];
  int enabled[kDeviceLightIndexes];
  D_D3DMATERIAL9 material;
  bool materialSent;
  DWORD ambient;
  float ambientFloats[4];
};
DeviceLightCache g_cache;

void Multiply(float out[4], const D_D3DCOLORVALUE& a, const D_D3DCOLORVALUE& b) {
  out[0] = a.r * b.r;
  out[1] = a.g * b.g;
  out[2] = a.b * b.b;
  out[3] = a.a * b.a;
}

void SendMaterialConstants(const D_D3DMATERIAL9& m) {
  const float emissive[4] = {m.Emissive.r, m.Emissive.g, m.Emissive.b, m.Power};
  SetVertexShaderConstants(kVertexMaterialRegister, 1, emissive);
}

}  // namespace

void ResetDeviceLightCache() {
  std::memset(&g_cache, 0, sizeof(g_cache));
}

int UploadLightShaderConstants() {
  if (!UseProgrammableShader()) return 0;
  const D_D3DMATERIAL9& m = g_cache.material;
  for (int slot = 0; slot < kShaderLightSlots; ++slot) {
    if (!g_cache.enabled[slot]) continue;
    const D_D3DLIGHT9& light = g_cache.lights[slot];
    float products[3][4];
    Multiply(products[0], light.Diffuse, m.Diffuse);
    Multiply(products[1], light.Specular, m.Specular);
    Multiply(products[2], light.Ambient, m.Ambient);
    const float shape[2][4] = {{light.Range, light.Falloff, light.Theta, light.Phi},
                               {light.Attenuation0, light.Attenuation1, light.Attenuation2, 0.0f}};
    const int first = kVertexFirstLightRegister + kVertexLightRegisters * slot;
    SetVertexShaderConstants(first + 2, 3, &products[0][0]);
    SetVertexShaderConstants(first + 5, 2, &shape[0][0]);
    SetPixelShaderConstants(kPixelFirstLightRegister + 3 * slot, 3, &products[0][0]);
  }
  // The positions and directions in view space.
  SetDeviceTransform(&Camera().view);
  return 0;
}

int SetDeviceLight(int index, const D_D3DLIGHT9& light) {
  if (!Device() || index < 0 || index >= kDeviceLightIndexes) return -1;
  if (!DeviceStateResend && g_cache.lightSent[index] && SameValue(g_cache.lights[index], light)) return 0;
  FlushVertexBatch();
  g_cache.lights[index] = light;
  g_cache.lightSent[index] = true;
  if (UseProgrammableShader()) return UploadLightShaderConstants();
  return FAILED(Device()->SetLight(static_cast<DWORD>(index), &light)) ? -1 : 0;
}

int SetDeviceLightEnable(int index, int enable) {
  if (!Device() || index < 0 || index >= kDeviceLightIndexes) return -1;
  const int flag = enable ? 1 : 0;
  if (!DeviceStateResend && g_cache.enabled[index] == flag) return 0;
  FlushVertexBatch();
  g_cache.enabled[index] = flag;
  const HRESULT result = Device()->LightEnable(static_cast<DWORD>(index), flag ? TRUE : FALSE);
  ComputeShaderIndex();
  if (UseProgrammableShader() && index < kShaderLightSlots) UploadLightShaderConstants();
  return FAILED(result) ? -1 : 0;
}

int SetDeviceMaterial(const D_D3DMATERIAL9& material) {
  if (!Device()) return -1;
  if (!DeviceStateResend && g_cache.materialSent && SameValue(g_cache.material, material)) return 0;
  FlushVertexBatch();
  g_cache.material = material;
  g_cache.materialSent = true;
  if (UseProgrammableShader()) {
    SendMaterialConstants(material);
    return UploadLightShaderConstants();
  }
  return FAILED(Device()->SetMaterial(&material)) ? -1 : 0;
}

int SetDeviceAmbientColor(DWORD argb) {
  if (!Device()) return -1;
  if (!DeviceStateResend && g_cache.ambient == argb) return 0;
  FlushVertexBatch();
  g_cache.ambient = argb;
  const float color[4] = {static_cast<float>(argb >> 16 & 0xFF) / 255.0f, static_cast<float>(argb >> 8 & 0xFF) / 255.0f,
                          static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>(argb >> 24) / 255.0f};
  std::memcpy(g_cache.ambientFloats, color, sizeof(color));
  SetVertexShaderConstants(kVertexAmbientRegister, 1, color);
  SetPixelShaderConstants(kPixelAmbientRegister, 1, color);
  return FAILED(Device()->SetRenderState(D_D3DRS_AMBIENT, argb)) ? -1 : 0;
}

DWORD GetDeviceAmbientColor() { return g_cache.ambient; }
