// The two constant tables the blend set-up reads: the Direct3D blend
// factors and operation of each blend mode, and the texture-stage blocks
// that combine the graph, the vertex colour and the blend graph.
#pragma once

#include <cstdint>

#include "platform/d3d9.h"

inline constexpr DWORD kLeaveState = 0xFFFFFFFFu;   // a blend value the row leaves as it is
inline constexpr std::uint16_t kLeaveOp = 0xFFFF;   // a stage value the block leaves as it is

struct BlendModeRow {
  DWORD srcBlend;
  DWORD destBlend;
  DWORD blendOp;
  int variant;  // which family of stage blocks the mode draws with
  bool blends;  // alpha blending on
};

// One texture stage: the texture-coordinate set (-1 leaves it), where the
// result goes (0 CURRENT, other TEMP, -1 leaves it), then the operations.
struct StageSetup {
  int texCoordIndex;
  int resultArg;
  std::uint16_t alphaArg1, alphaArg2, alphaOp;
  std::uint16_t colorArg1, colorArg2, colorOp;
};

inline constexpr int kMaxBlockStages = 4;
struct StageBlock {
  int stageCount;  // stages used, 1..4; the set-up disables the next one
  StageSetup stages[kMaxBlockStages];
};

// The row of a blend mode; modes outside 0..14 draw as mode 0. Mode 3 has
// the row of devices without reverse-subtract; kNativeSubtractRow replaces
// it on devices that have the operation.
const BlendModeRow& BlendModeRowOf(std::uint32_t mode);
extern const BlendModeRow kNativeSubtractRow;

// Alpha-test kind 0..2, blending 0/1, tint 0/1, stage variant 0..3.
const StageBlock& OneTextureBlock(int alphaKind, int blendOn, int tint, int variant);
// The same with a blend graph in stage 0 and the graph in stage 2.
const StageBlock& BlendGraphBlock(int alphaKind, int blendOn, int tint, int variant);
inline constexpr int kBlendGraphScaleStage = 1;
inline constexpr int kBlendGraphGraphStage = 2;
// The one stage of an untextured draw (boxes, circles) of a stage variant.
const StageBlock& UntexturedBlock(int variant);

// The texture factor and the scale operation of stage 1 of a blend-graph
// block for border parameter p and border range r (both 0..255); soft is
// false for the hard edge of r <= 1, drawn with the alpha test instead.
struct BlendGraphThreshold {
  DWORD textureFactor;
  std::uint16_t scaleOp;
  bool soft;
};
BlendGraphThreshold DeriveBlendGraphThreshold(std::uint32_t borderParam, std::uint32_t borderRange);
