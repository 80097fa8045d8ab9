// Glyph pixels into cache cells, with the edge shapes.
#include "text/glyph_raster.h"

#include <algorithm>
#include <cstring>

namespace {

// Rows top to bottom of the edge shapes of sizes 2 to 4.
constexpr const char* kEdge2[] = {"01110", "11111", "11111", "11111", "01110"};
constexpr const char* kEdge3[] = {"0001000", "0111110", "0111110", "1111111", "0111110", "0111110", "0001000"};
constexpr const char* kEdge4[] = {"001111100", "011111110", "111111111", "111111111", "111111111",
                                  "111111111", "111111111", "011111110", "001111100"};

// Calls visit(x, y) for every cell pixel the edge shape round the glyph
// pixel (gx, gy) covers, inside the canvas.
template <typename Visit>
void ForEachEdgePixel(int edge, int gx, int gy, const CellCanvas& canvas, Visit visit) {
  for (int dy = -edge; dy <= edge; ++dy) {
    const int y = edge + gy + dy;
    if (y < 0 || y >= canvas.height) continue;
    for (int dx = -edge; dx <= edge; ++dx) {
      const int x = edge + gx + dx;
      if (x < 0 || x >= canvas.width || !EdgeShapeCovers(edge, dx, dy)) continue;
      visit(x, y);
    }
  }
}

// Calls visit(x, y, level) for every glyph pixel of a non-zero level that
// lands inside the canvas.
template <typename Visit>
void ForEachGlyphPixel(const GlyphLevels& glyph, int edge, const CellCanvas& canvas, Visit visit) {
  for (int gy = 0; gy < glyph.height; ++gy) {
    for (int gx = 0; gx < glyph.width; ++gx) {
      const int level = glyph.levels[gy * glyph.width + gx];
      if (level == 0) continue;
      visit(gx, gy, level, edge + gx < canvas.width && edge + gy < canvas.height);
    }
  }
}

std::uint8_t& ByteAt(const CellCanvas& canvas, int x, int y) { return canvas.pixels[y * canvas.pitch + x]; }

// Texel access in 2- or 4-byte pixels.
struct Texels {
  const CellCanvas& canvas;
  int bytes;
  std::uint32_t Get(int x, int y) const {
    const std::uint8_t* at = canvas.pixels + y * canvas.pitch + x * bytes;
    if (bytes == 2) {
      std::uint16_t value;
      std::memcpy(&value, at, 2);
      return value;
    }
    std::uint32_t value;
    std::memcpy(&value, at, 4);
    return value;
  }
  void Set(int x, int y, std::uint32_t value) const {
    std::uint8_t* at = canvas.pixels + y * canvas.pitch + x * bytes;
    if (bytes == 2) {
      const auto narrow = static_cast<std::uint16_t>(value);
      std::memcpy(at, &narrow, 2);
    } else {
      std::memcpy(at, &value, 4);
    }
  }
};

// Level 1 to 16 as a texel: the level at the top of the alpha bits, less
// one, over white; level 0 is transparent white.
std::uint32_t LevelTexel(int level, const ColorFormat& format) {
  const std::uint32_t white = format.redMask | format.greenMask | format.blueMask;
  if (level == 0) return white;
  const int top = format.alphaShift + format.alphaWidth - 4;
  const std::uint64_t value = (static_cast<std::uint64_t>(level) << top) - 1;
  return (static_cast<std::uint32_t>(value) & (format.alphaMask | white)) | white;
}

}  // namespace

bool EdgeShapeCovers(int edge, int dx, int dy) {
  if (dx < -edge || dx > edge || dy < -edge || dy > edge) return false;
  switch (edge) {
    case 1:
      return (dx == 0) != (dy == 0);
    case 2:
      return kEdge2[dy + 2][dx + 2] == '1';
    case 3:
      return kEdge3[dy + 3][dx + 3] == '1';
    case 4:
      return kEdge4[dy + 4][dx + 4] == '1';
    default:
      return edge > 4;
  }
}

