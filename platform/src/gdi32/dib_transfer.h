// Copying a block of a DIB in memory onto a device context, scaled by nearest
// neighbour when the two rectangles differ in size.
#pragma once

#include <cstdint>

#include "gdi32/dib_layout.h"

namespace wqplat {

struct DibPixels {
  const DibLayout* layout = nullptr;
  const std::uint8_t* bits = nullptr;  // holds scans first_scan .. + scan_count
  std::int64_t first_scan = 0;
  std::int64_t scan_count = 0;
};

struct TransferRect {
  std::int64_t x = 0;
  std::int64_t y = 0;  // source: image row from the top
  std::int64_t width = 0;
  std::int64_t height = 0;
};

// Copies source (all sizes positive) to dest; source pixels outside the
// image or outside the supplied scans leave the destination as it was.
// False when the DC cannot be drawn on.
bool TransferDib(HDC dc, const TransferRect& dest, const TransferRect& source, const DibPixels& pixels);

// The top row of a source block whose y GDI counts from the DIB's first
// stored row: the bottom for bottom-up DIBs.
std::int64_t SourceTopRow(const DibLayout& layout, std::int64_t y, std::int64_t height);

}  // namespace wqplat
