// The blend-mode rows and the texture-stage blocks, built once at compile
// time from the Direct3D constants.
//
// Blocks without a blend graph (one texture, stage 0, coordinate set 0):
//   colour: the texture (complemented in variant 2), multiplied by the
//   vertex colour when tinted, or four times texture x vertex colour in
//   variant 3; alpha: the vertex alpha without an alpha-test kind, else the
//   texture alpha, multiplied by the vertex alpha while blending. Variant 1
//   adds a stage that fades the colour toward the texture factor (white) as
//   alpha falls, so that a multiply fades out.
//
// Blocks with a blend graph (vertex format 2: coordinate set 0 the blend
// graph, set 1 the graph). The blend graph's value B is its texture alpha;
// the border parameter p moves a threshold through B and the border range r
// sets how soft its edge is. The software renderer's table gives
// alpha = clamp(k (B - p' (1 + 1/k)) + 1) with k = 256 / (r + 1) and
// p' = p / 255; the stages compute the same with k quantised to 1, 2 or 4:
//   stage 0: colour = vertex colour, alpha s = clamp(B + c), with c the
//            texture factor's alpha;
//   stage 1: alpha u = clamp(k (1 - s)): the complement of the running
//            alpha times the specular alpha (always 1 in format 2) with
//            SELECTARG1, MODULATE2X or MODULATE4X for k = 1, 2, 4;
//   stage 2: the graph: colour as in the one-texture blocks, alpha
//            1 - u, multiplied by the graph's alpha for an alpha-test kind;
//   stage 3: only with both the graph's alpha and blending: multiplies in
//            the vertex alpha (with blending and no alpha-test kind stage 2
//            multiplies it in itself).
// 1 - clamp(k (1 - clamp(B + c))) = clamp(k (B + c - 1) + 1), so
// c = 1 - p' (1 + 1/k) gives the software formula: at p = 0 every B draws
// fully, and raising p moves the threshold up across B over a soft edge of
// width 1/k. k follows the range: 1 above 128, 2 above 64, else 4. With
// r <= 1 the edge is hard: c = 0, k = 1 (the stages pass B through) and the
// alpha test keeps B >= p. Blend modes 12 and 13 (variant 3) have blocks
// of their own for both tints, so every index lies inside the table.
#include "graphics/device_blend_tables.h"

#include <array>

