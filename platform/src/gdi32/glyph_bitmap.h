// Copying a rendered glyph into GetGlyphOutlineA's row layout.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/wintypes.h"

namespace wqplat {

// A rendered glyph: for GGO_BITMAP one bit per pixel (most significant
// first), for the gray formats one byte of coverage 0 to 255 per pixel.
struct RenderedRows {
  const std::uint8_t* rows = nullptr;
  int pitch = 0;  // bytes from one row to the next
};

// Bytes per output row for a box width in a GGO format: rows padded to 4.
int GlyphRowPitch(UINT format, int width);

// The width x height box starting at row first_row of the source, as rows of
// GlyphRowPitch bytes: bits for GGO_BITMAP, levels 0..16 or 0..64 for
// GGO_GRAY4_BITMAP and GGO_GRAY8_BITMAP.
std::vector<std::uint8_t> ConvertGlyphRows(const RenderedRows& source, int first_row, int width,
                                           int height, UINT format);

}  // namespace wqplat
