// A slow model of the image kernels, one pixel at a time, written from the
// per-channel rules (64-bit integers, explicit floors, the blend mode
// switched on at run time) and not from the kernels. The differential tests
// compare every byte the kernels write with it.
#pragma once

#include <vector>

#include "image/memimg.h"
#include "platform/windows.h"
#include "softrender/colour_shapes.h"
#include "softrender/triangle.h"

namespace reference {

void Blit(MEMIMG* dst, const MEMIMG* src, int x, int y, int transparent, const MEMIMG* blend);
void StretchBlit(MEMIMG* dst, const MEMIMG* src, const RECT* corners, int transparent, const MEMIMG* blend);
void RotateBlit(MEMIMG* dst, const MEMIMG* src, int x, int y, float angle, float scale, int transparent, int turn,
                const MEMIMG* blend);
void DrawTriangle(MEMIMG* dst, const MEMIMG* src, const TriVertex* vertices, int transparent, const MEMIMG* blend,
                  std::uint32_t colour);
void DrawQuad(MEMIMG* dst, const MEMIMG* src, const std::int32_t* points, int transparent, const MEMIMG* blend);
void FillRect(MEMIMG* dst, const RECT* rect, std::uint32_t colour);
void DrawCircle(MEMIMG* dst, int x, int y, int radius, std::uint32_t colour, std::uint32_t fill);
// How often the circle walk of a radius emits each offset from the centre,
// in the order of rows, then columns.
struct CirclePoint {
  int dx;
  int dy;
  int count;
};
std::vector<CirclePoint> CircleOutline(int radius);

}  // namespace reference