namespace {

constexpr std::uint16_t Op(DWORD value) { return static_cast<std::uint16_t>(value); }

constexpr BlendModeRow kOff{kLeaveState, kLeaveState, kLeaveState, 0, false};
constexpr BlendModeRow Row(DWORD src, DWORD dest, DWORD op, int variant = 0) { return {src, dest, op, variant, true}; }

constexpr BlendModeRow kRows[15] = {
    kOff,
    Row(D_D3DBLEND_SRCALPHA, D_D3DBLEND_INVSRCALPHA, D_D3DBLENDOP_ADD),
    Row(D_D3DBLEND_SRCALPHA, D_D3DBLEND_ONE, D_D3DBLENDOP_ADD),
    Row(D_D3DBLEND_INVDESTCOLOR, D_D3DBLEND_ZERO, D_D3DBLENDOP_ADD),
    Row(D_D3DBLEND_ZERO, D_D3DBLEND_SRCCOLOR, D_D3DBLENDOP_ADD),
    Row(D_D3DBLEND_SRCALPHA, D_D3DBLEND_ONE, D_D3DBLENDOP_ADD),
    kOff,
    kOff,
    Row(D_D3DBLEND_ZERO, D_D3DBLEND_ONE, D_D3DBLENDOP_ADD),
    Row(D_D3DBLEND_INVDESTCOLOR, D_D3DBLEND_ZERO, D_D3DBLENDOP_ADD),
    Row(D_D3DBLEND_SRCALPHA, D_D3DBLEND_INVSRCALPHA, D_D3DBLENDOP_ADD, 2),
    Row(D_D3DBLEND_ZERO, D_D3DBLEND_SRCCOLOR, D_D3DBLENDOP_ADD, 1),
    Row(D_D3DBLEND_SRCALPHA, D_D3DBLEND_INVSRCALPHA, D_D3DBLENDOP_ADD, 3),
    Row(D_D3DBLEND_SRCALPHA, D_D3DBLEND_ONE, D_D3DBLENDOP_ADD, 3),
    Row(D_D3DBLEND_SRCALPHA, D_D3DBLEND_ONE, D_D3DBLENDOP_REVSUBTRACT),
};

// Every stage of the tables writes to CURRENT, where the sampler state of a
// device leaves each stage's result; so the blocks leave the result alone.
constexpr StageSetup Stage(int texCoord, std::uint16_t colorOp, DWORD colorArg1, DWORD colorArg2,
                           std::uint16_t alphaOp, DWORD alphaArg1, DWORD alphaArg2) {
  return {texCoord, -1, Op(alphaArg1), Op(alphaArg2), alphaOp, Op(colorArg1), Op(colorArg2), colorOp};
}

constexpr std::uint16_t kSelect = D_D3DTOP_SELECTARG1;
constexpr std::uint16_t kModulate = D_D3DTOP_MODULATE;

// The graph's colour: the texture, complemented in variant 2, tinted by the
// vertex colour, or four times texture x vertex colour in variant 3.
constexpr void GraphColor(StageSetup* s, int tint, int variant) {
  s->colorArg1 = Op(variant == 2 ? D_D3DTA_TEXTURE | D_D3DTA_COMPLEMENT : D_D3DTA_TEXTURE);
  s->colorArg2 = Op(D_D3DTA_DIFFUSE);
  s->colorOp = variant == 3 ? Op(D_D3DTOP_MODULATE4X) : tint ? kModulate : kSelect;
}

constexpr StageBlock MakeOneTexture(int alphaKind, int blendOn, int tint, int variant) {
  StageBlock block{};
  StageSetup& s = block.stages[0];
  s = Stage(0, kSelect, D_D3DTA_TEXTURE, D_D3DTA_DIFFUSE, kSelect, D_D3DTA_DIFFUSE, D_D3DTA_DIFFUSE);
  GraphColor(&s, tint, variant);
  if (alphaKind != 0) {
    s.alphaArg1 = Op(D_D3DTA_TEXTURE);
    s.alphaOp = blendOn ? kModulate : kSelect;
  }
  block.stageCount = 1;
  if (variant == 1)
    block.stages[block.stageCount++] = Stage(-1, D_D3DTOP_BLENDCURRENTALPHA, D_D3DTA_CURRENT, D_D3DTA_TFACTOR,
                                             kSelect, D_D3DTA_CURRENT, D_D3DTA_CURRENT);
  return block;
}

constexpr StageBlock MakeBlendGraph(int alphaKind, int blendOn, int tint, int variant) {
  StageBlock block{};
  block.stages[0] = Stage(0, kSelect, D_D3DTA_DIFFUSE, D_D3DTA_DIFFUSE, D_D3DTOP_ADD, D_D3DTA_TEXTURE, D_D3DTA_TFACTOR);
  block.stages[kBlendGraphScaleStage] = Stage(-1, kSelect, D_D3DTA_CURRENT, D_D3DTA_CURRENT, kSelect,
                                              D_D3DTA_CURRENT | D_D3DTA_COMPLEMENT, D_D3DTA_SPECULAR);
  StageSetup& graph = block.stages[kBlendGraphGraphStage];
  graph = Stage(1, kSelect, D_D3DTA_TEXTURE, D_D3DTA_DIFFUSE, kSelect, D_D3DTA_CURRENT | D_D3DTA_COMPLEMENT,
                D_D3DTA_DIFFUSE);
  GraphColor(&graph, tint, variant);
  block.stageCount = 3;
  if (alphaKind != 0) {
    graph.alphaOp = kModulate;
    graph.alphaArg2 = Op(D_D3DTA_TEXTURE);
    if (blendOn)
      block.stages[block.stageCount++] =
          Stage(-1, kSelect, D_D3DTA_CURRENT, D_D3DTA_CURRENT, kModulate, D_D3DTA_CURRENT, D_D3DTA_DIFFUSE);
  } else if (blendOn) {
    graph.alphaOp = kModulate;
  }
  return block;
}

constexpr int OneTextureIndex(int alphaKind, int blendOn, int tint, int variant) {
  return alphaKind + 3 * (blendOn + 2 * (tint + 4 * variant));
}
// Variant 3 takes its own family (g = 3); every other variant shares g = 0.
constexpr int BlendGraphIndex(int alphaKind, int blendOn, int tint, int variant) {
  const int g = variant == 3 ? 3 : 0;
  return alphaKind + 3 * (blendOn + 2 * (tint + 2 * (1 + 2 * g)));
}

constexpr int kBlockCount = BlendGraphIndex(2, 1, 1, 3) + 1;

constexpr std::array<StageBlock, kBlockCount> MakeStageBlocks() {
  std::array<StageBlock, kBlockCount> blocks{};
  for (int variant = 0; variant < 4; ++variant)
    for (int tint = 0; tint < 2; ++tint)
      for (int blendOn = 0; blendOn < 2; ++blendOn)
        for (int kind = 0; kind < 3; ++kind) {
          blocks[OneTextureIndex(kind, blendOn, tint, variant)] = MakeOneTexture(kind, blendOn, tint, variant);
          if (variant == 0 || variant == 3)
            blocks[BlendGraphIndex(kind, blendOn, tint, variant)] = MakeBlendGraph(kind, blendOn, tint, variant);
        }
  return blocks;
}

constexpr std::array<StageBlock, kBlockCount> kStageBlocks = MakeStageBlocks();

// Untextured: the vertex colour; variant 1 fades it toward white as alpha
// falls (multiply), variant 2 complements it. Variant 3 scales a texture by
// four elsewhere; a quarter-grey texture times four is the vertex colour
// itself, so an untextured draw takes the vertex colour as variant 0 does.
constexpr StageBlock Untextured(std::uint16_t colorOp, DWORD colorArg1, DWORD colorArg2) {
  StageBlock block{};
  block.stageCount = 1;
  block.stages[0] = Stage(0, colorOp, colorArg1, colorArg2, kSelect, D_D3DTA_DIFFUSE, D_D3DTA_DIFFUSE);
  return block;
}

constexpr StageBlock kUntextured[4] = {
    Untextured(kSelect, D_D3DTA_DIFFUSE, D_D3DTA_DIFFUSE),
    Untextured(D_D3DTOP_BLENDDIFFUSEALPHA, D_D3DTA_DIFFUSE, D_D3DTA_TFACTOR),
    Untextured(kSelect, D_D3DTA_DIFFUSE | D_D3DTA_COMPLEMENT, D_D3DTA_DIFFUSE),
    Untextured(kSelect, D_D3DTA_DIFFUSE, D_D3DTA_DIFFUSE),
};

}  // namespace