void WriteMemoryGlyph(int fontType, int edge, const GlyphLevels& glyph, const CellCanvas& cell) {
  switch (fontType) {
    case 0:
      ForEachGlyphPixel(glyph, 0, cell, [&](int gx, int gy, int, bool inside) {
        if (inside) ByteAt(cell, gx / 8, gy) |= static_cast<std::uint8_t>(0x80 >> (gx % 8));
      });
      break;
    case 2:
      ForEachGlyphPixel(glyph, edge, cell, [&](int gx, int gy, int level, bool inside) {
        if (inside) ByteAt(cell, edge + gx, edge + gy) = static_cast<std::uint8_t>(level - 1);
      });
      break;
    case 1:
      ForEachGlyphPixel(glyph, edge, cell, [&](int gx, int gy, int, bool inside) {
        if (inside) ByteAt(cell, edge + gx, edge + gy) = 1;
      });
      ForEachGlyphPixel(glyph, edge, cell, [&](int gx, int gy, int, bool) {
        ForEachEdgePixel(edge, gx, gy, cell, [&](int x, int y) {
          if (ByteAt(cell, x, y) != 1) ByteAt(cell, x, y) = 2;
        });
      });
      break;
    case 3:
      ForEachGlyphPixel(glyph, edge, cell, [&](int gx, int gy, int level, bool inside) {
        if (inside) ByteAt(cell, edge + gx, edge + gy) |= static_cast<std::uint8_t>(level - 1);
      });
      ForEachGlyphPixel(glyph, edge, cell, [&](int gx, int gy, int level, bool) {
        const auto high = static_cast<std::uint8_t>((level - 1) << 4);
        ForEachEdgePixel(edge, gx, gy, cell, [&](int x, int y) {
          std::uint8_t& byte = ByteAt(cell, x, y);
          if (high > (byte & 0xF0)) byte = static_cast<std::uint8_t>((byte & 0x0F) | high);
        });
      });
      break;
    default:
      break;
  }
}

void WriteTextureGlyph(int fontType, int edge, const GlyphLevels& glyph, const ColorFormat& format,
                       const CellCanvas& glyphHalf, const CellCanvas& edgeHalf) {
  const Texels left{glyphHalf, format.bytesPerPixel};
  const Texels right{edgeHalf, format.bytesPerPixel};
  const std::uint32_t white = format.redMask | format.greenMask | format.blueMask;
  const std::uint32_t opaque = format.alphaMask | white;
  switch (fontType) {
    case 0:
    case 2:
      for (int y = 0; y < glyphHalf.height; ++y)
        for (int x = 0; x < glyphHalf.width; ++x) left.Set(x, y, white);
      ForEachGlyphPixel(glyph, 0, glyphHalf, [&](int gx, int gy, int level, bool inside) {
        if (inside) left.Set(gx, gy, fontType == 0 ? opaque : LevelTexel(level, format));
      });
      break;
    case 1:
      ForEachGlyphPixel(glyph, edge, glyphHalf, [&](int gx, int gy, int, bool inside) {
        if (inside) left.Set(edge + gx, edge + gy, opaque);
      });
      ForEachGlyphPixel(glyph, edge, edgeHalf, [&](int gx, int gy, int, bool) {
        ForEachEdgePixel(edge, gx, gy, edgeHalf, [&](int x, int y) {
          if ((right.Get(x, y) & format.alphaMask) == 0) right.Set(x, y, opaque);
        });
      });
      break;
    case 3: {
      ForEachGlyphPixel(glyph, edge, glyphHalf, [&](int gx, int gy, int level, bool inside) {
        if (inside) left.Set(edge + gx, edge + gy, static_cast<std::uint32_t>(level));
      });
      ForEachGlyphPixel(glyph, edge, edgeHalf, [&](int gx, int gy, int level, bool) {
        ForEachEdgePixel(edge, gx, gy, edgeHalf, [&](int x, int y) {
          const int old = static_cast<int>(right.Get(x, y));
          right.Set(x, y, static_cast<std::uint32_t>((256 - (16 - old) * (16 - level)) >> 4));
        });
      });
      const int boxWidth = std::min(glyph.width + 2 * edge, glyphHalf.width);
      const int boxHeight = std::min(glyph.height + 2 * edge, glyphHalf.height);
      for (const Texels* half : {&left, &right})
        for (int y = 0; y < boxHeight; ++y)
          for (int x = 0; x < boxWidth; ++x) half->Set(x, y, LevelTexel(static_cast<int>(half->Get(x, y)), format));
      break;
    }
    default:
      break;
  }
}
