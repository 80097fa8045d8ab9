// Glyph pixels into cache cells: the edge shapes, the memory cache's codes
// and the texture cache's texels, on small hand-made glyphs.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "WqLib.h"
#include "text/glyph_raster.h"

namespace {

// A glyph from rows of characters: '.' 0, '#' 1 (or 16 with `full`), a
// digit or a-g for levels 1 to 16.
struct Glyph {
  std::vector<std::uint8_t> levels;
  GlyphLevels view;
  Glyph(std::initializer_list<const char*> rows, bool full = false) {
    int width = 0, height = 0;
    for (const char* row : rows) {
      width = static_cast<int>(std::string(row).size());
      ++height;
      for (const char* c = row; *c; ++c) {
        int level = 0;
        if (*c == '#') {
          level = full ? 16 : 1;
        } else if (*c >= '1' && *c <= '9') {
          level = *c - '0';
        } else if (*c >= 'a' && *c <= 'g') {
          level = 10 + *c - 'a';
        }
        levels.push_back(static_cast<std::uint8_t>(level));
      }
    }
    view = GlyphLevels{levels.data(), width, height};
  }
};

// A cell of bytes with guard bytes round it that must stay untouched.
struct ByteCell {
  static constexpr int kGuard = 8;
  int width, height, pitch;
  std::vector<std::uint8_t> bytes;
  ByteCell(int w, int h, int bytesPerPixel = 1)
      : width(w), height(h), pitch(w * bytesPerPixel + 2 * kGuard),
        bytes(static_cast<std::size_t>(pitch) * (h + 2 * kGuard), 0xA5) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w * bytesPerPixel; ++x) bytes[(y + kGuard) * pitch + kGuard + x] = 0;
  }
  CellCanvas Canvas() { return CellCanvas{&bytes[kGuard * pitch + kGuard], pitch, width, height}; }
  std::uint8_t At(int x, int y) const { return bytes[(y + kGuard) * pitch + kGuard + x]; }
  std::uint16_t Texel(int x, int y) const { return static_cast<std::uint16_t>(At(2 * x, y) | At(2 * x + 1, y) << 8); }
  void ExpectGuardsIntact(int bytesPerPixel = 1) const {
    for (int y = 0; y < height + 2 * kGuard; ++y)
      for (int x = 0; x < pitch; ++x) {
        const bool inside = y >= kGuard && y < kGuard + height && x >= kGuard && x < kGuard + width * bytesPerPixel;
        if (!inside) {
          ASSERT_EQ(bytes[y * pitch + x], 0xA5) << "guard at " << x << "," << y;
        }
      }
  }
  // Rows as text: one hex digit per byte value below 16, else '*'.
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
      std::string row;
      for (int x = 0; x < width; ++x) row += At(x, y) < 16 ? "0123456789abcdef"[At(x, y)] : '*';
      rows.push_back(row);
    }
    return rows;
  }
};

TEST(GlyphRaster, EdgeShapesCoverTheirMasks) {
  struct ShapeCase {
    int edge, covered;
  };
  // Sizes 2 to 4 are rounded masks, larger ones the full square.
  for (const ShapeCase c : {ShapeCase{1, 4}, ShapeCase{2, 21}, ShapeCase{3, 29}, ShapeCase{4, 69}, ShapeCase{5, 121}}) {
    int covered = 0;
    for (int dy = -c.edge - 1; dy <= c.edge + 1; ++dy)
      for (int dx = -c.edge - 1; dx <= c.edge + 1; ++dx) covered += EdgeShapeCovers(c.edge, dx, dy) ? 1 : 0;
    EXPECT_EQ(covered, c.covered) << "edge " << c.edge;
  }
  EXPECT_FALSE(EdgeShapeCovers(1, 0, 0));
  EXPECT_FALSE(EdgeShapeCovers(1, 1, 1));
  EXPECT_FALSE(EdgeShapeCovers(2, 2, 2));
  EXPECT_TRUE(EdgeShapeCovers(2, 1, 2));
  EXPECT_TRUE(EdgeShapeCovers(3, 0, 3));
  EXPECT_FALSE(EdgeShapeCovers(3, 1, 3));
  EXPECT_FALSE(EdgeShapeCovers(4, 3, 4));
  EXPECT_TRUE(EdgeShapeCovers(4, 2, 4));
  EXPECT_TRUE(EdgeShapeCovers(4, 2, 3));
}

