// How big a font's cache cells are and how many fit into its cache: square
// cells sized from the font's text metrics, laid out in a texture (the
// Direct3D renderer) or in a one-column bitmap (the software renderer).
#pragma once

struct FontCellSize {
  int cellWidth;   // side of the square cell
  int cellHeight;  // layout height of one line
};

struct FontCacheLayout {
  int cacheWidth;
  int cacheHeight;
  int cellCount;
  int cellsPerColumn;
};

// maxCharWidth and height from the text metrics; edge is the edge size
// when the font has the edge bit, else 0.
FontCellSize ComputeFontCellSize(int maxCharWidth, int height, int edge);
// requestedCells 0 sizes the texture automatically (512 square, grown
// until ten cells fit). cellCount 0: no texture can hold a cell.
FontCacheLayout ComputeTextureCacheLayout(int cellWidth, int requestedCells);
// One column of cells; bitsPerPixel 1 or 8 sets the pitch.
FontCacheLayout ComputeMemoryCacheLayout(int cellWidth, int requestedCells);
int MemoryCachePitch(int cellWidth, int bitsPerPixel);
