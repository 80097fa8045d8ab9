// The pixel loop of the stretched blit: nearest-pixel sampling, the columns
// from the call's table, the rows stepped by a 16.16 error term (a source
// row drawn again while the error stays positive, skipped while it is not).
#pragma once

#include <cstring>

#include "softrender/kernel_loops.h"
#include "softrender/loop_table.h"
#include "softrender/pixel_ops.h"

template <class Px, bool Palette>
template <Combo C>
void StretchBlitKernel<Px, Palette>::Loop(const StretchJob& job) {
  // A copy's row depends on its source row alone: a repeated source row
  // repeats the destination row above.
  constexpr bool kRowRepeats = C.mode == 0 && !C.blend && !C.tint && !C.alpha && !C.keyed;
  const std::uint8_t* sourceRow = job.source;
  const std::uint8_t* blendRow = job.blend;
  std::uint8_t* destinationRow = job.destination;
  const std::uint8_t* previousSourceRow = nullptr;
  std::int64_t yError = job.yErrorStart;
  for (int row = 0;;) {
    if (kRowRepeats && sourceRow == previousSourceRow) {
      std::memcpy(destinationRow, destinationRow - job.destinationPitch,
                  static_cast<std::size_t>(job.width) * Px::kBytes);
    } else {
      std::uint8_t* dp = destinationRow;
      for (int x = 0; x < job.width; ++x, dp += Px::kBytes) {
        const std::ptrdiff_t steps = job.columnSteps[x];
        DrawSourcePixel<Px, Palette, C, PlainPolicy>(sourceRow + steps * job.sourcePixelStep,
                                                     C.blend ? blendRow + steps * job.blendPixelStep : nullptr, dp,
                                                     job.pixel);
      }
    }
    if (++row == job.height) break;
    previousSourceRow = sourceRow;
    destinationRow += job.destinationPitch;
    for (yError -= 0x10000; yError <= 0; yError += job.yRatio) {
      sourceRow += job.sourceRowStep;
      if constexpr (C.blend) blendRow += job.blendRowStep;
    }
  }
}
