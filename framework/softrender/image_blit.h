// The image blits of the software renderer: a whole source image drawn at a
// point, and drawn scaled into a rectangle, under the renderer state
// (DrawArea, BlendMode, BlendParam, DrawBright). Neither reports anything:
// a refused or empty draw leaves the destination untouched.
#pragma once

#include "image/memimg.h"
#include "platform/windows.h"

// Draws src with its top-left pixel at (x, y). transparent non-zero skips
// the source's transparent colour (or, with alpha, alpha 0); blend, when
// not null, is a one-byte-per-pixel image weighting each source pixel.
void MemImgBlit(MEMIMG* dst, const MEMIMG* src, int x, int y, int transparent, const MEMIMG* blend);

// Draws src scaled into the rectangle corners = {x1, y1, x2, y2} (x2 and y2
// exclusive); corners given in reverse order mirror that axis.
void MemImgStretchBlit(MEMIMG* dst, const MEMIMG* src, const RECT* corners, int transparent, const MEMIMG* blend);
