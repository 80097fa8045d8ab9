// A colour as a pixel value of a format and back.
#include "image/color_format.h"

namespace {

// An 8-bit channel value at the channel's width: truncated when narrower,
// shifted up when wider (10-bit channels).
std::uint32_t PackChannel(int value, int width, int shift) {
  auto v = static_cast<std::uint32_t>(value & 255);
  if (width == 0) return 0;
  v = width <= 8 ? v >> (8 - width) : v << (width - 8);
  return v << shift;
}

// A raw channel scaled to 0..255; a channel of width 0 gives 0.
int ScaleChannel(std::uint32_t raw, int width) {
  if (width == 0) return 0;
  return static_cast<int>(static_cast<std::uint64_t>(raw) * 255 / ChannelMax(width));
}

std::uint32_t RawChannel(std::uint32_t value, std::uint32_t mask, int shift) { return (value & mask) >> shift; }

}  // namespace

std::uint32_t EncodeFormatPixel(const ColorFormat* format, int red, int green, int blue, int alpha) {
  if (format->bytesPerPixel == 1) {
    int best = 0;
    int bestDistance = 0xFFFFFF;
    for (int i = 0; i < 256; ++i) {
      const ColorPaletteEntry& entry = format->palette[i];
      int db = entry.blue - blue, dg = entry.green - green, dr = entry.red - red;
      int distance = db * db + dg * dg + dr * dr;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = i;
      }
    }
    return static_cast<std::uint32_t>(best);
  }
  std::uint32_t value = PackChannel(red, format->redWidth, format->redShift) +
                        PackChannel(green, format->greenWidth, format->greenShift) +
                        PackChannel(blue, format->blueWidth, format->blueShift) + format->unusedMask;
  if (format->alphaWidth != 0) value += PackChannel(alpha, format->alphaWidth, format->alphaShift);
  return value;
}

int DecodeFormatPixel(const ColorFormat* format, std::uint32_t value, int* red, int* green, int* blue, int* alpha) {
  std::uint32_t r = RawChannel(value, format->redMask, format->redShift);
  std::uint32_t g = RawChannel(value, format->greenMask, format->greenShift);
  std::uint32_t b = RawChannel(value, format->blueMask, format->blueShift);
  std::uint32_t a = RawChannel(value, format->alphaMask, format->alphaShift);
  if (format->redWidth == 8 && format->greenWidth == 8 && format->blueWidth == 8) {
    if (red) *red = static_cast<int>(r);
    if (green) *green = static_cast<int>(g);
    if (blue) *blue = static_cast<int>(b);
    if (alpha && format->alphaWidth != 0)
      *alpha = format->alphaWidth == 8 ? static_cast<int>(a) : ScaleChannel(a, format->alphaWidth);
    return 0;
  }
  if (red) *red = ScaleChannel(r, format->redWidth);
  if (green) *green = ScaleChannel(g, format->greenWidth);
  if (blue) *blue = ScaleChannel(b, format->blueWidth);
  if (alpha) *alpha = ScaleChannel(a, format->alphaWidth);
  return 0;
}
