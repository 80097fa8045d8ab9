#include "gdi32/dib_transfer.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "gdi32/device_drawing.h"

namespace wqplat {
namespace {

// The source coordinate sampled by destination step i of dest_size steps
// over source_size: the pixel under the step's centre. Wide arithmetic:
// the product overflows 64 bits for extreme coordinates.
std::int64_t Sample(std::int64_t start, std::int64_t i, std::int64_t source_size, std::int64_t dest_size) {
  const __int128 scaled = (static_cast<__int128>(2 * i + 1) * source_size) / (2 * dest_size);
  return start + static_cast<std::int64_t>(scaled);
}

LONG ClampToLong(std::int64_t value) { return static_cast<LONG>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX)); }

bool HasScanOfRow(const DibPixels& pixels, std::int64_t row) {
  if (row < 0 || row >= pixels.layout->height) return false;
  const std::int64_t scan = pixels.layout->ScanOfRow(static_cast<int>(row));
  return scan >= pixels.first_scan && scan < pixels.first_scan + pixels.scan_count;
}

const std::uint8_t* RowBytes(const DibPixels& pixels, std::int64_t row) {
  const std::int64_t scan = pixels.layout->ScanOfRow(static_cast<int>(row));
  return pixels.bits + static_cast<std::size_t>(scan - pixels.first_scan) * pixels.layout->stride;
}

}  // namespace

std::int64_t SourceTopRow(const DibLayout& layout, std::int64_t y, std::int64_t height) {
  return layout.top_down ? y : layout.height - y - height;
}

bool TransferDib(HDC dc, const TransferRect& dest, const TransferRect& source, const DibPixels& pixels) {
  const RECT area{ClampToLong(dest.x), ClampToLong(dest.y), ClampToLong(dest.x + dest.width),
                  ClampToLong(dest.y + dest.height)};
  return PaintOnDevice(dc, area, [&](SpanTarget& target, const RECT& clipped) {
    const DibLayout& layout = *pixels.layout;
    // Source column of every clipped destination column; those inside the
    // image form one run because sampling is monotonic.
    std::vector<std::int64_t> columns;
    std::int64_t first_valid = -1;
    std::int64_t last_valid = -1;
    for (LONG x = clipped.left; x < clipped.right; ++x) {
      const std::int64_t sx = Sample(source.x, x - dest.x, source.width, dest.width);
      if (sx >= 0 && sx < layout.width) {
        if (first_valid < 0) first_valid = static_cast<std::int64_t>(columns.size());
        last_valid = static_cast<std::int64_t>(columns.size());
      }
      columns.push_back(sx);
    }
    if (first_valid < 0) return;
    const std::int64_t span_length = last_valid - first_valid + 1;
    const std::int64_t decode_start = columns[first_valid];
    const std::int64_t decode_length = columns[last_valid] - decode_start + 1;
    std::vector<std::uint32_t> decoded(static_cast<std::size_t>(decode_length));
    std::vector<std::uint32_t> span(static_cast<std::size_t>(span_length));
    std::int64_t decoded_row = -1;
    for (LONG y = clipped.top; y < clipped.bottom; ++y) {
      const std::int64_t sy = Sample(source.y, y - dest.y, source.height, dest.height);
      if (!HasScanOfRow(pixels, sy)) continue;
      if (sy != decoded_row) {
        DecodeDibRow(layout, RowBytes(pixels, sy), static_cast<int>(decode_start),
                     static_cast<int>(decode_length), decoded.data());
        decoded_row = sy;
      }
      for (std::int64_t i = 0; i < span_length; ++i) {
        span[i] = decoded[columns[first_valid + i] - decode_start];
      }
      target.WriteSpan(static_cast<int>(clipped.left + first_valid), y, span.data(),
                       static_cast<int>(span_length));
    }
  });
}

}  // namespace wqplat
