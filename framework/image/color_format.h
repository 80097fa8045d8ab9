// Pixel-format descriptors: the helpers the converter and the readers share
// beside the public makers and the colour encoding in WqLib.h.
#pragma once

#include <cstdint>

#include "WqLib.h"

// Reads a pixel value of 1 to 4 bytes, little-endian.
inline std::uint32_t ReadPixelValue(const std::uint8_t* pixel, int bytesPerPixel) {
  switch (bytesPerPixel) {
    case 1:
      return pixel[0];
    case 2:
      return pixel[0] | pixel[1] << 8;
    case 3:
      return pixel[0] | pixel[1] << 8 | static_cast<std::uint32_t>(pixel[2]) << 16;
    default:
      return pixel[0] | pixel[1] << 8 | static_cast<std::uint32_t>(pixel[2]) << 16 |
             static_cast<std::uint32_t>(pixel[3]) << 24;
  }
}

inline void WritePixelValue(std::uint8_t* pixel, int bytesPerPixel, std::uint32_t value) {
  pixel[0] = static_cast<std::uint8_t>(value);
  if (bytesPerPixel > 1) pixel[1] = static_cast<std::uint8_t>(value >> 8);
  if (bytesPerPixel > 2) pixel[2] = static_cast<std::uint8_t>(value >> 16);
  if (bytesPerPixel > 3) pixel[3] = static_cast<std::uint8_t>(value >> 24);
}

// A palette entry as the value 0x00RRGGBB.
inline std::uint32_t PaletteEntryValue(const ColorPaletteEntry& entry) {
  return static_cast<std::uint32_t>(entry.red) << 16 | entry.green << 8 | entry.blue;
}

// The lowest set bit and the length of the run of set bits from there.
struct MaskRun {
  std::uint8_t shift;
  std::uint8_t width;
};
MaskRun FindMaskRun(std::uint32_t mask);

// The largest value of a channel `width` bits wide.
inline std::uint32_t ChannelMax(int width) { return width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1; }
