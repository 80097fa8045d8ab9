// The quad: a whole image on four points as two triangles, after a quick
// test of the points' box (with a margin) against the draw area.
#include <algorithm>

#include "softrender/draw_clip.h"
#include "softrender/triangle.h"

void MemImgDrawQuad(MEMIMG* dst, const MEMIMG* src, const std::int32_t* points, int transparent,
                    const MEMIMG* blend) {
  if (src == nullptr) return;
  std::int64_t left = points[0], right = points[0], top = points[1], bottom = points[1];
  for (int i = 1; i < 4; ++i) {
    left = std::min<std::int64_t>(left, points[2 * i]);
    right = std::max<std::int64_t>(right, points[2 * i]);
    top = std::min<std::int64_t>(top, points[2 * i + 1]);
    bottom = std::max<std::int64_t>(bottom, points[2 * i + 1]);
  }
  if (ClipToDrawArea(dst, left - 2, top - 2, right + 4, bottom + 4).Empty()) return;
  const std::int32_t w = src->width, h = src->height;
  const TriVertex corners[4] = {
      {points[0], points[1], 0, 0}, {points[2], points[3], w, 0}, {points[4], points[5], 0, h}, {points[6], points[7], w, h}};
  MemImgDrawTriangle(dst, src, corners, transparent, blend, 0);
  MemImgDrawTriangle(dst, src, corners + 1, transparent, blend, 0);
}
