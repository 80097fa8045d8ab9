// FillRect with a solid brush, on memory and window DCs.
#include <vector>

#include "gdi32/brush_object.h"
#include "gdi32/device_drawing.h"
#include "platform/gdi32.h"

int FillRect(HDC dc, const RECT* rect, HBRUSH brush_handle) {
  auto brush = wqplat::LookupGdiObjectAs<wqplat::BrushObject>(brush_handle);
  if (!rect || !brush) return 0;
  if (brush->hollow()) return 1;
  const std::uint32_t rgb = brush->rgb();
  return wqplat::PaintOnDevice(dc, *rect, [rgb](wqplat::SpanTarget& target, const RECT& clipped) {
    const std::vector<std::uint32_t> span(static_cast<size_t>(clipped.right - clipped.left), rgb);
    for (LONG y = clipped.top; y < clipped.bottom; ++y) {
      target.WriteSpan(clipped.left, y, span.data(), static_cast<int>(span.size()));
    }
  }) ? 1 : 0;
}
