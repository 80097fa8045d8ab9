// The pixel-format descriptor shared by base images, software images and
// the screen and texture format tables. Its layout is read field by field
// by the software renderer, so the order and sizes below are fixed.
#pragma once

#include <cstdint>

struct ColorFormat {
  std::uint16_t colorBits;      // 8, 16, 24 or 32 (4 or 8 for DXT blocks)
  std::uint16_t bytesPerPixel;  // 1 to 4
  std::uint8_t redWidth, greenWidth, blueWidth, alphaWidth;
  std::uint8_t redShift, greenShift, blueShift, alphaShift;
  std::uint32_t redMask, greenMask, blueMask, alphaMask;
  std::uint32_t unusedMask;      // pixel bits no channel covers
  std::uint8_t palette[256][4];  // {blue, green, red, 0}
  std::uint8_t unusedShift;
  std::uint8_t unusedWidth;
  std::uint32_t compressedKind;  // 0 uncompressed, 1..5 DXT1..DXT5
};

// Fills bits, bytes per pixel, masks, shifts, widths and the unused mask from
// the colour bits and the four channel masks (each one contiguous run);
// leaves the palette as it was. Returns 0.
int MakeColorFormatFromMasks(ColorFormat* format, int colorBits, std::uint32_t redMask, std::uint32_t greenMask,
                             std::uint32_t blueMask, std::uint32_t alphaMask);
