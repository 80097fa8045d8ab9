#include "gdi32/glyph_bitmap.h"

#include <cstring>

#include "platform/gdi32.h"

namespace wqplat {
namespace {

// Coverage 0..255 to the format's levels, rounded to nearest.
struct LevelTable {
  explicit LevelTable(int levels) {
    for (int coverage = 0; coverage < 256; ++coverage) {
      level[coverage] = static_cast<std::uint8_t>((coverage * levels + 127) / 255);
    }
  }
  std::uint8_t level[256];
};

const LevelTable& LevelsOf(UINT format) {
  static const LevelTable gray4(16);
  static const LevelTable gray8(64);
  return format == GGO_GRAY8_BITMAP ? gray8 : gray4;
}

void CopyBitRow(const std::uint8_t* src, int width, std::uint8_t* dst) {
  const int bytes = (width + 7) / 8;
  std::memcpy(dst, src, bytes);
  // Bits past the box (a box cut narrower than the rendering) stay clear.
  if (width % 8) dst[bytes - 1] &= static_cast<std::uint8_t>(0xFF00 >> (width % 8));
}

void ConvertGrayRow(const std::uint8_t* src, int width, const LevelTable& levels, std::uint8_t* dst) {
  for (int x = 0; x < width; ++x) dst[x] = levels.level[src[x]];
}

}  // namespace

int GlyphRowPitch(UINT format, int width) {
  const int row_bytes = format == GGO_BITMAP ? (width + 7) / 8 : width;
  return (row_bytes + 3) & ~3;
}

std::vector<std::uint8_t> ConvertGlyphRows(const RenderedRows& source, int first_row, int width,
                                           int height, UINT format) {
  const int pitch = GlyphRowPitch(format, width);
  std::vector<std::uint8_t> out(static_cast<size_t>(pitch) * height, 0);
  const LevelTable& levels = LevelsOf(format);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src = source.rows + static_cast<ptrdiff_t>(first_row + y) * source.pitch;
    std::uint8_t* dst = out.data() + static_cast<size_t>(y) * pitch;
    if (format == GGO_BITMAP) {
      CopyBitRow(src, width, dst);
    } else {
      ConvertGrayRow(src, width, levels, dst);
    }
  }
  return out;
}

}  // namespace wqplat
