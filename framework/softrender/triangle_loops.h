// The pixel loops of the triangle kernel: the walk of rows and spans down
// both edges, written once and copied into every loop with its own pixel
// operation.
#pragma once

#include <algorithm>

#include "softrender/loop_table.h"
#include "softrender/pixel_ops.h"
#include "softrender/triangle_job.h"

// Walks the rows from the top vertex; each row's span runs from the left
// edge to the right edge, both ends included, clipped to the draw area, and
// is handed to span(row, first x, pixel count). The bottom vertex's row is
// not drawn. When the left edge turns at the middle vertex the row is set
// back to the middle vertex's row (for a triangle that starts above row 0
// that row is drawn twice); the right edge turns without it.
template <class Span>
inline void WalkTriangle(const TriangleJob& job, Span span) {
  TriangleEdge left = job.left;
  TriangleEdge right = job.right;
  bool hasLeftLower = job.hasLeftLower;
  bool hasRightLower = job.hasRightLower;
  std::int32_t row = job.firstRow;
  for (;;) {
    if (row >= job.clip.top && row < job.clip.bottom) {
      const std::int32_t first = std::max(FixedToWhole(left.x), job.clip.left);
      const std::int32_t count = FixedToWhole(right.x) - first + 1;
      if (first < job.clip.right && count > 0) span(row, first, std::min(count, job.clip.right - first));
    }
    left.x += left.slope;
    right.x += right.slope;
    ++row;
    if (--left.rows == 0) {
      if (!hasLeftLower) return;
      left = job.leftLower;
      hasLeftLower = false;
      row = job.middleRow;
    }
    if (--right.rows == 0) {
      if (!hasRightLower) return;
      right = job.rightLower;
      hasRightLower = false;
    }
  }
}

// Every pixel of a span takes the plane's texel at its own position; a
// texel outside the source (as unsigned 14.18 values) is skipped.
template <class Px, bool Palette>
template <Combo C>
void TriangleKernel<Px, Palette>::Loop(const TriangleJob& job) {
  using Source = SourcePixels<Px, Palette, C.alpha>;
  WalkTriangle(job, [&job](std::int32_t row, std::int32_t first, std::int32_t count) {
    const auto across = static_cast<std::uint32_t>(first - job.x0);
    const auto down = static_cast<std::uint32_t>(row - job.y0);
    std::uint32_t u = job.u0 + across * job.dudx + down * job.dudy;
    std::uint32_t v = job.v0 + across * job.dvdx + down * job.dvdy;
    std::uint8_t* dp = job.destination + row * job.destinationPitch + static_cast<std::ptrdiff_t>(first) * Px::kBytes;
    for (std::int32_t i = 0; i < count; ++i, u += job.dudx, v += job.dvdx, dp += Px::kBytes) {
      if (u >= job.limitU || v >= job.limitV) continue;
      const std::ptrdiff_t column = u >> 18;
      const std::ptrdiff_t texelRow = v >> 18;
      const std::uint8_t* sp = job.source + texelRow * job.sourcePitch + column * Source::kBytes;
      const std::uint8_t* bp = C.blend ? job.blend + texelRow * job.blendPitch + column : nullptr;
      DrawSourcePixel<Px, Palette, C, TrianglePolicy>(sp, bp, dp, job.pixel);
    }
  });
}

template <class Px>
template <Combo C>
void FlatTriangleKernel<Px>::Loop(const TriangleJob& job) {
  WalkTriangle(job, [&job](std::int32_t row, std::int32_t first, std::int32_t count) {
    std::uint8_t* dp = job.destination + row * job.destinationPitch + static_cast<std::ptrdiff_t>(first) * Px::kBytes;
    for (std::int32_t i = 0; i < count; ++i, dp += Px::kBytes) DrawFlatColour<Px, C.mode>(dp, job.colour, job.pixel);
  });
}
