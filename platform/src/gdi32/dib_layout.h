// The pixel layout a BITMAPINFO describes, and conversion of its rows to and
// from 0x00RRGGBB words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gdi32/channel_masks.h"
#include "platform/gdi32.h"

namespace wqplat {

struct DibLayout {
  int width = 0;
  int height = 0;  // always positive; top_down tells the row order
  bool top_down = false;
  int bits_per_pixel = 0;
  DWORD compression = BI_RGB;
  ChannelMasks masks;                   // 16 and 32 bits
  std::vector<std::uint32_t> palette;   // 1, 4 and 8 bits
  std::size_t stride = 0;               // bytes per stored row, a multiple of 4

  std::size_t ImageBytes() const { return stride * static_cast<std::size_t>(height); }
  // The stored row (scan) that holds image row y counted from the top.
  int ScanOfRow(int y) const { return top_down ? y : height - 1 - y; }
};

// Accepts the uncompressed layouts (1, 4, 8, 16, 24, 32 bits; BI_BITFIELDS
// for 16 and 32) with RGB colour tables, headers of 40 to 124 bytes, and
// sizes up to 1 GiB of pixels.
bool ParseDibLayout(const BITMAPINFO* info, UINT usage, DibLayout* layout);

void DecodeDibRow(const DibLayout& layout, const std::uint8_t* row, int x, int count,
                  std::uint32_t* out);

// Writing is possible into 16-, 24- and 32-bit layouts only.
bool CanEncodeDibRows(const DibLayout& layout);
void EncodeDibRow(const DibLayout& layout, std::uint8_t* row, int x, int count,
                  const std::uint32_t* in);

}  // namespace wqplat
