// Memory-cache glyph pixels. The cache holds bits (type 0), 1 for glyph
// and 2 for edge (type 1), a level less one (type 2), or a glyph level in
// the low nibble and an edge level in the high one (type 3).
#include "text/text_memory_pixels.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

struct Channels {
  int shift[3];
  int width[3];
};

constexpr Channels kRgb32{{16, 8, 0}, {8, 8, 8}};
constexpr Channels kRgb565{{11, 5, 0}, {5, 6, 5}};

// The glyph pixel over the edge colour: each channel e + (c - e) x t / 256,
// floored.
std::uint32_t MixChannels(std::uint32_t color, std::uint32_t edge, int t, const Channels& layout) {
  std::uint32_t mixed = 0;
  for (int i = 0; i < 3; ++i) {
    const int mask = (1 << layout.width[i]) - 1;
    const int c = static_cast<int>(color >> layout.shift[i]) & mask;
    const int e = static_cast<int>(edge >> layout.shift[i]) & mask;
    const int value = e + ((c - e) * t >> 8);
    mixed |= static_cast<std::uint32_t>(value & mask) << layout.shift[i];
  }
  return mixed;
}

// The pixel for a cache value, or nothing where the cache is empty.
std::optional<std::uint32_t> PixelFor(const MemoryGlyphDraw& g, unsigned value) {
  const std::uint32_t c = g.color, e = g.edgeColor;
  const int shift = g.alphaShift;
  switch (g.fontType) {
    case 0:
      if (value == 0) return std::nullopt;
      return c;
    case 1:
      if (value == 1) return c;
      if (value == 2) return e & 0xFFFFFF;
      return std::nullopt;
    case 2:
      if (value == 0) return std::nullopt;
      return (static_cast<std::uint32_t>(value) << (shift + 4)) | c;
    case 3: {
      const int glyph = static_cast<int>(value & 0x0F);
      const int edge = static_cast<int>(value >> 4);
      if (glyph == 0) {
        if (edge == 0) return std::nullopt;
        return (static_cast<std::uint32_t>(edge) << (shift + 4)) | e;
      }
      if (glyph == 15) return c | (0xFFu << shift);
      const int alpha = glyph * 16 + (15 - glyph) * edge;
      const int t = (glyph << 12) / alpha;
      return static_cast<std::uint32_t>(alpha) << shift | MixChannels(c, e, t, g.rgb565 ? kRgb565 : kRgb32);
    }
    default:
      return std::nullopt;
  }
}

unsigned CacheValue(const MemoryGlyphDraw& g, int u, int v) {
  const std::uint8_t* row = g.cell + static_cast<std::size_t>(v) * g.cellPitch;
  if (g.fontType == 0) return (row[u / 8] >> (7 - u % 8)) & 1;
  return row[u];
}

template <typename Pixel>
void DrawPixels(const MemoryGlyphDraw& g, const RECT& box) {
  for (int y = box.top; y < box.bottom; ++y) {
    auto* row = reinterpret_cast<Pixel*>(g.destination + static_cast<std::ptrdiff_t>(y) * g.destinationPitch);
    for (int x = box.left; x < box.right; ++x) {
      // Back from the destination to the glyph: turned text reads glyph
      // row v from the box's right side leftward, its pixels downward.
      const int u = g.vertical ? y - g.top : x - g.left;
      const int v = g.vertical ? g.boxHeight - 1 - (x - g.left) : y - g.top;
      const std::optional<std::uint32_t> pixel = PixelFor(g, CacheValue(g, u, v));
      if (pixel) {
        row[x] = static_cast<Pixel>(*pixel);
      } else if (!g.skipEmpty) {
        row[x] = 0;
      }
    }
  }
}

}  // namespace

void DrawMemoryGlyph(const MemoryGlyphDraw& glyph, const RECT& clip) {
  const int width = glyph.vertical ? glyph.boxHeight : glyph.boxWidth;
  const int height = glyph.vertical ? glyph.boxWidth : glyph.boxHeight;
  const RECT box{std::max<LONG>(glyph.left, clip.left), std::max<LONG>(glyph.top, clip.top),
                 std::min<LONG>(glyph.left + width, clip.right), std::min<LONG>(glyph.top + height, clip.bottom)};
  if (box.left >= box.right || box.top >= box.bottom) return;
  switch (glyph.bytesPerPixel) {
    case 1:
      DrawPixels<std::uint8_t>(glyph, box);
      break;
    case 2:
      DrawPixels<std::uint16_t>(glyph, box);
      break;
    default:
      DrawPixels<std::uint32_t>(glyph, box);
      break;
  }
}
