// The Direct3D path of the public draw functions: device state for a draw,
// textured quads of graph pieces into the vertex batch, the untextured box
// and circle, and the subtractive blend for devices without reverse-subtract.
#pragma once

#include <cstdint>

#include "graphics/device_blend_tables.h"
#include "graphics/graph_record.h"
#include "platform/windows.h"

// Flag bits of SetupDeviceDrawState.
inline constexpr std::uint32_t kDrawStateTransparent = 0x1;
inline constexpr std::uint32_t kDrawStateIntegerPlacement = 0x2;
inline constexpr std::uint32_t kDrawStateGouraud = 0x8;
inline constexpr std::uint32_t kDrawStateTint = 0x20;
inline constexpr std::uint32_t kDrawStateBlend = 0x40;
inline constexpr std::uint32_t kDrawStateFog = 0x80;
inline constexpr std::uint32_t kDrawStateSkipTexture = 0x100;
inline constexpr std::uint32_t kDrawStateLighting = 0x200;
inline constexpr std::uint32_t kDrawStateSpecular = 0x400;
inline constexpr std::uint32_t kDrawStateSecondZ = 0x800;
inline constexpr std::uint32_t kDrawStateStoredAddressModes = 0x1000;
inline constexpr std::uint32_t kDrawStateKeepShaders = 0x2000;

// A whole blend set-up given by its caller (the mask code): the eight blend
// render states in the order of BlendRenderState (kLeaveState leaves one as
// it is, except the texture factor, which is always sent so that it can be
// white), then the stages, each with its texture: a graph handle when the
// block is applied with resolveHandles 1, else a texture pointer.
struct DrawStateBlock {
  std::uint32_t blendRender[8];
  std::uint32_t stageCount;
  struct Stage {
    std::uintptr_t texture;
    StageSetup setup;
  } stages[8];
};

// Makes the device state right for the next draw; sends only what changed.
void SetupDeviceDrawState(const GraphImageInfo* image, D_IDirect3DTexture9* texture, std::uint32_t flags);
// Rebuilds the blend render states and texture stages; flags may force the
// tint (kDrawStateTint) and blending (kDrawStateBlend) on. 0, or -1 without
// a device or when there is nothing to do.
int SetupDeviceBlendState(int resolveHandles, int flags, const DrawStateBlock* overrideBlock);
// Installs a block that every later blend set-up uses in place of the
// render state (null removes it); the flag is the mask code's own and
// changes nothing here. 0.
int SetOverrideDrawState(const DrawStateBlock* block, int flag);
// Applies a block once and leaves the blend and texture state dirty, so the
// next draw sets its own state again.
void ApplyDrawStateFromBlock(const DrawStateBlock* block, int resolveHandles);
// Makes the surface the render target with the viewport over all of it.
// 0, -1 without a device.
int SetDeviceRenderTarget(D_IDirect3DSurface9* surface);
// Sends the sampler and stage state a reset device lost. 0, -1 without a device.
int ApplyDeviceSamplerState();

// Each returns -1 without a device or while it is lost, else 0 (also when
// nothing was drawn). Quad corners come top-left, top-right, bottom-left,
// bottom-right.
int G_D3D_DrawGraph(GraphRecord* graph, int x, int y, float fx, float fy, int trans, int integerPlacement);
int G_D3D_DrawGraphStretched(GraphRecord* graph, int x1, int y1, int x2, int y2, float fx1, float fy1, float fx2,
                             float fy2, int trans, int integerPlacement);
int G_D3D_DrawGraphRotated(GraphRecord* graph, float x, float y, double scale, double angle, int trans, int turn);
int G_D3D_DrawGraphQuadF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                         GraphRecord* graph, int trans);
int G_D3D_DrawGraphQuadInt(GraphRecord* graph, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                           int trans);
// One texture piece onto four points (x1, y1 top-left .. x4, y4 bottom-right).
int G_D3D_DrawPieceQuadF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                         const GraphTexturePiece* piece);
int G_D3D_DrawBox(int left, int top, int right, int bottom, int color);
int G_D3D_DrawCircle(int x, int y, int r, int color, int fill);
// Finishes a frame drawn into the sub back buffer; 0 at once otherwise.
int EndSceneWithFlush();

// Wrapped around a draw in blend mode 3 when the device lacks the
// reverse-subtract operation: the caller draws in mode 5 between them.
void BeginSubtractBlendEmulation(const RECT* rect);
void EndSubtractBlendEmulation(const RECT* rect);
