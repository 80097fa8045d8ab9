// The triangle kernels of the software renderer: an image mapped affinely
// onto a triangle (or filled with one colour), and a whole image drawn onto
// four points as two triangles, under the renderer state (DrawArea,
// BlendMode, BlendParam, DrawBright). Neither reports anything: a refused
// or empty draw leaves the destination untouched.
#pragma once

#include <cstdint>

#include "image/memimg.h"

// A corner: destination pixel (x, y) and source texel position (u, v),
// where 0..width and 0..height span the whole source.
struct TriVertex {
  std::int32_t x;
  std::int32_t y;
  std::int32_t u;
  std::int32_t v;
};

// Draws the triangle of vertices[0..2]. With a source, each covered pixel
// takes the texel the plane through the vertices assigns to it
// (transparent non-zero skips the transparent colour, or with alpha the
// alpha 0; blend, when not null, weights each texel by the byte at the
// texel's position). With a null source the triangle is filled with colour,
// a pixel value of the destination's format, tinted by DrawBright. Vertices
// or vertex differences beyond +-8,191 pixels draw nothing.
void MemImgDrawTriangle(MEMIMG* dst, const MEMIMG* src, const TriVertex* vertices, int transparent,
                        const MEMIMG* blend, std::uint32_t colour);

// Draws src with its top-left, top-right, bottom-left and bottom-right
// corners at points {x0, y0, ..., x3, y3}: the triangles 0-1-2 and then
// 1-2-3, which share the edge from point 1 to point 2.
void MemImgDrawQuad(MEMIMG* dst, const MEMIMG* src, const std::int32_t* points, int transparent,
                    const MEMIMG* blend);
