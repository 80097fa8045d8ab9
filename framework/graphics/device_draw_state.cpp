// The device state of one draw: shaders, lighting, Z, fog, the blend
// inputs (handed to the blend set-up), shading, filtering and addressing.
// Each piece is compared with the cache, so a run of draws in the same
// state sends nothing.
//
// The alpha of a graph's image: an image with an alpha channel draws with
// that alpha, blended even in blend mode 0 (alpha-test kind 1); a
// colour-keyed image (its texture holds the key as alpha 0) keeps only the
// texels with alpha through the alpha test (kind 2 with the alpha-channel
// flag, which sets the test's reference); other images are opaque.
#include "WqLib.h"
#include "graphics/camera_lights.h"
#include "graphics/cached_send.h"
#include "graphics/device_draw.h"
#include "graphics/device_draw_settings.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"

namespace {

DeviceDrawSettings g_settings;

struct AlphaInputs {
  int kind;
  int channelFlag;
};

AlphaInputs ImageAlphaInputs(const GraphImageInfo& image) {
  if (image.alphaChannel) return {1, 0};
  if (image.alphaTest) return {2, 1};
  return {0, 0};
}

AlphaInputs DrawAlphaInputs(const GraphImageInfo* image, const D_IDirect3DTexture9* texture, std::uint32_t flags) {
  if (!image || !texture || !(flags & kDrawStateTransparent) || !(image->alphaChannel || image->alphaTest))
    return {0, 0};
  const bool ownSettings = (BlendMode == kBlendNone || BlendMode == kBlendKeepDestination) &&
                           ((flags & kDrawStateIntegerPlacement) || DrawMode != 1);
  return ownSettings ? ImageAlphaInputs(*image) : AlphaInputs{1, 0};
}

void UnsetShaders() {
  DeviceStateCache& c = DeviceCache();
  if (!c.vertexShader && !c.pixelShader) return;
  FlushVertexBatch();
  Device()->SetVertexShader(nullptr);
  Device()->SetPixelShader(nullptr);
  c.vertexShader = nullptr;
  c.pixelShader = nullptr;
  c.fvf = 0;
}

void SetupLighting(std::uint32_t flags) {
  const int lighting = (flags & kDrawStateLighting) && !g_settings.lightingOff ? 1 : 0;
  if (lighting != DeviceCache().lighting || DeviceStateResend) {
    FlushVertexBatch();
    SetLightingEnable(lighting);
  }
  if (lighting) RefreshLights();
}

void SetupZ(std::uint32_t flags) {
  const ZSettings& z = g_settings.z[(flags & kDrawStateSecondZ) ? 1 : 0];
  SetDeviceZEnable(z.enable);
  SetDeviceZWriteEnable(z.write);
  SetDeviceZFunc(z.func);
  SetDeviceDepthBias(z.depthBias);
  SetDeviceFillMode(z.fillMode);
}

// Any change of a blend input flushes and makes the blend set-up run.
void SetBlendInput(int* copy, int value) {
  if (*copy == value && !DeviceStateResend) return;
  FlushVertexBatch();
  *copy = value;
  DeviceCache().blendStateDirty = 1;
}

void SetupBlendInputs(const GraphImageInfo* image, D_IDirect3DTexture9* texture, std::uint32_t flags) {
  DeviceStateCache& c = DeviceCache();
  const AlphaInputs alpha = DrawAlphaInputs(image, texture, flags);
  SetBlendInput(&c.blendTint, (flags & kDrawStateTint) || DrawBright != kDrawBrightWhite ? 1 : 0);
  SetBlendInput(&c.blendOn, (flags & kDrawStateBlend) || BlendMode != kBlendNone || NoBlendUsesParamAlpha ? 1 : 0);
  SetPendingTexture(texture);
  SetPendingBlendState(static_cast<int>(BlendMode), alpha.channelFlag, alpha.kind);
  SetPendingBlendExtra(g_settings.alphaTestOverride[0], g_settings.alphaTestOverride[1]);
  if (c.blendTexture && (c.borderParamSent != BlendBorderParam || c.borderRangeSent != BlendBorderRange)) {
    FlushVertexBatch();
    c.blendStateDirty = 1;
  }
  if (c.blendStateDirty || c.textureChanged) SetupDeviceBlendState(1, 0, nullptr);
}

void SetupSampling(std::uint32_t flags) {
  SetDeviceTextureFilter(static_cast<int>(DrawMode));
  SetDeviceMaxAnisotropy(g_settings.maxAnisotropy);
  const bool stored = (flags & kDrawStateStoredAddressModes) != 0;
  for (int stage = 0; stage < (stored ? kTextureStages : 4); ++stage) {
    SetDeviceTextureAddressU(stage, stored ? g_settings.addressU[stage] : static_cast<int>(D_D3DTADDRESS_CLAMP));
    SetDeviceTextureAddressV(stage, stored ? g_settings.addressV[stage] : static_cast<int>(D_D3DTADDRESS_CLAMP));
  }
}

}  // namespace

DeviceDrawSettings& DrawSettings() { return g_settings; }

void SetupDeviceDrawState(const GraphImageInfo* image, D_IDirect3DTexture9* texture, std::uint32_t flags) {
  if (!Device()) return;
  DeviceStateCache& c = DeviceCache();
  if (!(flags & kDrawStateKeepShaders)) UnsetShaders();
  SetupLighting(flags);
  const DWORD specular = (flags & kDrawStateSpecular) && !g_settings.specularOff ? TRUE : FALSE;
  SendCached(&c.specularEnable, specular,
             [&] { return Device()->SetRenderState(D_D3DRS_SPECULARENABLE, specular); });
  SetupZ(flags);
  SetDeviceFogEnable((flags & kDrawStateFog) ? g_settings.fogEnable : 0);
  if (!(flags & kDrawStateSkipTexture)) SetupBlendInputs(image, texture, flags);
  SetDeviceShadeMode((flags & kDrawStateGouraud) ? D_D3DSHADE_GOURAUD : D_D3DSHADE_FLAT);
  SetupSampling(flags);
}
