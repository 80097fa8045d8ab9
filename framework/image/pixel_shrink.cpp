// One mip level from the previous: each output pixel the channel average
// of the 2 x 2 (or 2 x 1) source pixels it covers.
#include <cstring>

#include "image/color_format.h"
#include "image/pixel_convert.h"

int ShrinkPixelsByHalf(const ColorFormat* format, void* destination, std::uint32_t destinationPitch, const void* source,
                       std::uint32_t sourcePitch, int, int, int, int, int sourceWidth, int sourceHeight) {
  int bytes = format->bytesPerPixel;
  if (bytes != 2 && bytes != 4) return -1;
  if (sourceWidth <= 0 || sourceHeight <= 0) return -1;
  if ((sourceWidth != 1 && sourceWidth % 2 != 0) || (sourceHeight != 1 && sourceHeight % 2 != 0)) return -1;
  const std::uint32_t masks[4] = {format->redMask, format->greenMask, format->blueMask, format->alphaMask};
  const int shifts[4] = {format->redShift, format->greenShift, format->blueShift, format->alphaShift};
  int spanX = sourceWidth == 1 ? 1 : 2, spanY = sourceHeight == 1 ? 1 : 2;
  int outWidth = sourceWidth / spanX, outHeight = sourceHeight / spanY;
  int sampleShift = (spanX == 2) + (spanY == 2);
  const auto* in = static_cast<const std::uint8_t*>(source);
  auto* out = static_cast<std::uint8_t*>(destination);
  for (int y = 0; y < outHeight; ++y) {
    for (int x = 0; x < outWidth; ++x) {
      std::uint32_t sums[4] = {};
      for (int dy = 0; dy < spanY; ++dy) {
        for (int dx = 0; dx < spanX; ++dx) {
          const std::uint8_t* pixel = in + static_cast<std::size_t>(y * spanY + dy) * sourcePitch +
                                      static_cast<std::size_t>(x * spanX + dx) * bytes;
          std::uint32_t value = ReadPixelValue(pixel, bytes);
          for (int c = 0; c < 4; ++c) sums[c] += (value & masks[c]) >> shifts[c];
        }
      }
      std::uint32_t result = 0;
      for (int c = 0; c < 4; ++c) result |= (sums[c] >> sampleShift) << shifts[c] & masks[c];
      WritePixelValue(out + static_cast<std::size_t>(y) * destinationPitch + static_cast<std::size_t>(x) * bytes, bytes,
                      result);
    }
  }
  return 0;
}
