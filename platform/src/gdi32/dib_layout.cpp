#include "gdi32/dib_layout.h"


namespace wqplat {
namespace {

constexpr std::size_t kMaxImageBytes = std::size_t{1} << 30;
// Bit-field masks sit right after the 40-byte core of the header, whatever
// the header's full size.
constexpr std::size_t kMasksOffset = 40;
// The largest header layout there is; the colour table is found after the
// header, so a larger stated size would send the table read anywhere.
constexpr DWORD kLargestHeaderSize = 124;

std::uint32_t ReadLe32(const std::uint8_t* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool IsSupportedBitCount(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

void ReadPalette(const BITMAPINFO* info, DibLayout* layout) {
  const std::uint32_t capacity = 1u << layout->bits_per_pixel;
  const DWORD used = info->bmiHeader.biClrUsed;
  // A count beyond what the bit depth can index is not trusted.
  const std::uint32_t entries = used > 0 && used <= capacity ? used : capacity;
  const auto* table = reinterpret_cast<const std::uint8_t*>(info) + info->bmiHeader.biSize;
  layout->palette.assign(capacity, 0);
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::uint8_t* entry = table + 4 * i;  // blue, green, red, reserved
    layout->palette[i] = entry[2] << 16 | entry[1] << 8 | entry[0];
  }
}

}  // namespace

bool ParseDibLayout(const BITMAPINFO* info, UINT usage, DibLayout* layout) {
  if (!info || usage != DIB_RGB_COLORS) return false;
  const BITMAPINFOHEADER& header = info->bmiHeader;
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > kLargestHeaderSize ||
      header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT32_MIN ||
      !IsSupportedBitCount(header.biBitCount)) {
    return false;
  }
  DibLayout parsed;
  parsed.width = header.biWidth;
  parsed.height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  parsed.top_down = header.biHeight < 0;
  parsed.bits_per_pixel = header.biBitCount;
  parsed.compression = header.biCompression;
  const bool direct = parsed.bits_per_pixel == 16 || parsed.bits_per_pixel == 32;
  if (header.biCompression == BI_BITFIELDS && direct) {
    const auto* masks = reinterpret_cast<const std::uint8_t*>(info) + kMasksOffset;
    parsed.masks = ChannelMasks{ReadLe32(masks), ReadLe32(masks + 4), ReadLe32(masks + 8)};
    if (!AreChannelMasksValid(parsed.masks)) return false;
  } else if (header.biCompression == BI_RGB) {
    parsed.masks = DefaultChannelMasks(parsed.bits_per_pixel);
  } else {
    return false;
  }
  parsed.stride = ((static_cast<std::size_t>(parsed.width) * parsed.bits_per_pixel + 31) / 32) * 4;
  if (parsed.ImageBytes() > kMaxImageBytes) return false;
  if (parsed.bits_per_pixel <= 8) ReadPalette(info, &parsed);
  *layout = std::move(parsed);
  return true;
}

void DecodeDibRow(const DibLayout& layout, const std::uint8_t* row, int x, int count,
                  std::uint32_t* out) {
  const int bits = layout.bits_per_pixel;
  // The 8-8-8 layout of 32 bits is the pixel itself: no channel to scale.
  // Every software screen comes this way, a whole frame at each present.
  const ChannelMasks& masks = layout.masks;
  if (bits == 32 && masks.red == 0xFF0000 && masks.green == 0x00FF00 && masks.blue == 0x0000FF) {
    for (int i = 0; i < count; ++i) {
      out[i] = ReadLe32(row + static_cast<std::size_t>(x + i) * 4) & 0xFFFFFF;
    }
    return;
  }
  for (int i = 0; i < count; ++i) {
    const std::size_t px = static_cast<std::size_t>(x + i);
    switch (bits) {
      case 1: out[i] = layout.palette[(row[px >> 3] >> (7 - (px & 7))) & 1]; break;
      case 4: out[i] = layout.palette[(row[px >> 1] >> ((px & 1) ? 0 : 4)) & 0x0F]; break;
      case 8: out[i] = layout.palette[row[px]]; break;
      case 16: out[i] = UnpackChannels(layout.masks, row[px * 2] | row[px * 2 + 1] << 8); break;
      case 24:
        out[i] = row[px * 3 + 2] << 16 | row[px * 3 + 1] << 8 | row[px * 3];
        break;
      default: out[i] = UnpackChannels(layout.masks, ReadLe32(row + px * 4)); break;
    }
  }
}

bool CanEncodeDibRows(const DibLayout& layout) { return layout.bits_per_pixel >= 16; }

void EncodeDibRow(const DibLayout& layout, std::uint8_t* row, int x, int count,
                  const std::uint32_t* in) {
  for (int i = 0; i < count; ++i) {
    const std::size_t px = static_cast<std::size_t>(x + i);
    if (layout.bits_per_pixel == 24) {
      row[px * 3] = in[i] & 0xFF;
      row[px * 3 + 1] = (in[i] >> 8) & 0xFF;
      row[px * 3 + 2] = (in[i] >> 16) & 0xFF;
      continue;
    }
    const std::uint32_t value = PackChannels(layout.masks, in[i]);
    const int bytes = layout.bits_per_pixel / 8;
    for (int b = 0; b < bytes; ++b) row[px * bytes + b] = static_cast<std::uint8_t>(value >> (8 * b));
  }
}

}  // namespace wqplat
