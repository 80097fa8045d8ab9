#include "d3d9/pixel_format.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace wqplat {
namespace {

// The 32-bit formats ask for unsized RGBA storage: with the blue-first rows
// every upload passes, the driver then keeps the pixels in that order, the
// layout its fastest drawing, copying and presenting paths take (a sized
// format would let it pick red-first storage, which takes its general
// paths at about twice the cost). X8R8G8B8 shares that storage; its stored
// alpha means nothing and is never read (see the format's uses of
// `has_alpha`).
const PixelFormat kFormats[] = {
    {D_D3DFMT_A8R8G8B8, FormatKind::kColor, 4, GL_RGBA, true},
    {D_D3DFMT_X8R8G8B8, FormatKind::kColor, 4, GL_RGBA, false},
    {D_D3DFMT_R5G6B5, FormatKind::kColor, 2, GL_RGB565, false},
    {D_D3DFMT_X1R5G5B5, FormatKind::kColor, 2, GL_RGB5, false},
    {D_D3DFMT_A1R5G5B5, FormatKind::kColor, 2, GL_RGB5_A1, true},
    {D_D3DFMT_A4R4G4B4, FormatKind::kColor, 2, GL_RGBA4, true},
    {D_D3DFMT_DXT1, FormatKind::kBlock, 8, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, true},
    {D_D3DFMT_DXT2, FormatKind::kBlock, 16, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, true},
    {D_D3DFMT_DXT3, FormatKind::kBlock, 16, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, true},
    {D_D3DFMT_DXT4, FormatKind::kBlock, 16, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, true},
    {D_D3DFMT_DXT5, FormatKind::kBlock, 16, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, true},
    {D_D3DFMT_D16, FormatKind::kDepth, 2, GL_DEPTH_COMPONENT16, false},
    {D_D3DFMT_D24X8, FormatKind::kDepth, 4, GL_DEPTH_COMPONENT24, false},
    {D_D3DFMT_D32, FormatKind::kDepth, 4, GL_DEPTH_COMPONENT32, false},
};

// A channel of `bits` bits at `shift` in a packed pixel.
struct Channel {
  int shift;
  int bits;
};

// Alpha, red, green, blue of the packed 16-bit formats (bits 0: absent).
struct PackedLayout {
  Channel alpha, red, green, blue;
};

PackedLayout Layout16(D_D3DFORMAT format) {
  switch (format) {
    case D_D3DFMT_R5G6B5: return {{0, 0}, {11, 5}, {5, 6}, {0, 5}};
    case D_D3DFMT_X1R5G5B5: return {{0, 0}, {10, 5}, {5, 5}, {0, 5}};
    case D_D3DFMT_A1R5G5B5: return {{15, 1}, {10, 5}, {5, 5}, {0, 5}};
    default: return {{12, 4}, {8, 4}, {4, 4}, {0, 4}};  // A4R4G4B4
  }
}

// Widens by repeating the top bits, so that full scale stays full scale.
std::uint32_t Expand(std::uint32_t packed, Channel channel) {
  if (channel.bits == 0) return 0xFF;
  std::uint32_t value = (packed >> channel.shift) & ((1u << channel.bits) - 1);
  std::uint32_t wide = 0;
  for (int filled = 0; filled < 8; filled += channel.bits) wide = (wide << channel.bits) | value;
  return (wide >> (((8 + channel.bits - 1) / channel.bits) * channel.bits - 8)) & 0xFF;
}

// Narrows to the nearest representable level.
std::uint32_t Narrow(std::uint32_t byte, Channel channel) {
  if (channel.bits == 0) return 0;
  std::uint32_t top = (1u << channel.bits) - 1;
  return ((byte * top + 127) / 255) << channel.shift;
}

}  // namespace

const PixelFormat* FindPixelFormat(D_D3DFORMAT format) {
  auto found = std::find_if(std::begin(kFormats), std::end(kFormats),
                            [&](const PixelFormat& entry) { return entry.format == format; });
  return found == std::end(kFormats) ? nullptr : found;
}

int RowBytes(const PixelFormat& format, int width) {
  if (format.kind == FormatKind::kBlock) return std::max(1, (width + 3) / 4) * format.bytes;
  return width * format.bytes;
}

int RowPitch(const PixelFormat& format, int width) {
  int bytes = RowBytes(format, width);
  return format.kind == FormatKind::kBlock ? bytes : (bytes + 3) & ~3;
}

int RowCount(const PixelFormat& format, int height) {
  return format.kind == FormatKind::kBlock ? std::max(1, (height + 3) / 4) : height;
}

void ConvertToArgb(const PixelFormat& format, const std::uint8_t* source, int count,
                   std::uint32_t* target) {
  if (format.bytes == 4) {
    std::memcpy(target, source, static_cast<std::size_t>(count) * 4);
    if (!format.has_alpha) {
      for (int i = 0; i < count; ++i) target[i] |= 0xFF000000u;
    }
    return;
  }
  PackedLayout layout = Layout16(format.format);
  for (int i = 0; i < count; ++i) {
    std::uint32_t packed = source[2 * i] | (source[2 * i + 1] << 8);
    target[i] = (Expand(packed, layout.alpha) << 24) | (Expand(packed, layout.red) << 16) |
                (Expand(packed, layout.green) << 8) | Expand(packed, layout.blue);
  }
}

void ConvertFromArgb(const PixelFormat& format, const std::uint32_t* source, int count,
                     std::uint8_t* target) {
  if (format.bytes == 4) {
    std::memcpy(target, source, static_cast<std::size_t>(count) * 4);
    return;
  }
  PackedLayout layout = Layout16(format.format);
  for (int i = 0; i < count; ++i) {
    std::uint32_t argb = source[i];
    std::uint32_t packed = Narrow(argb >> 24, layout.alpha) | Narrow((argb >> 16) & 0xFF, layout.red) |
                           Narrow((argb >> 8) & 0xFF, layout.green) | Narrow(argb & 0xFF, layout.blue);
    target[2 * i] = static_cast<std::uint8_t>(packed);
    target[2 * i + 1] = static_cast<std::uint8_t>(packed >> 8);
  }
}

}  // namespace wqplat
