// Software images: a header naming a rectangle of pixels and the shared,
// reference-counted record that owns them. The software renderer reads both
// records field by field, so their layouts are fixed.
#pragma once

#include <cstdint>

#include "image/color_format.h"
#include "platform/windows.h"

inline constexpr std::uint32_t kMemImgMarker = 0x12345678;

// Colour types.
inline constexpr int kMemImgRgb565 = 0;
inline constexpr int kMemImgRgb32 = 1;
inline constexpr int kMemImgChannel8 = 2;
inline constexpr int kMemImgChannel16 = 3;

// Run-length transparency codes: kind in the top two bits, run length minus
// one in the low six; each row ends with kMemImgRunRowEnd.
inline constexpr std::uint8_t kMemImgRunSkip = 0x00;   // alpha 0, or the key colour
inline constexpr std::uint8_t kMemImgRunCopy = 0x40;   // alpha 255, or not the key colour
inline constexpr std::uint8_t kMemImgRunBlend = 0x80;  // alpha 1 to 254
inline constexpr std::uint8_t kMemImgRunRowEnd = 0xC0;
inline constexpr int kMemImgMaxRun = 64;

struct MemImgData {
  std::int32_t refCount;  // marked headers that point here
  std::int32_t width;     // of the whole image
  std::int32_t height;
  std::int32_t pitch;
  std::int32_t pitchLog2;  // -1 when the pitch is not a power of two
  const ColorFormat* colorFormat;
  std::uint32_t transparentColor;  // raw pixel value (index when palettised)
  std::int32_t colorType;
  std::int32_t paletteFlag;
  std::int32_t paletteCount;
  std::int32_t alphaFlag;
  std::int32_t premultipliedValid;
  std::int32_t runLengthValid;
  std::int32_t callerOwnsPixels;
  std::uint8_t* palette;        // 1,024 bytes: u32 0x00RRGGBB, or u16 RGB565 in the first 512
  std::uint8_t* secondPalette;  // the next 1,024 bytes of the same block
  std::uint8_t* pixelBuffer;
  std::uint8_t* premultipliedPlane;  // same layout as the pixels, or null
  std::uint8_t* runLengths;          // (width + 5) x height bytes, or null
};

struct MEMIMG {
  std::uint32_t marker;  // kMemImgMarker while the header holds an image
  std::int32_t width;    // of this header's rectangle
  std::int32_t height;
  std::uint8_t* pixels;               // first pixel of the rectangle
  std::uint8_t* premultipliedPixels;  // same pixel in the premultiplied plane, or null
  MemImgData* data;
};

// pitch -1 pads rows to 16 bytes; pixelBuffer null allocates the pixels.
// extraPlanes allocates the premultiplied plane (alpha images) and the
// run-length stream. -1 for a marked header, a size that does not fit or a
// failed allocation; a failure frees whatever this call allocated.
int CreateMemImg(MEMIMG* header, int width, int height, int pitch, std::uint32_t transparentColor, int colorType,
                 int paletteFlag, int alphaFlag, int extraPlanes, std::uint8_t* pixelBuffer);
// Plain image of the screen's colour type when colorType is -1.
int InitMemImg(MEMIMG* header, int width, int height, int colorType);
// A header for a rectangle inside source sharing its pixels; a rectangle
// outside the source (or an unmarked source) changes nothing.
void MakeMemImgView(MEMIMG* view, const MEMIMG* source, int x, int y, int width, int height);
int IsMemImgInUse(const MEMIMG* header);
void ReleaseMemImg(MEMIMG* header);
// The static formats, each built once; null for a type above 3.
const ColorFormat* GetMemImgColorFormat(int colorType, int alphaFlag, int paletteFlag);
// Raw pixel value over the clipped rectangle (null: the whole image).
void FillMemImgRect(MEMIMG* header, const RECT* rect, std::uint32_t pixelValue);
// Rebuilds the premultiplied plane and the run-length stream from the pixels
// after a load of width x height pixels. Both become valid only when the
// load covered the header and the header the whole image (the stream of a
// view would stand where the owner's rows are looked for); otherwise both
// are marked invalid.
void RefreshMemImgPlanes(MEMIMG* header, int width, int height);
// Copies the source rectangle (null: the whole source) to (x, y),
// converting between the two colour formats; the converter's result.
int CopyMemImgRect(MEMIMG* destination, const MEMIMG* source, const RECT* sourceRect, int x, int y);
// Converts a rectangle of the image (and its alpha companion, or null) into
// the software image at (destinationX, destinationY); 0, or the converter's
// negative result.
int LoadBaseImageToMemImg(const BaseImage* image, const BaseImage* alpha, MEMIMG* destination, int sourceX, int sourceY,
                          int width, int height, int destinationX, int destinationY, int conversionOption);

inline int MemImgBytesPerPixel(const MEMIMG* header) { return header->data->colorFormat->bytesPerPixel; }
