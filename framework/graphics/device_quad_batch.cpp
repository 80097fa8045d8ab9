// Writing quads into the vertex batch in its three screen formats.
#include "graphics/device_quad_batch.h"

#include <cstring>

#include "graphics/device_draw.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/vertex_batch.h"

namespace {

struct ColorVertex {
  float x, y, z, rhw;
  DWORD diffuse;
};
struct TexturedVertex {
  float x, y, z, rhw;
  DWORD diffuse;
  float u, v;
};
struct BlendTexturedVertex {
  float x, y, z, rhw;
  DWORD diffuse, specular;
  float u0, v0, u1, v1;
};
static_assert(sizeof(ColorVertex) == 20 && sizeof(TexturedVertex) == 28 && sizeof(BlendTexturedVertex) == 40);

template <typename Vertex>
void Store(std::uint8_t* out, const Vertex& vertex) {
  std::memcpy(out, &vertex, sizeof(Vertex));
}

void StoreCorner(std::uint8_t* out, int format, const QuadCorner& c, DWORD color) {
  if (format == 0)
    Store(out, ColorVertex{c.x, c.y, kDraw2DDepth, c.rhw, color});
  else if (format == 1)
    Store(out, TexturedVertex{c.x, c.y, kDraw2DDepth, c.rhw, color, c.u, c.v});
  else
    Store(out, BlendTexturedVertex{c.x, c.y, kDraw2DDepth, c.rhw, color, 0xFFFFFFFFu, c.bu, c.bv, c.u, c.v});
}

// One axis of ClipQuadCorner.
void ClipAxis(float* position, float* texel, float* blendTexel, float low, float high, float texelStep,
              float blendStep) {
  float move = 0.0f;
  if (*position < low)
    move = low - *position;
  else if (*position > high)
    move = high - *position;
  else
    return;
  *position += move;
  *texel += move * texelStep;
  *blendTexel += move * blendStep;
}

}  // namespace

void ClipQuadCorner(QuadCorner* corner, const float area[4], const TexelsPerPixel& step) {
  ClipAxis(&corner->x, &corner->u, &corner->bu, area[0], area[2], step.u, step.bu);
  ClipAxis(&corner->y, &corner->v, &corner->bv, area[1], area[3], step.v, step.bv);
}

void AppendBatchQuad(const QuadCorner corners[4], DWORD color) {
  static constexpr int kOrder[6] = {kTopLeft, kTopRight, kBottomLeft, kBottomRight, kBottomLeft, kTopRight};
  std::uint8_t* out = ReserveBatchVertices(D_D3DPT_TRIANGLELIST, 6);
  const VertexBatch& batch = Batch();
  const int stride = BatchStride(batch.kind, batch.format);
  for (int i = 0; i < 6; ++i) StoreCorner(out + i * stride, batch.format, corners[kOrder[i]], color);
  CommitBatchVertices(6);
}

void SelectPieceTexture(const GraphTexturePiece& piece) {
  DeviceStateCache& c = DeviceCache();
  if (c.texture != piece.entry->texture) SetPendingTexture(piece.entry->texture);
  if (c.blendStateDirty || c.textureChanged) SetupDeviceBlendState(1, 0, nullptr);
}

void PieceCorners(const GraphTexturePiece& piece, QuadCorner corners[4]) {
  const float x0 = piece.vertices[kTopLeft][0], y0 = piece.vertices[kTopLeft][1];
  const float x1 = piece.vertices[kTopRight][0], y2 = piece.vertices[kBottomLeft][1];
  const float u0 = piece.vertices[kTopLeft][2], v0 = piece.vertices[kTopLeft][3];
  const float u1 = piece.vertices[kTopRight][2], v2 = piece.vertices[kBottomLeft][3];
  const float bw = BlendTextureSize[2], bh = BlendTextureSize[3];
  corners[kTopLeft] = {x0, y0, u0, v0, x0 * bw, y0 * bh};
  corners[kTopRight] = {x1, y0, u1, v0, x1 * bw, y0 * bh};
  corners[kBottomLeft] = {x0, y2, u0, v2, x0 * bw, y2 * bh};
  corners[kBottomRight] = {x1, y2, u1, v2, x1 * bw, y2 * bh};
}

// The first piece's texture, not the image's first: a graph cut from a
// bigger picture may start in any texture, and setting another one first
// would break the batch on every draw.
D_IDirect3DTexture9* FirstGraphTexture(const GraphRecord& graph) {
  return graph.pieceCount > 0 ? graph.pieces[0].entry->texture : nullptr;
}

bool DeviceReadyToDraw() { return Device() != nullptr && !Graphics().deviceLost; }
