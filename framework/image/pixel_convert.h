// The pixel converter: copies a rectangle from one pixel layout into
// another, converting channel widths, palettes and alpha on the way.
#pragma once

#include <cstdint>

#include "WqLib.h"
#include "platform/wintypes.h"

// 0, or for a plain 8-bit to 8-bit copy the largest palette index copied.
// The alpha source (pixels, pitch, format) is all null when there is none.
// Both formats are copied first, so either may be rewritten meanwhile.
int ConvertPixelRect(void* destination, std::uint32_t destinationPitch, const ColorFormat* destinationFormat,
                     const void* source, std::uint32_t sourcePitch, const ColorFormat* sourceFormat,
                     const void* alphaSource, std::uint32_t alphaPitch, const ColorFormat* alphaFormat,
                     int destinationX, int destinationY, const RECT* sourceRect, int mirror, int colorKeyToAlpha,
                     std::uint32_t keyColor, int ditherMode, int colorOff, int alphaFromColor, int skipKeyColor,
                     int remapPalette);

// One mip level from the previous (16 and 32 bits; the sizes are the
// source's, each even or 1); 0 or -1. The position words are unused.
int ShrinkPixelsByHalf(const ColorFormat* format, void* destination, std::uint32_t destinationPitch, const void* source,
                       std::uint32_t sourcePitch, int position0, int position1, int position2, int position3,
                       int sourceWidth, int sourceHeight);

// The optimised conversions of the commonest layouts can be switched off,
// so tests and benchmarks can set them against the general path. On by
// default.
void SetPixelConvertFastPaths(int enabled);
