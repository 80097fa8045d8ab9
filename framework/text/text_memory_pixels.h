// Drawing one glyph from a memory cache cell into a software image: the
// cache codes of each font type turned into pixels of the destination.
#pragma once

#include <cstdint>

#include "platform/windows.h"

struct MemoryGlyphDraw {
  const std::uint8_t* cell;  // the cell's first row in the cache bitmap
  int cellPitch;
  int fontType;
  int boxWidth, boxHeight;  // of the glyph in the cell
  int left, top;            // destination of the box's top-left (turned box when vertical)
  int vertical;             // a clockwise quarter turn
  std::uint8_t* destination;
  int destinationPitch;
  int bytesPerPixel;  // 1, 2 or 4
  int alphaShift;     // where a 4-byte destination keeps alpha: 24, or 16 beside RGB565
  int rgb565;         // colour channels are RGB565
  std::uint32_t color, edgeColor;
  int skipEmpty;
};

// Writes the box's pixels that fall inside clip (right and bottom exclusive).
void DrawMemoryGlyph(const MemoryGlyphDraw& glyph, const RECT& clip);
