// Quads of the Direct3D draws into the vertex batch: the corners of one
// quad in screen pixels with their texture coordinates, clipping them to
// the draw area, and appending them as two triangles in the batch's
// current vertex format.
#pragma once

#include "graphics/graph_record.h"
#include "platform/d3d9.h"

// Every 2D vertex lies at this depth.
inline constexpr float kDraw2DDepth = 0.2f;

struct QuadCorner {
  float x, y;    // screen position
  float u, v;    // the graph's texture
  float bu, bv;  // the blend graph's texture (vertex format 2)
  float rhw = 1.0f;  // above 1 draws the corner's texture nearer (perspective)
};
enum QuadCornerIndex { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

// How far the texture coordinates move per screen pixel, for clipping.
struct TexelsPerPixel {
  float u, v, bu, bv;
};

// Moves a corner outside area (left, top, right, bottom) onto its border,
// moving its texture coordinates with it; each axis on its own.
void ClipQuadCorner(QuadCorner* corner, const float area[4], const TexelsPerPixel& step);
// Appends the quad (corners top-left, top-right, bottom-left, bottom-right)
// as a triangle list: (0, 1, 2) and (3, 2, 1).
void AppendBatchQuad(const QuadCorner corners[4], DWORD color);
// Makes the piece's texture the current one and runs the blend set-up
// when the state is dirty.
void SelectPieceTexture(const GraphTexturePiece& piece);
// The graph's corners of a piece: top-left, top-right, bottom-left and
// bottom-right positions inside the graph and their texture coordinates,
// with the blend graph's coordinates of those positions.
void PieceCorners(const GraphTexturePiece& piece, QuadCorner corners[4]);
// The texture of the graph's first piece (null without pieces), for the
// draw set-up.
D_IDirect3DTexture9* FirstGraphTexture(const GraphRecord& graph);
// A device exists and is not lost.
bool DeviceReadyToDraw();
