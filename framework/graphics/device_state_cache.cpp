// The cache record of the device setters and its resets. Values a new
// device starts with that the drawing code leaves open are settled here:
// Z testing and writing start off (the 2D draws all lie at z = 0 and a 3D
// caller turns them on), the Z function is LESSEQUAL, the fill mode solid,
// and the sampler stages in use are those the device can sample at once.
#include "graphics/device_state_cache.h"

#include <cstring>

#include "graphics/device_lights.h"
#include "graphics/graphics_state.h"

namespace {
DeviceStateCache g_cache;
}  // namespace

int DeviceStateResend;

DeviceStateCache& DeviceCache() { return g_cache; }

void ResetShaderStateCache() {
  g_cache.vertexShader = nullptr;
  g_cache.pixelShader = nullptr;
  g_cache.vertexShaderIndex = 0;
  g_cache.pixelShaderIndex = 0;
  g_cache.shaderIndexPending = 0;
  g_cache.fvf = 0;
  g_cache.userConstantSetOn = 0;
}

void SetCachedMaterialSources(int diffuse, int specular) {
  g_cache.diffuseMaterialSource = diffuse;
  g_cache.specularMaterialSource = specular;
}

void ResetDeviceStateCache(int screenWidth, int screenHeight) {
  D_D3DCAPS9 caps{};
  if (Device()) Device()->GetDeviceCaps(&caps);
  int stages = static_cast<int>(caps.MaxSimultaneousTextures);
  g_cache.samplerStagesInUse = stages < 1 ? 1 : stages > kTextureStages ? kTextureStages : stages;

  g_cache.lighting = 1;
  g_cache.filterKind = kFilterUnset;
  g_cache.zEnable = 0;
  g_cache.zWrite = FALSE;
  g_cache.zFunc = D_D3DCMP_LESSEQUAL;
  g_cache.depthBias = 0;
  g_cache.fillMode = D_D3DFILL_SOLID;
  g_cache.cullMode = 0;
  g_cache.shadeMode = D_D3DSHADE_FLAT;
  g_cache.fogEnable = 0;
  g_cache.fogMode = 0;
  g_cache.fogColor = 0;
  g_cache.fogStart = 0.0f;
  g_cache.fogEnd = 1.0f;
  g_cache.blendMode = 0;
  g_cache.blendAlphaChannel = 0;
  g_cache.blendAlphaTest = 0;
  g_cache.alphaTestOverride[0] = -1;  // no override
  g_cache.alphaTestOverride[1] = 0;
  g_cache.blendTint = 0;
  g_cache.blendOn = 0;
  g_cache.borderParamSent = g_cache.borderRangeSent = 0;
  g_cache.blendRenderSent = 0;
  for (int stage = 0; stage < kTextureStages; ++stage) {
    g_cache.stageTexture[stage] = nullptr;
    g_cache.resultArg[stage] = kUnsentState;
    for (DWORD& value : g_cache.stageOps[stage]) value = kUnsentState;
  }
  g_cache.stageCount = 0;
  g_cache.graphStage = 0;
  g_cache.specularEnable = TRUE;
  g_cache.renderTarget = nullptr;
  ResetDeviceLightCache();
  g_cache.texture = nullptr;
  g_cache.blendTexture = nullptr;
  g_cache.blendTextureParam = 0;
  g_cache.blendTextureExtra = 0;
  g_cache.blendStateDirty = 0;
  g_cache.textureChanged = 0;
  g_cache.drawNothing = 0;
  g_cache.renderTargetChanged = 0;
  g_cache.viewport =
      D_D3DVIEWPORT9{0, 0, static_cast<DWORD>(screenWidth), static_cast<DWORD>(screenHeight), 0.0f, 1.0f};
  g_cache.scissor = RECT{0, 0, screenWidth, screenHeight};
  ResetShaderStateCache();
}
