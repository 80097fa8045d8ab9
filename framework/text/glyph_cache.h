// A font's glyph cache: the ring of cells the glyphs are rasterised into,
// the per-character table, and the texture graphs of the Direct3D cache.
#pragma once

#include <cstdint>

#include "text/font_record.h"

// A string's characters as the rasteriser takes them: two character bytes
// (the second 0 for a single-byte character) and a 0 byte.
inline constexpr int kCharListEntryBytes = 3;
inline constexpr int kFixedCharListEntries = 256;

inline int CharCode(const std::uint8_t* entry) { return entry[0] | entry[1] << 8; }

// A character list for `bytes` bytes of text: a fixed buffer for short
// strings, a tracked block for longer ones. data() is null when the block
// could not be had.
class CharList {
 public:
  explicit CharList(int bytes);
  ~CharList();
  CharList(const CharList&) = delete;
  CharList& operator=(const CharList&) = delete;
  std::uint8_t* data() { return data_; }

 private:
  std::uint8_t fixed_[kFixedCharListEntries * kCharListEntryBytes];
  std::uint8_t* temporary_ = nullptr;
  std::uint8_t* data_ = fixed_;
};

// Empties the cache; 0 or -1.
int ResetFontCache(int handle);
// Makes the texture cache's graphs when the font's re-create flag is set;
// 0 or -1.
int CreateFontCacheScreen(int handle);
// Rasterises `count` characters of the list into the next cells; the cell
// of the last one stored, or null.
GlyphCacheCell* RenderGlyphToCache(int handle, int count, const std::uint8_t* list);
// Lists the first `length` bytes' characters (-1: the whole string) into
// `list` when given, their number into `count` when given, and caches the
// ones missing in one batch. 0 or -1.
int CacheStringGlyphs(int length, const char* text, int handle, std::uint8_t* list, int* count);

// The top-left of a cell's place in the cache: in the texture (one pixel in
// from the cell corner) or at the cell's first row of the memory bitmap.
void CellCorner(const FontRecord* font, int position, int* x, int* y);

// Texture cache, in glyph_texture_cache.cpp: the staging image's part of a
// cell (glyph half and edge half), and the upload of what was written.
struct CellCanvas;
void TextureCellCanvases(FontRecord* font, int position, CellCanvas* glyphHalf, CellCanvas* edgeHalf);
void ClearTextureCell(FontRecord* font, int position);
void UploadTextureCell(FontRecord* font, int position, int boxWidth, int boxHeight);
