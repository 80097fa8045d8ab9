// The record behind a font handle: the GDI font, its measured cell size and
// its glyph cache (the cells, the per-character table, and the texture or
// memory image the glyphs are rasterised into), and the handle table that
// reaches the records.
#pragma once

#include <cstdint>

#include "WqLib.h"
#include "platform/windows.h"

inline constexpr int kFontHandleKind = 0x20000000;
inline constexpr int kFontSlotCount = 40;
inline constexpr int kFontCheckLimit = 2048;
inline constexpr int kGlyphCellLimit = 2024;
inline constexpr int kCharCodeCount = 65536;

// Font type bits.
inline constexpr int kFontTypeEdge = 0x1;
inline constexpr int kFontTypeAntialiased = 0x2;

struct CharCacheEntry;

// One square cell of the glyph cache.
struct GlyphCacheCell {
  std::uint8_t inUse;
  std::int16_t originX;    // black box left offset from the pen
  std::int16_t topOffset;  // rows from the line top to the black box top
  std::int16_t advance;
  std::int32_t position;  // fixed place in the cache; -1 marks the end
  std::uint16_t boxWidth;
  std::uint16_t boxHeight;
  CharCacheEntry* entry;  // the character the cell holds
};

// Indexed by the character's two bytes, the first in the low 8 bits.
struct CharCacheEntry {
  std::uint32_t cached;  // also a temporary mark while a string is collected
  GlyphCacheCell* cell;
};

struct FontRecord {
  std::uint32_t check;
  int* lostFlag;  // set to 1 when the font is deleted, or null
  GlyphCacheCell cells[kGlyphCellLimit + 1];
  CharCacheEntry chars[kCharCodeCount];
  int nextCell;
  int cellCount;
  std::uint8_t* memoryCache;  // memory cache only
  int memoryPitch;
  int memoryBits;  // 1 or 8
  char faceName[256];
  int thickness;
  int size;
  int cellHeight;
  int italic;
  int spacing;
  int cellWidth;
  HFONT gdiFont;
  int fontType;
  int charSetClass;
  int edgeSize;
  int cacheWidth;
  int cacheHeight;
  int cellsPerColumn;
  int cacheGraph;
  int edgeCacheGraph;
  int recreateCache;  // the cache graphs must be made again before the next draw
  BaseImage cacheImage;  // texture cache: the staging copy of the texture
  int usesTextureCache;
};

// Edge pixels round each glyph pixel: the font's edge size when its type
// has the edge bit, else 0.
inline int FontEdge(const FontRecord* font) { return (font->fontType & kFontTypeEdge) ? font->edgeSize : 0; }

// The record of a live handle of the right kind and check value, or null.
FontRecord* FindFontRecord(int handle);

// The font handle table and the default font settings.
struct FontSystemState {
  FontRecord* slots[kFontSlotCount];
  std::uint32_t nextCheck;
  int noTextureCache;  // nothing sets it
  int requestedCellCount;  // 0 = automatic; nothing sets it
  int defaultFont;
  char defaultFace[128];
  int defaultSize;
  int defaultThickness;
  int defaultFontType;
  int defaultCharSetClass;
  int defaultEdgeSize;
  int defaultItalic;
  int defaultSpacing;
};

FontSystemState& FontSystem();
