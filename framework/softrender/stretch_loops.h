// The pixel loop of the stretched blit: nearest-pixel sampling with 16.16
// error terms. A source pixel is drawn again while the error stays positive
// and skipped over while it is not, across and down alike.
#pragma once

#include "softrender/kernel_loops.h"
#include "softrender/loop_table.h"
#include "softrender/pixel_ops.h"

template <class Px, bool Palette>
template <Combo C>
void StretchBlitKernel<Px, Palette>::Loop(const StretchJob& job) {
  const std::uint8_t* sourceRow = job.source;
  const std::uint8_t* blendRow = job.blend;
  std::uint8_t* destinationRow = job.destination;
  std::int64_t yError = job.yErrorStart;
  for (int row = 0;;) {
    const std::uint8_t* sp = sourceRow;
    const std::uint8_t* bp = blendRow;
    std::uint8_t* dp = destinationRow;
    std::int64_t xError = job.xErrorStart;
    for (int x = 0;;) {
      DrawSourcePixel<Px, Palette, C, PlainPolicy>(sp, bp, dp, job.pixel);
      if (++x == job.width) break;
      dp += Px::kBytes;
      for (xError -= 0x10000; xError <= 0; xError += job.xRatio) {
        sp += job.sourcePixelStep;
        if constexpr (C.blend) bp += job.blendPixelStep;
      }
    }
    if (++row == job.height) break;
    destinationRow += job.destinationPitch;
    for (yError -= 0x10000; yError <= 0; yError += job.yRatio) {
      sourceRow += job.sourceRowStep;
      if constexpr (C.blend) blendRow += job.blendRowStep;
    }
  }
}
