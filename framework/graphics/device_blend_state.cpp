// The blend set-up: turns the pending blend inputs (blend mode, alpha of
// the image, tint, the texture and the blend graph) or a caller's block
// into the blend render states and the texture stages, sending only what
// differs from the cache.
#include <cstring>

#include "WqLib.h"
#include "graphics/cached_send.h"
#include "graphics/device_draw.h"
#include "graphics/graph_record.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/shader_pack.h"

namespace {

constexpr D_D3DRENDERSTATETYPE kBlendRenderStateIds[kBlendRenderStates] = {
    D_D3DRS_ALPHAFUNC,        D_D3DRS_ALPHAREF, D_D3DRS_ALPHATESTENABLE, D_D3DRS_ALPHABLENDENABLE,
    D_D3DRS_TEXTUREFACTOR,    D_D3DRS_SRCBLEND, D_D3DRS_DESTBLEND,       D_D3DRS_BLENDOP,
};
constexpr D_D3DTEXTURESTAGESTATETYPE kStageOpIds[kStageOpStates] = {
    D_D3DTSS_COLOROP, D_D3DTSS_COLORARG1, D_D3DTSS_COLORARG2, D_D3DTSS_ALPHAOP, D_D3DTSS_ALPHAARG1, D_D3DTSS_ALPHAARG2,
};

// The pixel-shader register that mirrors the texture factor.
constexpr int kTextureFactorPixelRegister = 1;

// Everything one set-up sends.
struct BlendSetup {
  DWORD render[kBlendRenderStates];
  bool renderSet[kBlendRenderStates];  // the others stay as they are
  int stageCount;  // the closing disabled stage included
  StageSetup stages[kTextureStages];
  D_IDirect3DBaseTexture9* textures[kTextureStages];
  int format;  // -1 keeps the batch's vertex format
  int drawNothing;
  int graphStage;
};

struct OverrideState {
  int installed;
  DrawStateBlock block;
};
OverrideState g_override;

constexpr StageSetup kDisabledStage{-1, -1, kLeaveOp, kLeaveOp, D_D3DTOP_DISABLE, kLeaveOp, kLeaveOp, D_D3DTOP_DISABLE};

BlendSetup EmptySetup() {
  BlendSetup s{};
  s.format = -1;
  return s;
}

void SetRender(BlendSetup* s, BlendRenderState state, DWORD value) {
  s->render[state] = value;
  s->renderSet[state] = true;
}

void TakeBlock(BlendSetup* s, const StageBlock& block) {
  for (int i = 0; i < block.stageCount; ++i) s->stages[i] = block.stages[i];
  s->stages[block.stageCount] = kDisabledStage;
  s->stageCount = block.stageCount + 1;
}

void SetBlendFactors(BlendSetup* s, const BlendModeRow& row) {
  SetRender(s, kRenderSrcBlend, row.srcBlend);
  SetRender(s, kRenderDestBlend, row.destBlend);
  SetRender(s, kRenderBlendOp, row.blendOp);
}

void SetAlphaTest(BlendSetup* s, bool enable, DWORD reference, DWORD func) {
  SetRender(s, kRenderAlphaTestEnable, enable ? TRUE : FALSE);
  if (!enable) return;
  SetRender(s, kRenderAlphaRef, reference);
  SetRender(s, kRenderAlphaFunc, func);
}

// Texels at or below the reference drop out: above 16 for images whose
// alpha marks a colour key, and fully transparent ones while Z is written.
void SetImageAlphaTest(BlendSetup* s, int alphaChannel) {
  if (alphaChannel)
    SetAlphaTest(s, true, 16, D_D3DCMP_GREATER);
  else
    SetAlphaTest(s, DeviceCache().zEnable == 1, 0, D_D3DCMP_GREATER);
}

// Blending by source alpha for modes whose row does not blend.
void BlendBySourceAlpha(BlendSetup* s) {
  SetRender(s, kRenderAlphaBlendEnable, TRUE);
  SetBlendFactors(s, BlendModeRowOf(kBlendAlpha));
}

void SetupOneTexture(BlendSetup* s, const BlendModeRow& row, int kind, int blendOn, int tint) {
  const DeviceStateCache& c = DeviceCache();
  s->format = 1;
  TakeBlock(s, OneTextureBlock(kind, blendOn, tint, row.variant));
  s->textures[0] = c.texture;
  SetImageAlphaTest(s, c.blendAlphaChannel);
  if (!row.blends && kind == 1) BlendBySourceAlpha(s);  // soft edges of a colour key
  if (row.variant == 1) SetRender(s, kRenderTextureFactor, 0xFFFFFFFFu);
}

void SetupBlendGraph(BlendSetup* s, const BlendModeRow& row, int kind, int blendOn, int tint) {
  DeviceStateCache& c = DeviceCache();
  s->format = 2;
  TakeBlock(s, BlendGraphBlock(kind, blendOn, tint, row.variant));
  s->textures[0] = c.blendTexture;
  s->textures[kBlendGraphGraphStage] = c.texture;
  s->graphStage = kBlendGraphGraphStage;
  s->drawNothing = BlendBorderParam == 255 ? 1 : 0;
  c.borderParamSent = BlendBorderParam;
  c.borderRangeSent = BlendBorderRange;
  const BlendGraphThreshold threshold = DeriveBlendGraphThreshold(BlendBorderParam, BlendBorderRange);
  SetRender(s, kRenderTextureFactor, threshold.textureFactor);
  s->stages[kBlendGraphScaleStage].alphaOp = threshold.scaleOp;
  if (threshold.soft) {
    if (!row.blends) BlendBySourceAlpha(s);
    SetAlphaTest(s, c.zEnable == 1, 0, D_D3DCMP_GREATER);
    return;
  }
  SetRender(s, kRenderAlphaBlendEnable, FALSE);
  const bool hasAlpha = kind != 0 || c.blendAlphaChannel;
  const DWORD reference = BlendBorderParam == 0 && hasAlpha ? 1 : BlendBorderParam;
  SetAlphaTest(s, true, reference, D_D3DCMP_GREATEREQUAL);
}

void SetupUntextured(BlendSetup* s, const BlendModeRow& row) {
  s->format = 0;
  TakeBlock(s, UntexturedBlock(row.variant));
  SetAlphaTest(s, false, 0, 0);
  if (row.variant == 1) SetRender(s, kRenderTextureFactor, 0xFFFFFFFFu);
}

BlendSetup SetupFromRenderState(int flags) {
  const DeviceStateCache& c = DeviceCache();
  BlendSetup s = EmptySetup();
  const std::uint32_t mode = static_cast<std::uint32_t>(c.blendMode);
  const BlendModeRow& row =
      mode == kBlendSubtract && Graphics().subtractBlendNative ? kNativeSubtractRow : BlendModeRowOf(mode);
  const int tint = c.blendTint || (flags & kDrawStateTint) ? 1 : 0;
  const int blendOn = c.blendOn || (flags & kDrawStateBlend) ? 1 : 0;
  const int kind = c.blendAlphaTest < 0 || c.blendAlphaTest > 2 ? 0 : c.blendAlphaTest;
  SetRender(&s, kRenderAlphaBlendEnable, row.blends ? TRUE : FALSE);
  if (row.blends) SetBlendFactors(&s, row);
  if (c.texture && c.blendTexture)
    SetupBlendGraph(&s, row, kind, blendOn, tint);
  else if (c.texture)
    SetupOneTexture(&s, row, kind, blendOn, tint);
  else
    SetupUntextured(&s, row);
  if (c.alphaTestOverride[0] != -1)
    SetAlphaTest(&s, true, static_cast<DWORD>(c.alphaTestOverride[1]), static_cast<DWORD>(c.alphaTestOverride[0]));
  return s;
}

D_IDirect3DBaseTexture9* ResolveTexture(std::uintptr_t word, int resolveHandles) {
  if (!resolveHandles) return reinterpret_cast<D_IDirect3DBaseTexture9*>(word);
  const GraphRecord* graph = FindGraphRecord(static_cast<int>(word));
  if (!graph || !graph->image || graph->image->entryCount == 0) return nullptr;
  return graph->image->entries[0].texture;
}

BlendSetup SetupFromBlock(const DrawStateBlock& block, int resolveHandles) {
  BlendSetup s = EmptySetup();
  for (int i = 0; i < kBlendRenderStates; ++i)
    if (block.blendRender[i] != kLeaveState || i == kRenderTextureFactor)
      SetRender(&s, static_cast<BlendRenderState>(i), block.blendRender[i]);
  s.stageCount = block.stageCount > kTextureStages ? kTextureStages : static_cast<int>(block.stageCount);
  for (int i = 0; i < s.stageCount; ++i) {
    s.stages[i] = block.stages[i].setup;
    s.textures[i] = ResolveTexture(block.stages[i].texture, resolveHandles);
  }
  return s;
}

void SendStageTexture(int stage, D_IDirect3DBaseTexture9* texture) {
  SendCached(&DeviceCache().stageTexture[stage], texture,
             [&] { return Device()->SetTexture(static_cast<DWORD>(stage), texture); });
}

void SendStage(int stage, const StageSetup& setup, D_IDirect3DBaseTexture9* texture) {
  DeviceStateCache& c = DeviceCache();
  const DWORD s = static_cast<DWORD>(stage);
  SendStageTexture(stage, texture);
  if (setup.texCoordIndex != -1) {
    const int index = setup.texCoordIndex;
    SendCached(&c.texCoordIndex[stage], index, [&] {
      return Device()->SetTextureStageState(s, D_D3DTSS_TEXCOORDINDEX, static_cast<DWORD>(index));
    });
  }
  if (setup.resultArg != -1 && Graphics().textureStageTempUsable) {
    const DWORD result = setup.resultArg == 0 ? D_D3DTA_CURRENT : D_D3DTA_TEMP;
    SendCached(&c.resultArg[stage], result,
               [&] { return Device()->SetTextureStageState(s, D_D3DTSS_RESULTARG, result); });
  }
  const std::uint16_t ops[kStageOpStates] = {setup.colorOp, setup.colorArg1, setup.colorArg2,
                                             setup.alphaOp, setup.alphaArg1, setup.alphaArg2};
  for (int i = 0; i < kStageOpStates; ++i) {
    if (ops[i] == kLeaveOp) continue;
    const DWORD value = ops[i];
    SendCached(&c.stageOps[stage][i], value,
               [&] { return Device()->SetTextureStageState(s, kStageOpIds[i], value); });
  }
}

void SendTextureFactorConstant(DWORD factor) {
  if (!UseProgrammableShader()) return;
  const float values[4] = {static_cast<float>(factor >> 16 & 0xFF) / 255.0f,
                           static_cast<float>(factor >> 8 & 0xFF) / 255.0f, static_cast<float>(factor & 0xFF) / 255.0f,
                           static_cast<float>(factor >> 24) / 255.0f};
  SetPixelShaderConstants(kTextureFactorPixelRegister, 1, values);
}

void SendSetup(const BlendSetup& s) {
  DeviceStateCache& c = DeviceCache();
  VertexBatch& batch = Batch();
  if ((s.format != -1 && s.format != batch.format) || s.drawNothing != c.drawNothing) {
    FlushVertexBatch();
    if (s.format != -1) SelectBatchFormat(s.format);
    c.drawNothing = s.drawNothing;
  }
  for (int i = 0; i < kBlendRenderStates; ++i) {
    if (!s.renderSet[i]) continue;
    const DWORD value = s.render[i];
    const unsigned bit = 1u << i;
    if (!DeviceStateResend && (c.blendRenderSent & bit) && c.blendRender[i] == value) continue;
    FlushVertexBatch();
    Device()->SetRenderState(kBlendRenderStateIds[i], value);
    c.blendRender[i] = value;
    c.blendRenderSent |= bit;
    if (i == kRenderTextureFactor) SendTextureFactorConstant(value);
  }
  // The sampler filters need no resend when the stage count changes: the
  // filter setters keep every sampler stage the device has up to date.
  c.stageCount = s.stageCount;
  c.graphStage = s.graphStage;
  for (int stage = 0; stage < s.stageCount; ++stage) SendStage(stage, s.stages[stage], s.textures[stage]);
  // Stages past the set-up let go of their textures.
  for (int stage = s.stageCount; stage < kTextureStages; ++stage) SendStageTexture(stage, nullptr);
}

}  // namespace

