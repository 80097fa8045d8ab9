// One conversion as ConvertPixelRect prepares it, and the paths that carry
// it out.
#pragma once

#include <cstddef>
#include <cstdint>

#include "WqLib.h"

struct PixelConvertJob {
  ColorFormat destinationFormat;
  ColorFormat sourceFormat;
  std::uint8_t* destination;  // the first pixel written (the rightmost when mirrored)
  std::uint32_t destinationPitch;
  const std::uint8_t* source;  // the rectangle's top-left pixel
  std::uint32_t sourcePitch;
  const std::uint8_t* alphaSource;  // null unless the separate alpha image is used
  std::uint32_t alphaPitch;
  const ColorFormat* alphaFormat;
  int width;
  int height;
  int mirror;
  int colorKeyToAlpha;
  std::uint32_t keyColor;
  int ditherMode;
  int colorOff;
  int alphaFromColor;
  int skipKeyColor;
};

inline const std::uint8_t* SourceRow(const PixelConvertJob& job, int y) {
  return job.source + static_cast<std::size_t>(y) * job.sourcePitch;
}
inline std::uint8_t* DestinationRow(const PixelConvertJob& job, int y) {
  return job.destination + static_cast<std::size_t>(y) * job.destinationPitch;
}
// The destination byte step from one pixel to the next: backwards when mirrored.
inline std::ptrdiff_t DestinationStep(const PixelConvertJob& job) {
  return job.mirror ? -job.destinationFormat.bytesPerPixel : job.destinationFormat.bytesPerPixel;
}

// 1 when one of the optimised conversions took the job.
int ConvertPixelsFast(const PixelConvertJob& job);
void ConvertPixelsGeneral(const PixelConvertJob& job);
