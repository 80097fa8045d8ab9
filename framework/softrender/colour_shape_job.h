// What the rectangle fill and the circles hand to their loops, and their
// loop kinds: one loop per drawn mode and destination colour type, the
// colour drawn through the flat triangle's colour operation.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/memimg.h"
#include "softrender/blend_combo.h"
#include "softrender/draw_clip.h"
#include "softrender/pixel_context.h"

struct ColourShapeJob {
  std::uint8_t* destination;  // the view's first pixel
  std::ptrdiff_t pitch;
  DrawBox box;  // the fill's rectangle, or a circle's clip (both already inside the destination)
  std::int64_t x;  // a circle's centre and radius
  std::int64_t y;
  std::int64_t radius;
  std::uint8_t* rowDone;  // a filled circle's mark per row of its clip, all 0 at the start
  std::uint32_t colour;   // after its tint
  PixelContext pixel;
};
using ColourShapeLoopFn = void (*)(const ColourShapeJob&);

template <class Px>
struct RectFillKernel : OneColourFold {
  using LoopFn = ColourShapeLoopFn;
  template <Combo C>
  static void Loop(const ColourShapeJob& job);
};

template <class Px>
struct FilledCircleKernel : OneColourFold {
  using LoopFn = ColourShapeLoopFn;
  template <Combo C>
  static void Loop(const ColourShapeJob& job);
};

template <class Px>
struct CircleOutlineKernel : OneColourFold {
  using LoopFn = ColourShapeLoopFn;
  template <Combo C>
  static void Loop(const ColourShapeJob& job);
};

// The loop of Kernel<Px> for the destination's colour type and the current
// BlendMode and BlendParam (the flat triangle's rules), or null when the
// call draws nothing.
template <template <class> class Kernel>
ColourShapeLoopFn PickColourShapeLoop(const MEMIMG* dst);

// The part of a job every colour kernel sets the same way: the destination,
// the table rows and the colour, its RGB565 value taken as the low 16 bits
// and tinted when DrawBright is not white by (channel x bright) >> 8, the
// fourth byte of a 32-bit colour kept.
void StartColourShapeJob(MEMIMG* dst, std::uint32_t colour, ColourShapeJob& job);

// A destination the colour kernels draw into: neither palettised nor
// carrying alpha.
bool CanFillColour(const MEMIMG* dst);
