// Drawing onto a device context: whatever the DC is (a memory DC's bitmap or
// a window), pixels arrive as spans of 0x00RRGGBB words.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/wintypes.h"

namespace wqplat {

class SpanTarget {
 public:
  virtual ~SpanTarget() = default;
  // count pixels at (x, y), inside the clipped area handed to the painter.
  virtual void WriteSpan(int x, int y, const std::uint32_t* pixels, int count) = 0;
};

using SpanPainter = std::function<void(SpanTarget& target, const RECT& clipped)>;

// Clips area to the DC's surface and lets paint write into what is left
// (it is not called when nothing is left). False when the DC cannot be drawn
// on: unknown, the screen, a palettised bitmap, or a window that has gone.
bool PaintOnDevice(HDC dc, const RECT& area, const SpanPainter& paint);

}  // namespace wqplat