int SetupDeviceBlendState(int resolveHandles, int flags, const DrawStateBlock* overrideBlock) {
  if (!Device()) return -1;
  DeviceStateCache& c = DeviceCache();
  const DrawStateBlock* block = overrideBlock ? overrideBlock : g_override.installed ? &g_override.block : nullptr;
  if (!block && !DeviceStateResend && !c.blendStateDirty) {
    if (!c.textureChanged) return -1;
    SendStageTexture(c.graphStage, c.texture);
    c.textureChanged = 0;
    return 0;
  }
  c.blendStateDirty = 0;
  c.textureChanged = 0;
  if (block)
    SendSetup(SetupFromBlock(*block, resolveHandles));
  else
    SendSetup(SetupFromRenderState(flags));
  return 0;
}

int SetOverrideDrawState(const DrawStateBlock* block, int /*flag*/) {
  FlushVertexBatch();
  if (!block) {
    g_override.installed = 0;
    DeviceCache().blendStateDirty = 1;
    return 0;
  }
  std::memcpy(&g_override.block, block, sizeof(DrawStateBlock));
  g_override.installed = 1;
  DeviceCache().blendStateDirty = 1;
  DeviceCache().textureChanged = 1;
  SetupDeviceBlendState(1, 0, nullptr);
  return 0;
}

void ApplyDrawStateFromBlock(const DrawStateBlock* block, int resolveHandles) {
  FlushVertexBatch();
  SetupDeviceBlendState(resolveHandles, 0, block);
  DeviceCache().blendStateDirty = 1;
  DeviceCache().textureChanged = 1;
}