TEST(GlyphRaster, PlainMemoryGlyphIsBitsMostSignificantFirst) {
  const Glyph glyph({"#........#", ".#.......#"});
  ByteCell cell(2, 3);  // two bytes a row: 16 pixels
  CellCanvas canvas = cell.Canvas();
  canvas.width = 16;
  WriteMemoryGlyph(0, 0, glyph.view, canvas);
  EXPECT_EQ(cell.At(0, 0), 0x80);
  EXPECT_EQ(cell.At(1, 0), 0x40);
  EXPECT_EQ(cell.At(0, 1), 0x40);
  EXPECT_EQ(cell.At(1, 1), 0x40);
  EXPECT_EQ(cell.At(0, 2), 0x00);
  cell.ExpectGuardsIntact();
}

TEST(GlyphRaster, EdgedMemoryGlyphMarksEdgesAroundButNeverOverGlyphPixels) {
  // Nine pixels wide, with a hole the edge must not fill over the glyph.
  const Glyph glyph({"#########", "#.......#"});
  ByteCell cell(12, 5);
  WriteMemoryGlyph(1, 1, glyph.view, cell.Canvas());
  const std::vector<std::string> expected = {
      "022222222200",
      "211111111120",
      "212222222120",
      "020000000200",
      "000000000000",
  };
  EXPECT_EQ(cell.Rows(), expected);
  cell.ExpectGuardsIntact();
}

TEST(GlyphRaster, AntialiasedMemoryGlyphsStoreLevelsLessOne) {
  const Glyph glyph({"1f#", "..8"}, true);
  ByteCell plain(4, 2);
  WriteMemoryGlyph(2, 0, glyph.view, plain.Canvas());
  EXPECT_EQ(plain.Rows(), (std::vector<std::string>{"0ef0", "0070"}));

  // Edged: the glyph in the low nibble, the largest neighbour's level in
  // the high one, whatever smaller value it held.
  const Glyph edged({"4#", "..", "..", "8."}, true);
  ByteCell cell(4, 6);
  WriteMemoryGlyph(3, 1, edged.view, cell.Canvas());
  EXPECT_EQ(cell.At(1, 1), 0x03 | 0xF0);  // level 4 beside level 16
  EXPECT_EQ(cell.At(2, 1), 0x0F | 0x30);  // level 16 beside level 4
  EXPECT_EQ(cell.At(0, 1), 0x30);
  EXPECT_EQ(cell.At(3, 1), 0xF0);
  EXPECT_EQ(cell.At(2, 0), 0xF0);
  EXPECT_EQ(cell.At(1, 3), 0x70);  // above the level-8 pixel
  EXPECT_EQ(cell.At(1, 4), 0x07);
  EXPECT_EQ(cell.At(1, 5), 0x70);
  EXPECT_EQ(cell.At(3, 3), 0x00);
  cell.ExpectGuardsIntact();
}

TEST(GlyphRaster, AGlyphLargerThanItsCellStaysInside) {
  const Glyph glyph({"##########", "##########", "##########", "##########"});
  for (int type = 1; type < 4; ++type) {
    ByteCell cell(3, 2);
    WriteMemoryGlyph(type, type == 2 ? 0 : 2, glyph.view, cell.Canvas());
    cell.ExpectGuardsIntact();
  }
  ByteCell bits(1, 2);
  CellCanvas canvas = bits.Canvas();
  canvas.width = 8;
  WriteMemoryGlyph(0, 0, glyph.view, canvas);
  bits.ExpectGuardsIntact();
  const ColorFormat argb4444 = [] {
    ColorFormat f{};
    MakeColorFormatFromMasks(&f, 16, 0x0F00, 0x00F0, 0x000F, 0xF000);
    return f;
  }();
  for (int type = 0; type < 4; ++type) {
    ByteCell left(3, 2, 2), right(3, 2, 2);
    WriteTextureGlyph(type, (type & 1) ? 2 : 0, glyph.view, argb4444, left.Canvas(), right.Canvas());
    left.ExpectGuardsIntact(2);
    right.ExpectGuardsIntact(2);
  }
}