const BlendModeRow kNativeSubtractRow = Row(D_D3DBLEND_SRCALPHA, D_D3DBLEND_ONE, D_D3DBLENDOP_REVSUBTRACT);

const BlendModeRow& BlendModeRowOf(std::uint32_t mode) { return kRows[mode < 15 ? mode : 0]; }

const StageBlock& OneTextureBlock(int alphaKind, int blendOn, int tint, int variant) {
  return kStageBlocks[OneTextureIndex(alphaKind, blendOn, tint, variant)];
}

const StageBlock& BlendGraphBlock(int alphaKind, int blendOn, int tint, int variant) {
  return kStageBlocks[BlendGraphIndex(alphaKind, blendOn, tint, variant)];
}

const StageBlock& UntexturedBlock(int variant) { return kUntextured[variant]; }

BlendGraphThreshold DeriveBlendGraphThreshold(std::uint32_t borderParam, std::uint32_t borderRange) {
  if (borderRange <= 1) return {0x00FFFFFFu, kSelect, false};
  const int k = borderRange > 128 ? 1 : borderRange > 64 ? 2 : 4;
  const std::uint16_t scaleOp = k == 1 ? kSelect : k == 2 ? Op(D_D3DTOP_MODULATE2X) : Op(D_D3DTOP_MODULATE4X);
  // c = 1 - p/255 (1 + 1/k), in 0..255 and rounded.
  const int c = 255 - static_cast<int>((borderParam * static_cast<std::uint32_t>(k + 1) + k / 2) / static_cast<std::uint32_t>(k));
  const DWORD alpha = static_cast<DWORD>(c < 0 ? 0 : c);
  return {alpha << 24 | 0x00FFFFFFu, scaleOp, true};
}
