// The rotated blit of the software renderer: a whole source image turned
// and scaled about a centre point, under the renderer state (DrawArea,
// BlendMode, BlendParam, DrawBright). It reports nothing: a refused or empty
// draw leaves the destination untouched.
#pragma once

#include "image/memimg.h"

// Draws src turned by angle (radians, clockwise on the screen) and scaled
// by scale about (x, y), where the source's centre texel (width / 2,
// height / 2, rounded down) lands. transparent non-zero skips the source's
// transparent colour (or, with alpha, alpha 0); blend, when not null, is a
// one-byte-per-pixel image read at the source's coordinates. turn non-zero
// draws the image mirrored left to right, through the quad drawing.
void MemImgRotateBlit(MEMIMG* dst, const MEMIMG* src, int x, int y, float angle, float scale, int transparent,
                      int turn, const MEMIMG* blend);
