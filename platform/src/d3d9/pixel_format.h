// The surface formats the device keeps: their memory layout as Direct3D
// programs see it, their OpenGL storage, and conversion of rows to and from
// 0xAARRGGBB words (the form every upload and read-back passes through).
#pragma once

#include <cstdint>

#include "d3d9/gl_core.h"
#include "platform/d3d9.h"

namespace wqplat {

enum class FormatKind { kColor, kBlock, kDepth };

struct PixelFormat {
  D_D3DFORMAT format;
  FormatKind kind;
  // Bytes per pixel, or per 4 x 4 block for block-compressed formats.
  int bytes;
  GLenum internal_format;
  // X formats and formats without alpha read alpha as 1: sampled through a
  // swizzle, as a blend factor through the factors for 1, and read back as
  // 0xFF, whatever the storage holds there.
  bool has_alpha;
};

// Null for a format the device does not keep.
const PixelFormat* FindPixelFormat(D_D3DFORMAT format);

// Bytes the pixels of a row occupy (a block row's blocks for DXT).
int RowBytes(const PixelFormat& format, int width);
// Bytes between rows as Direct3D reports them: rows of pixels start on
// 4-byte boundaries; DXT pitches are per block row.
int RowPitch(const PixelFormat& format, int width);
// Number of rows of the memory layout (block rows for DXT).
int RowCount(const PixelFormat& format, int height);

// One row of `count` pixels of a colour format to 0xAARRGGBB words and back;
// X formats read alpha as 0xFF.
void ConvertToArgb(const PixelFormat& format, const std::uint8_t* source, int count,
                   std::uint32_t* target);
void ConvertFromArgb(const PixelFormat& format, const std::uint32_t* source, int count,
                     std::uint8_t* target);

}  // namespace wqplat
