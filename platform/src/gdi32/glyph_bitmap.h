// Copying a rendered glyph into GetGlyphOutlineA's row layout.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/wintypes.h"

namespace wqplat {

// A rendered coverage bitmap: one bit per pixel (most significant first) when
// mono, else one byte of coverage 0 to 255 per pixel.
struct CoverageBitmap {
  const std::uint8_t* rows = nullptr;
  int pitch = 0;  // bytes from one row to the next
  bool mono = false;
};

// Bytes per output row for a box width in a GGO format: rows padded to 4.
int GlyphRowPitch(UINT format, int width);

// The width x height box starting at row first_row of the source, as rows of
// GlyphRowPitch bytes: bits for GGO_BITMAP, levels 0..16 or 0..64 for
// GGO_GRAY4_BITMAP and GGO_GRAY8_BITMAP.
std::vector<std::uint8_t> ConvertGlyphRows(const CoverageBitmap& source, int first_row,
                                           int width, int height, UINT format);

}  // namespace wqplat
