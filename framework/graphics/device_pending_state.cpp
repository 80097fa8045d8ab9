// Blend inputs that are only recorded: the blend set-up of the next draw
// turns them into device state in one pass.
#include "graphics/cached_send.h"

namespace {
DeviceStateCache& Cache() { return DeviceCache(); }
}  // namespace

int SetPendingBlendState(int blendMode, int alphaChannel, int alphaTest) {
  DeviceStateCache& c = Cache();
  if (!DeviceStateResend && c.blendMode == blendMode && c.blendAlphaChannel == alphaChannel &&
      c.blendAlphaTest == alphaTest)
    return 0;
  FlushVertexBatch();
  c.blendMode = blendMode;
  c.blendAlphaChannel = alphaChannel;
  c.blendAlphaTest = alphaTest;
  c.blendStateDirty = 1;
  return 0;
}

int SetPendingBlendExtra(int first, int second) {
  DeviceStateCache& c = Cache();
  if (!DeviceStateResend && c.alphaTestOverride[0] == first && c.alphaTestOverride[1] == second) return 0;
  FlushVertexBatch();
  c.alphaTestOverride[0] = first;
  c.alphaTestOverride[1] = second;
  c.blendStateDirty = 1;
  return 0;
}

int SetPendingTexture(D_IDirect3DBaseTexture9* texture) {
  DeviceStateCache& c = Cache();
  if (!DeviceStateResend && c.texture == texture) return 0;
  FlushVertexBatch();
  if ((c.texture == nullptr) != (texture == nullptr)) c.blendStateDirty = 1;
  c.texture = texture;
  c.textureChanged = 1;
  return 0;
}

int SetPendingBlendTexture(D_IDirect3DBaseTexture9* texture, int param, int extra) {
  DeviceStateCache& c = Cache();
  const int newParam = param == -1 ? c.blendTextureParam : param;
  const int newExtra = extra == -1 ? c.blendTextureExtra : extra;
  if (!DeviceStateResend && c.blendTexture == texture && c.blendTextureParam == newParam &&
      c.blendTextureExtra == newExtra)
    return 0;
  FlushVertexBatch();
  c.blendTexture = texture;
  c.blendTextureParam = newParam;
  c.blendTextureExtra = newExtra;
  c.blendStateDirty = 1;
  return 0;
}
