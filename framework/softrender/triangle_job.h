// What the triangle set-up hands to the pixel loops: the two edges with
// their second segments, the texture plane, and the loop kernels, one loop
// per combination for each colour type and palette flag (instantiated in
// the triangle_loops_*.cpp files).
#pragma once

#include <cstddef>
#include <cstdint>

#include "softrender/blend_combo.h"
#include "softrender/draw_clip.h"
#include "softrender/pixel_context.h"

// Positions are 14.18 fixed point: value x 262,144.
inline constexpr std::int32_t kFixedOne = 262144;

// A fixed-point position as whole pixels, truncated toward zero (-0.5
// becomes 0), never floored.
constexpr std::int32_t FixedToWhole(std::int32_t fixed) { return fixed / kFixedOne; }

// One segment of an edge: its x at the current row, its step per row and
// the rows it has left.
struct TriangleEdge {
  std::int32_t x;
  std::int32_t slope;
  std::int32_t rows;
};

struct TriangleJob {
  TriangleEdge left;
  TriangleEdge right;
  TriangleEdge leftLower;  // taken when the left edge runs out (hasLeftLower)
  TriangleEdge rightLower;
  bool hasLeftLower;
  bool hasRightLower;
  std::int32_t firstRow;
  std::int32_t middleRow;  // where the left edge's lower segment starts again
  DrawBox clip;            // DrawArea inside the destination
  std::uint8_t* destination;
  std::ptrdiff_t destinationPitch;
  // The textured path: the plane at pixel (x0, y0) and its gradients, in
  // 14.18 texels; texel coordinates wrap as unsigned 32-bit values.
  const std::uint8_t* source;
  std::ptrdiff_t sourcePitch;
  const std::uint8_t* blend;
  std::ptrdiff_t blendPitch;
  std::uint32_t limitU;  // source width and height in 14.18
  std::uint32_t limitV;
  std::int32_t x0;
  std::int32_t y0;
  std::uint32_t u0;
  std::uint32_t v0;
  std::uint32_t dudx;
  std::uint32_t dudy;
  std::uint32_t dvdx;
  std::uint32_t dvdy;
  // The flat path: the colour after its tint.
  std::uint32_t colour;
  PixelContext pixel;
};
using TriangleLoopFn = void (*)(const TriangleJob&);

template <class Px, bool Palette>
struct TriangleKernel {
  using LoopFn = TriangleLoopFn;
  static constexpr Combo Fold(Combo combo) { return CanonicalCombo<TrianglePolicy>(combo, Palette); }
  template <Combo C>
  static void Loop(const TriangleJob& job);
};

template <class Px>
struct FlatTriangleKernel : OneColourFold {
  using LoopFn = TriangleLoopFn;
  template <Combo C>
  static void Loop(const TriangleJob& job);
};
