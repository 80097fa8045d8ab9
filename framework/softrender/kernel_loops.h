// What the image kernels hand to their pixel loops, and the loop tables:
// one loop per combination for each colour type and palette flag,
// instantiated in the blit_loops_*.cpp and stretch_loops_*.cpp files and
// picked by combination index before the first pixel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "softrender/blend_combo.h"
#include "softrender/pixel_context.h"
#include "softrender/pixel_formats.h"

// One source pixel onto one destination pixel, row after row.
struct BlitJob {
  const std::uint8_t* source;  // first drawn source pixel
  std::ptrdiff_t sourcePitch;
  std::uint8_t* destination;  // first drawn destination pixel
  std::ptrdiff_t destinationPitch;
  const std::uint8_t* blend;  // the blend byte of the first drawn pixel, or null
  std::ptrdiff_t blendPitch;
  int width;
  int height;
  const std::uint8_t* runs;  // the run-length stream (run-length loops)
  PixelContext pixel;
};
using BlitLoopFn = void (*)(const BlitJob&);

// Nearest-pixel scaling: the source column of every destination column,
// the same on every row, and a 16.16 error term stepping the rows.
struct StretchJob {
  const std::uint8_t* source;  // the source pixel of the first drawn pixel
  std::ptrdiff_t sourcePixelStep;  // negative when mirrored
  std::ptrdiff_t sourceRowStep;
  const std::uint8_t* blend;
  std::ptrdiff_t blendPixelStep;
  std::ptrdiff_t blendRowStep;
  std::uint8_t* destination;
  std::ptrdiff_t destinationPitch;
  int width;
  int height;
  const std::int32_t* columnSteps;  // source pixel steps from the first drawn column, per column
  std::int64_t yRatio;  // destination rows per source row, 16.16
  std::int64_t yErrorStart;
  PixelContext pixel;
};
using StretchLoopFn = void (*)(const StretchJob&);

template <class Px, bool Palette>
struct ImageBlitKernel {
  using LoopFn = BlitLoopFn;
  static constexpr Combo Fold(Combo combo) { return CanonicalCombo<BlitPolicy>(combo, Palette); }
  template <Combo C>
  static void Loop(const BlitJob& job);
};

// The stream decides what is drawn, so the transparent flag selects nothing.
template <class Px, bool Palette>
struct RunLengthKernel {
  using LoopFn = BlitLoopFn;
  static constexpr Combo Fold(Combo combo) {
    combo = CanonicalCombo<PlainPolicy>(combo, Palette);
    combo.keyed = false;
    return combo;
  }
  template <Combo C>
  static void Loop(const BlitJob& job);
};

template <class Px, bool Palette>
struct StretchBlitKernel {
  using LoopFn = StretchLoopFn;
  static constexpr Combo Fold(Combo combo) { return CanonicalCombo<PlainPolicy>(combo, Palette); }
  template <Combo C>
  static void Loop(const StretchJob& job);
};

// The loop of Kernel for a combination index (see ComboIndex).
template <class Kernel>
typename Kernel::LoopFn PickLoop(std::size_t combo);

// Picks the loop of Kernel<Px, Palette> for a source of the given colour
// type and palette flag; null for a colour type that is never drawn.
template <template <class, bool> class Kernel>
typename Kernel<Rgb32, false>::LoopFn PickKernelLoop(int colorType, bool palette, std::size_t combo) {
  if (colorType == 1) return palette ? PickLoop<Kernel<Rgb32, true>>(combo) : PickLoop<Kernel<Rgb32, false>>(combo);
  if (colorType == 0) return palette ? PickLoop<Kernel<Rgb565, true>>(combo) : PickLoop<Kernel<Rgb565, false>>(combo);
  return nullptr;
}
