#include "gdi32/glyph_bitmap.h"

#include "platform/gdi32.h"

namespace wqplat {
namespace {

int GrayLevels(UINT format) { return format == GGO_GRAY8_BITMAP ? 64 : 16; }

bool SourcePixelSet(const std::uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

}  // namespace

int GlyphRowPitch(UINT format, int width) {
  const int row_bytes = format == GGO_BITMAP ? (width + 7) / 8 : width;
  return (row_bytes + 3) & ~3;
}

std::vector<std::uint8_t> ConvertGlyphRows(const CoverageBitmap& source, int first_row,
                                           int width, int height, UINT format) {
  const int pitch = GlyphRowPitch(format, width);
  std::vector<std::uint8_t> out(static_cast<size_t>(pitch) * height, 0);
  const int levels = GrayLevels(format);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src = source.rows + static_cast<ptrdiff_t>(first_row + y) * source.pitch;
    std::uint8_t* dst = out.data() + static_cast<size_t>(y) * pitch;
    for (int x = 0; x < width; ++x) {
      const int coverage = source.mono ? (SourcePixelSet(src, x) ? 255 : 0) : src[x];
      if (format == GGO_BITMAP) {
        // Half coverage or more counts as ink when a gray rendering is
        // reduced to bits.
        if (coverage >= 128) dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
      } else {
        dst[x] = static_cast<std::uint8_t>((coverage * levels + 127) / 255);
      }
    }
  }
  return out;
}

}  // namespace wqplat
