// The BMP reader's parts: the file's header as read, and the decoders of
// run-length data and of the layouts GDI draws for us.
#pragma once

#include <cstdint>

#include "WqLib.h"
#include "platform/gdi32.h"

// Everything the decoders need of a file.
struct BmpLayout {
  BITMAPINFO* info;  // header (biSize 40) and colour table or masks
  std::int32_t width;
  std::int32_t height;  // rows, always positive
  bool bottomUp;
  int bits;
  std::uint32_t compression;
  std::uint32_t stride;  // bytes of one stored row
  int colourCount;       // palette entries given in the table
};

// Run-length data (RLE8, or RLE4 when `nibbles`) into one byte per pixel
// of `pitch`-byte rows, which the caller has zeroed; input that runs past
// the image or ends early is cut there.
void DecodeBmpRunLength(const BmpLayout& layout, bool nibbles, const std::uint8_t* data, std::int64_t size,
                        std::uint8_t* out, std::uint32_t pitch);

// Draws the file's pixels with GDI into a 24-bit top-down block; the
// image gets the block, its pitch and the R8G8B8 format. 0 or -1 (logged).
int DecodeBmpThroughGdi(const BmpLayout& layout, const std::uint8_t* data, BaseImage* image);
