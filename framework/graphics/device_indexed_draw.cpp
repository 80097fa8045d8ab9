// Draws a grid of pre-transformed vertices as joined triangle strips.
#include <cstdint>

#include "graphics/cached_send.h"
#include "graphics/graphics_state.h"

namespace {

constexpr int kMaxIndices = 1000;
constexpr UINT kGridVertexStride = 28;
constexpr DWORD kGridFvf = D_D3DFVF_XYZRHW | D_D3DFVF_DIFFUSE | D_D3DFVF_TEX1;

void DrawStrip(const std::uint16_t* indices, int count, const void* vertices, int vertexCount) {
  if (count < 3) return;
  Device()->DrawIndexedPrimitiveUP(D_D3DPT_TRIANGLESTRIP, 0, static_cast<UINT>(vertexCount),
                                   static_cast<UINT>(count - 2), indices, D_D3DFMT_INDEX16, vertices,
                                   kGridVertexStride);
}

}  // namespace

int DrawDeviceIndexedVertices(int columns, const void* vertices, int rows) {
  if (!Device()) return 0;
  if (columns < 2 || rows < 2) return -1;
  FlushVertexBatch();
  DeviceStateCache& cache = DeviceCache();
  if (cache.fvf != kGridFvf) {
    Device()->SetFVF(kGridFvf);
    cache.fvf = kGridFvf;
  }
  const int vertexCount = columns * rows;
  std::uint16_t indices[kMaxIndices + 2];
  int count = 0;
  for (int row = 0; row + 1 < rows; ++row) {
    // A joined row pair repeats the last index and its own first one.
    const int needed = 2 * columns + (count > 0 ? 2 : 0);
    if (count + needed > kMaxIndices) {
      DrawStrip(indices, count, vertices, vertexCount);
      count = 0;
    }
    const int base = row * columns;
    if (count > 0) {
      indices[count] = indices[count - 1];
      ++count;
      indices[count++] = static_cast<std::uint16_t>(base + columns);
    }
    for (int column = 0; column < columns; ++column) {
      indices[count++] = static_cast<std::uint16_t>(base + columns + column);
      indices[count++] = static_cast<std::uint16_t>(base + column);
    }
  }
  DrawStrip(indices, count, vertices, vertexCount);
  return 0;
}
