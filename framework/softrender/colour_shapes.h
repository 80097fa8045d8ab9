// The colour kernels of the software renderer beside the flat triangle: a
// filled rectangle and a filled or outlined circle of one colour, drawn
// under the renderer state (DrawArea, BlendMode, BlendParam, DrawBright).
// The colour is a pixel value of the destination's format (an RGB565 colour
// is taken as its low 16 bits). Neither reports anything: a refused or empty
// draw leaves the destination untouched.
#pragma once

#include <cstdint>

#include "image/memimg.h"
#include "platform/windows.h"

// Fills rect (right and bottom exclusive, either pair of edges may be given
// reversed; null fills the whole destination) clipped to DrawArea and the
// destination. Palettised and alpha-carrying destinations are refused.
void MemImgFillRect(MEMIMG* dst, const RECT* rect, std::uint32_t colour);

// Draws the circle of the integer midpoint walk about (x, y): filled (every
// pixel once, row by row) when fill is non-zero, otherwise its outline, each
// point changed as often as the walk emits it (the diagonal points of some
// radii twice, the centre of radius 0 four times). Negative radii and
// palettised or alpha-carrying destinations are refused.
void MemImgDrawCircle(MEMIMG* dst, std::int32_t x, std::int32_t y, std::int32_t radius, std::uint32_t colour,
                      std::uint32_t fill);
