// Deep space behind the playfield and the screens: a dark gradient,
// nebula clouds and stars.
#pragma once

#include <cstdint>

#include "canvas.h"

namespace assetgen {

struct SpaceStyle {
  std::uint32_t seed;
  Color top, bottom;          // the gradient
  Color nebulaA, nebulaB;     // the two cloud colours
  float nebulaStrength;       // 0..1
  int stars;                  // number of stars
  bool tileVertically;        // the picture repeats top to bottom seamlessly
};

void PaintSpace(Canvas& canvas, const SpaceStyle& style);

// A four-pointed sparkle of light (added light: for opaque pictures).
void Sparkle(Canvas& canvas, float x, float y, float size, const Color& color);

}  // namespace assetgen
