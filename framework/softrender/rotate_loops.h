// The pixel loops of the rotated blit: every pixel of the box takes the
// source texel under its stepped 14.18 position, found through the call's
// row tables, and is drawn by the pixel library under the rules the
// triangle kernel shares. Each row is first cut to the span whose positions
// fall inside the source, worked out exactly from the row's start and
// steps, so the pixels in between need no bounds test; the pixels outside
// the span are the ones a per-pixel test would skip.
#pragma once

#include <algorithm>

#include "softrender/kernel_loops.h"
#include "softrender/loop_table.h"
#include "softrender/pixel_ops.h"
#include "softrender/rotate_mapping.h"

// What the rotated blit hands to its loop.
struct RotateJob {
  const std::uint8_t* const* sourceRows;  // first pixel of each source row
  const std::uint8_t* const* blendRows;   // first byte of each blend-image row, or null
  std::uint8_t* destination;              // the box's first pixel
  std::ptrdiff_t destinationPitch;
  int width;  // of the box
  int height;
  std::int64_t u0, v0, stepU, stepV, rowU, rowV;  // the inverse mapping, 14.18
  std::int64_t uLimit, vLimit;                    // source width and height, 14.18
  PixelContext pixel;
};
using RotateLoopFn = void (*)(const RotateJob&);

template <class Px, bool Palette>
struct RotateBlitKernel {
  using LoopFn = RotateLoopFn;
  static constexpr Combo Fold(Combo combo) { return CanonicalCombo<TrianglePolicy>(combo, Palette); }
  template <Combo C>
  static void Loop(const RotateJob& job);
};

namespace rotate_span {

inline std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  std::int64_t quotient = value / divisor;
  if (value % divisor != 0 && (value < 0) != (divisor < 0)) --quotient;
  return quotient;
}
inline std::int64_t CeilDiv(std::int64_t value, std::int64_t divisor) { return -FloorDiv(-value, divisor); }

// Narrows [first, last] to the i for which 0 <= start + i x step < limit.
inline void Narrow(std::int64_t start, std::int64_t step, std::int64_t limit, std::int64_t& first,
                   std::int64_t& last) {
  if (step == 0) {
    if (start < 0 || start >= limit) last = first - 1;
    return;
  }
  const std::int64_t low = step > 0 ? CeilDiv(-start, step) : CeilDiv(limit - 1 - start, step);
  const std::int64_t high = step > 0 ? FloorDiv(limit - 1 - start, step) : FloorDiv(-start, step);
  first = std::max(first, low);
  last = std::min(last, high);
}

}  // namespace rotate_span

template <class Px, bool Palette>
template <Combo C>
void RotateBlitKernel<Px, Palette>::Loop(const RotateJob& job) {
  using Source = SourcePixels<Px, Palette, C.alpha>;
  std::int64_t rowU = job.u0, rowV = job.v0;
  std::uint8_t* destinationRow = job.destination;
  for (int row = 0; row < job.height;
       ++row, rowU += job.rowU, rowV += job.rowV, destinationRow += job.destinationPitch) {
    std::int64_t first = 0, last = job.width - 1;
    rotate_span::Narrow(rowU, job.stepU, job.uLimit, first, last);
    rotate_span::Narrow(rowV, job.stepV, job.vLimit, first, last);
    std::int64_t u = rowU + first * job.stepU, v = rowV + first * job.stepV;
    std::uint8_t* dp = destinationRow + first * Px::kBytes;
    for (std::int64_t i = first; i <= last; ++i, u += job.stepU, v += job.stepV, dp += Px::kBytes) {
      const std::int64_t column = u >> kFixedShift, sourceRow = v >> kFixedShift;
      const std::uint8_t* sp = job.sourceRows[sourceRow] + column * Source::kBytes;
      const std::uint8_t* bp = C.blend ? job.blendRows[sourceRow] + column : nullptr;
      DrawSourcePixel<Px, Palette, C, TrianglePolicy>(sp, bp, dp, job.pixel);
    }
  }
}
