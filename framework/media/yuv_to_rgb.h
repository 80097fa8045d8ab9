// Planar YUV pictures (video range) into 32-bit RGB images and into the
// packed layouts of the YUV surfaces that Direct3D stretches.
#pragma once

#include <cstdint>

#include "WqLib.h"

// A picture's three planes, top row first: rows of `width` bytes `stride`
// bytes apart.
struct YuvPlanes {
  std::uint8_t* y;
  std::uint8_t* u;
  std::uint8_t* v;
  std::int32_t yWidth, yHeight, yStride;
  std::int32_t uvWidth, uvHeight, uvStride;
};

// Builds the fixed-point tables (14 fraction bits) once; 0.
int BuildYuvToRgbTables();

// 1 when the chroma planes are half the luma plane both ways.
bool IsYuv420(const YuvPlanes& planes);
// Writes the picture into a 32-bit image (bytes blue, green, red, 255),
// clipped to both sizes: 2 x 2 blocks through the tables for a 4:2:0
// picture, per pixel in floating point for any other layout.
void ConvertYuvToXrgb(const YuvPlanes& planes, BaseImage* image);

// The packed surface layouts of a 4:2:0 picture at the locked pitch.
enum class YuvSurfaceLayout { kYv12, kYuy2, kUyvy };
void WriteYuvSurface(const YuvPlanes& planes, YuvSurfaceLayout layout, std::uint8_t* bits, int pitch);
