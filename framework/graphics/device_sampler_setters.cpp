// Cached setters of the sampler and texture-stage states: filters,
// anisotropy, address modes, coordinate indexes and texture transforms.
//
// The filter of each draw mode (magnification, minification, mip-map):
// 0 point, point, none; 1 linear, linear, none; 2 linear, anisotropic,
// linear. The same mapping serves the device's start-up state, so that a
// magnification filter is never anisotropic, which few devices offer.
#include "graphics/cached_send.h"
#include "graphics/graphics_state.h"

namespace {

constexpr DWORD kFilters[3][3] = {
    {D_D3DTEXF_POINT, D_D3DTEXF_POINT, D_D3DTEXF_NONE},
    {D_D3DTEXF_LINEAR, D_D3DTEXF_LINEAR, D_D3DTEXF_NONE},
    {D_D3DTEXF_LINEAR, D_D3DTEXF_ANISOTROPIC, D_D3DTEXF_LINEAR},
};
constexpr D_D3DSAMPLERSTATETYPE kFilterStates[3] = {D_D3DSAMP_MAGFILTER, D_D3DSAMP_MINFILTER, D_D3DSAMP_MIPFILTER};
constexpr D_D3DSAMPLERSTATETYPE kAddressStates[3] = {D_D3DSAMP_ADDRESSU, D_D3DSAMP_ADDRESSV, D_D3DSAMP_ADDRESSW};

DeviceStateCache& Cache() { return DeviceCache(); }

// Sets the address mode of the given coordinates (bits 0..2: U, V, W) of
// one stage or, for -1, of all eight.
int SetAddressModes(int stage, int mode, unsigned coordinates) {
  if (!Device()) return -1;
  if (stage > 7 || stage < -1) return -1;
  const int first = stage == -1 ? 0 : stage;
  const int last = stage == -1 ? kTextureStages - 1 : stage;
  int result = 0;
  for (int s = first; s <= last; ++s)
    for (int c = 0; c < 3; ++c)
      if (coordinates & (1u << c)) {
        const DWORD value = static_cast<DWORD>(mode);
        if (SendCached(&Cache().address[s][c], value,
                       [&] { return Device()->SetSamplerState(s, kAddressStates[c], value); }) != 0)
          result = -1;
      }
  return result;
}

}  // namespace

int SetDeviceTextureFilter(int drawMode) {
  if (!Device()) return -1;
  if (drawMode < 0 || drawMode > 2) return -1;
  DeviceStateCache& c = Cache();
  if (!DeviceStateResend && c.filterKind == drawMode) return 0;
  FlushVertexBatch();
  for (int stage = 0; stage < c.samplerStagesInUse; ++stage)
    for (int i = 0; i < 3; ++i) {
      Device()->SetSamplerState(stage, kFilterStates[i], kFilters[drawMode][i]);
      c.filter[stage][i] = kFilters[drawMode][i];
    }
  c.filterKind = drawMode;
  return 0;
}

int SetDeviceMaxAnisotropy(int value) {
  if (!Device()) return -1;
  const DWORD anisotropy = value < 1 ? 1 : static_cast<DWORD>(value);
  for (int stage = 0; stage < Cache().samplerStagesInUse; ++stage)
    SendCached(&Cache().maxAnisotropy[stage], anisotropy,
               [&] { return Device()->SetSamplerState(stage, D_D3DSAMP_MAXANISOTROPY, anisotropy); });
  return 0;
}

int ResetTexCoordIndexes() {
  if (!Device()) return -1;
  for (int stage = 0; stage < kTextureStages; ++stage) {
    if (!DeviceStateResend && Cache().texCoordIndex[stage] == stage) continue;
    Device()->SetTextureStageState(stage, D_D3DTSS_TEXCOORDINDEX, static_cast<DWORD>(stage));
    Cache().texCoordIndex[stage] = stage;
  }
  return 0;
}

int SetDeviceTextureAddress(int stage, int mode) { return SetAddressModes(stage, mode, 7u); }
int SetDeviceTextureAddressU(int stage, int mode) { return SetAddressModes(stage, mode, 1u); }
int SetDeviceTextureAddressV(int stage, int mode) { return SetAddressModes(stage, mode, 2u); }
int SetDeviceTextureAddressW(int stage, int mode) { return SetAddressModes(stage, mode, 4u); }

int SetDeviceTextureTransform(int stage, int enable, const Matrix4* matrix) {
  if (!Device()) return -1;
  if (stage >= kTextureStages || stage < -1) return -1;
  const int first = stage == -1 ? 0 : stage;
  const int last = stage == -1 ? kTransformStages - 1 : (stage < kTransformStages ? stage : -1);
  for (int s = first; s <= last; ++s) {
    const int on = enable == 1 ? 1 : 0;
    SendCached(&Cache().textureTransformOn[s], on, [&] {
      return Device()->SetTextureStageState(s, D_D3DTSS_TEXTURETRANSFORMFLAGS,
                                            on ? D_D3DTTFF_COUNT3 : D_D3DTTFF_DISABLE);
    });
    if (on && matrix)
      SendCached(&Cache().textureTransform[s], *matrix, [&] {
        return Device()->SetTransform(static_cast<D_D3DTRANSFORMSTATETYPE>(D_D3DTS_TEXTURE0 + s),
                                      reinterpret_cast<const D_D3DMATRIX*>(matrix));
      });
  }
  return 0;
}