ColorFormat Format(int bits, std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
  ColorFormat format{};
  MakeColorFormatFromMasks(&format, bits, r, g, b, a);
  return format;
}

TEST(GlyphRaster, TextureTexelsCarryTheLevelInTheirAlpha) {
  const ColorFormat argb4444 = Format(16, 0x0F00, 0x00F0, 0x000F, 0xF000);
  const ColorFormat argb1555 = Format(16, 0x7C00, 0x03E0, 0x001F, 0x8000);
  const Glyph levels({"1#8."}, true);
  ByteCell cell(4, 1, 2);
  WriteTextureGlyph(2, 0, levels.view, argb4444, cell.Canvas(), CellCanvas{});
  EXPECT_EQ(cell.Texel(0, 0), 0x0FFF);
  EXPECT_EQ(cell.Texel(1, 0), 0xFFFF);
  EXPECT_EQ(cell.Texel(2, 0), 0x7FFF);
  EXPECT_EQ(cell.Texel(3, 0), 0x0FFF);

  const Glyph bits({"#.#"});
  ByteCell plain(4, 1, 2);
  WriteTextureGlyph(0, 0, bits.view, argb1555, plain.Canvas(), CellCanvas{});
  EXPECT_EQ(plain.Texel(0, 0), 0xFFFF);
  EXPECT_EQ(plain.Texel(1, 0), 0x7FFF);
  EXPECT_EQ(plain.Texel(3, 0), 0x7FFF);  // the whole cell is written
  plain.ExpectGuardsIntact(2);
}

TEST(GlyphRaster, EdgedTextureGlyphsFillTheEdgeHalf) {
  const ColorFormat argb1555 = Format(16, 0x7C00, 0x03E0, 0x001F, 0x8000);
  const Glyph glyph({"#"});
  ByteCell left(3, 3, 2), right(3, 3, 2);
  WriteTextureGlyph(1, 1, glyph.view, argb1555, left.Canvas(), right.Canvas());
  EXPECT_EQ(left.Texel(1, 1), 0xFFFF);
  EXPECT_EQ(left.Texel(0, 1), 0x0000);
  for (auto [x, y] : {std::pair{1, 0}, {0, 1}, {2, 1}, {1, 2}}) EXPECT_EQ(right.Texel(x, y), 0xFFFF) << x << "," << y;
  EXPECT_EQ(right.Texel(1, 1), 0x0000);
  EXPECT_EQ(right.Texel(0, 0), 0x0000);

  // Anti-aliased and edged: the edge half joins coverage as
  // 1 - (1 - a)(1 - b) in sixteenths, then both halves become texels.
  const ColorFormat argb4444 = Format(16, 0x0F00, 0x00F0, 0x000F, 0xF000);
  const Glyph soft({"8.8"}, true);
  ByteCell glyphHalf(5, 3, 2), edgeHalf(5, 3, 2);
  WriteTextureGlyph(3, 1, soft.view, argb4444, glyphHalf.Canvas(), edgeHalf.Canvas());
  EXPECT_EQ(glyphHalf.Texel(1, 1), 0x7FFF);  // level 8
  EXPECT_EQ(glyphHalf.Texel(2, 1), 0x0FFF);  // level 0 inside the box
  // The middle pixel lies in both glyph pixels' edges: (256 - 8 x 8) >> 4 = 12.
  EXPECT_EQ(edgeHalf.Texel(2, 1), static_cast<std::uint16_t>(((12 << 12) - 1) | 0x0FFF));
  EXPECT_EQ(edgeHalf.Texel(0, 1), 0x7FFF);  // one neighbour of level 8
  EXPECT_EQ(edgeHalf.Texel(1, 1), 0x0FFF);  // not in its own edge
}

}  // namespace
