// Writing one rasterised glyph into a cache cell: the edge shapes round the
// glyph's pixels, and the pixel codes of the memory cache (bits, or bytes
// holding a glyph and an edge value) and of the texture cache (16-bit
// texels with alpha, the edge mask in a second half).
#pragma once

#include <cstdint>

#include "WqLib.h"

// A glyph as levels, one byte a pixel: 0 or 1 for a plain glyph, 0 to 16
// for an anti-aliased one.
struct GlyphLevels {
  const std::uint8_t* levels;
  int width;
  int height;
};

// A rectangle of pixels: `pixels` points at its top-left; writes stay
// inside width x height.
struct CellCanvas {
  std::uint8_t* pixels;
  int pitch;
  int width;
  int height;
};

// 1 when the edge shape of that size covers the offset from a glyph pixel.
bool EdgeShapeCovers(int edge, int dx, int dy);

// Memory cache: font type 0 sets bits (most significant bit leftmost);
// types 1 to 3 write bytes. The glyph lands at (edge, edge).
void WriteMemoryGlyph(int fontType, int edge, const GlyphLevels& glyph, const CellCanvas& cell);

// Texture cache, in the 16- or 32-bit texel format given: the glyph half
// and, for edged types, the edge half (same size). Types 0 and 2 write the
// whole cell; types 1 and 3 the glyph box grown by the edge.
void WriteTextureGlyph(int fontType, int edge, const GlyphLevels& glyph, const ColorFormat& format,
                       const CellCanvas& glyphHalf, const CellCanvas& edgeHalf);
