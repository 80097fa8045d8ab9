// Cell and cache sizes of a font's glyph cache.
#include "text/font_cache_layout.h"

#include <algorithm>
#include <cmath>

#include "text/font_record.h"

namespace {

constexpr int kAutoTextureSide = 512;
constexpr int kMinimumAutoCells = 10;
// No side grows past this: a cell that does not fit leaves the font to the
// memory cache instead of doubling the texture forever.
constexpr int kLargestTextureSide = 8192;
constexpr int kMemoryCacheBytes = 0x50000;
constexpr int kMinimumMemoryCells = 20;

int RoundUpToPowerOfTwo(int value) {
  int side = 8;
  while (side < value && side < kLargestTextureSide * 2) side *= 2;
  return side;
}

}  // namespace

FontCellSize ComputeFontCellSize(int maxCharWidth, int height, int edge) {
  FontCellSize size{};
  size.cellWidth = (maxCharWidth + 2 + 2 * edge + 7) / 8 * 8;
  size.cellHeight = height + 2 * edge;
  if (size.cellHeight % 2 != 0) size.cellHeight += 1;
  if (size.cellWidth < size.cellHeight) size.cellWidth = size.cellHeight;
  return size;
}

FontCacheLayout ComputeTextureCacheLayout(int cellWidth, int requestedCells) {
  FontCacheLayout layout{};
  if (cellWidth <= 0) return layout;
  int cells = 0;
  if (requestedCells == 0) {
    layout.cacheWidth = layout.cacheHeight = kAutoTextureSide;
    cells = (kAutoTextureSide / cellWidth) * (kAutoTextureSide / cellWidth);
    while (cells < kMinimumAutoCells) {
      int& side = layout.cacheWidth > layout.cacheHeight ? layout.cacheHeight : layout.cacheWidth;
      if (side >= kLargestTextureSide) break;
      side *= 2;
      cells = (layout.cacheHeight / cellWidth) * (layout.cacheWidth / cellWidth);
    }
  } else {
    const int side = RoundUpToPowerOfTwo(cellWidth * (static_cast<int>(std::sqrt(requestedCells)) + 1));
    layout.cacheWidth = layout.cacheHeight = side;
    cells = (side / cellWidth) * (side / cellWidth);
  }
  layout.cellCount = std::min(cells, kGlyphCellLimit);
  layout.cellsPerColumn = layout.cacheHeight / cellWidth;
  return layout;
}

FontCacheLayout ComputeMemoryCacheLayout(int cellWidth, int requestedCells) {
  FontCacheLayout layout{};
  if (cellWidth <= 0) return layout;
  int cells = requestedCells;
  if (cells == 0) cells = std::max(kMemoryCacheBytes / (cellWidth * cellWidth), kMinimumMemoryCells);
  layout.cellCount = std::min(cells, kGlyphCellLimit);
  layout.cacheWidth = cellWidth;
  layout.cacheHeight = layout.cellCount * cellWidth;
  layout.cellsPerColumn = layout.cellCount;
  return layout;
}

int MemoryCachePitch(int cellWidth, int bitsPerPixel) { return (cellWidth * bitsPerPixel + 7) / 8; }
