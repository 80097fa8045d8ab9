// Clipping of a kernel's destination rectangle: to DrawArea and to the
// destination image itself, with the rectangle given in 64 bits so that no
// position near the ends of the 32-bit range overflows.
#pragma once

#include <cstdint>

#include "image/memimg.h"

struct DrawBox {
  int left;
  int top;
  int right;  // exclusive
  int bottom;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

// [left, right) x [top, bottom) with left <= right and top <= bottom.
DrawBox ClipToDrawArea(const MEMIMG* dst, std::int64_t left, std::int64_t top, std::int64_t right,
                       std::int64_t bottom);

// The checks every image kernel makes before it draws: the colour types
// match, the destination is neither palettised nor carries alpha, and a
// blend image (when given) has one byte per pixel and covers the source.
bool CanDrawImage(const MEMIMG* dst, const MEMIMG* src, const MEMIMG* blend);
