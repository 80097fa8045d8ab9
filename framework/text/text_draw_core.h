// The string layout routine both text paths share: it measures a string,
// or draws it glyph by glyph from the font's cache, across or down.
#pragma once

#include <cstdint>

#include "image/memimg.h"
#include "platform/windows.h"

inline constexpr int kTextMeasure = 0;
inline constexpr int kTextDraw = 1;

struct TextLayout {
  int mode;  // kTextMeasure or kTextDraw
  int x, y;  // top-left of the line
  int scaled;
  double scaleX, scaleY;
  const char* text;
  std::uint32_t color;    // screen pixel value
  MEMIMG* destination;    // null: the texture cache draws through the device
  const RECT* clip;       // right and bottom exclusive
  int skipEmpty;          // 1 leaves the destination alone where the cache is empty
  int font;
  std::uint32_t edgeColor;
  int length;             // bytes, -1: the whole string
  int vertical;
  int* size;              // width and height out, or null
};

// The summed advance, or -1 for a bad font or a glyph that cannot be cached.
int DrawTextCore(const TextLayout& layout);

// The texture path's glyph draw, in text_texture_draw.cpp.
struct FontRecord;
struct GlyphCacheCell;
struct TextureGlyphColors {
  std::uint32_t color;  // 0xFFRRGGBB
  std::uint32_t edge;
};
void DrawTextureGlyph(const FontRecord* font, const GlyphCacheCell* cell, const TextLayout& layout, double pen,
                      const TextureGlyphColors& colors);
