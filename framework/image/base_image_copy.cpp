// Rectangle copies between base images: clipped one to one, and scaled.
#include <algorithm>

#include "image/base_image.h"
#include "image/pixel_convert.h"

int CopyBaseImageRect(int sourceX, int sourceY, int width, int height, int destinationX, int destinationY,
                      BaseImage* source, BaseImage* destination) {
  if (DecompressBaseImage(source) != 0 || DecompressBaseImage(destination) != 0) return -1;
  if (!source->pixels || !destination->pixels) return -1;
  // A negative start on either side moves the other side's start and
  // shortens the run.
  auto clipStart = [](int& start, int& otherStart, int& size) {
    if (start >= 0) return;
    otherStart -= start;
    size += start;
    start = 0;
  };
  clipStart(sourceX, destinationX, width);
  clipStart(sourceY, destinationY, height);
  clipStart(destinationX, sourceX, width);
  clipStart(destinationY, sourceY, height);
  width = std::min({width, destination->width - destinationX, source->width - sourceX});
  height = std::min({height, destination->height - destinationY, source->height - sourceY});
  if (width <= 0 || height <= 0) return 0;
  RECT rect{sourceX, sourceY, sourceX + width, sourceY + height};
  ConvertPixelRect(destination->pixels, destination->pitch, &destination->format, source->pixels, source->pitch,
                   &source->format, nullptr, 0, nullptr, destinationX, destinationY, &rect, 0, 0, 0, 0, 0, 0, 0, 1);
  return 0;
}

namespace {

bool RectInside(int left, int top, int right, int bottom, const BaseImage* image) {
  return left >= 0 && left < image->width && right >= 1 && right <= image->width && right > left && top >= 0 &&
         top < image->height && bottom >= 1 && bottom <= image->height && bottom > top;
}

// The pixel at (x, y), or the last column or row for a sample one past the
// edge, so bilinear filtering never reads outside the image.
void ReadClamped(BaseImage* image, int x, int y, int channels[4]) {
  GetBaseImagePixel(image, std::min(x, image->width - 1), std::min(y, image->height - 1), &channels[0], &channels[1],
                    &channels[2], &channels[3]);
}

}  // namespace

int StretchBaseImageRect(int sourceLeft, int sourceTop, int sourceRight, int sourceBottom, BaseImage* source,
                         int destinationLeft, int destinationTop, int destinationRight, int destinationBottom,
                         BaseImage* destination, int mode) {
  if (DecompressBaseImage(source) != 0 || DecompressBaseImage(destination) != 0) return -1;
  if (!RectInside(sourceLeft, sourceTop, sourceRight, sourceBottom, source) ||
      !RectInside(destinationLeft, destinationTop, destinationRight, destinationBottom, destination)) {
    return -1;
  }
  int sourceWidth = sourceRight - sourceLeft, sourceHeight = sourceBottom - sourceTop;
  int width = destinationRight - destinationLeft, height = destinationBottom - destinationTop;
  if (sourceWidth == width && sourceHeight == height) {
    return CopyBaseImageRect(sourceLeft, sourceTop, width, height, destinationLeft, destinationTop, source,
                             destination);
  }
  std::int64_t stepX = (static_cast<std::int64_t>(sourceWidth) << 16) / width;
  std::int64_t stepY = (static_cast<std::int64_t>(sourceHeight) << 16) / height;
  std::int64_t positionY = static_cast<std::int64_t>(sourceTop) << 16;
  for (int y = 0; y < height; ++y, positionY += stepY) {
    std::int64_t positionX = static_cast<std::int64_t>(sourceLeft) << 16;
    for (int x = 0; x < width; ++x, positionX += stepX) {
      int sx = static_cast<int>(positionX >> 16), sy = static_cast<int>(positionY >> 16);
      int out[4] = {0, 0, 0, 0};
      if (mode == 1) {
        std::int64_t fx = positionX & 0xFFFF, fy = positionY & 0xFFFF;
        std::int64_t weights[4] = {(65535 - fy) * (65535 - fx) >> 16, (65535 - fy) * fx >> 16, fy * (65535 - fx) >> 16,
                                   fy * fx >> 16};
        int samples[4][4] = {};
        ReadClamped(source, sx, sy, samples[0]);
        ReadClamped(source, sx + 1, sy, samples[1]);
        ReadClamped(source, sx, sy + 1, samples[2]);
        ReadClamped(source, sx + 1, sy + 1, samples[3]);
        for (int c = 0; c < 4; ++c) {
          std::int64_t sum = 0;
          for (int s = 0; s < 4; ++s) sum += weights[s] * samples[s][c];
          out[c] = static_cast<int>(sum >> 16);
        }
      } else {
        GetBaseImagePixel(source, sx, sy, &out[0], &out[1], &out[2], &out[3]);
      }
      SetBaseImagePixel(destination, destinationLeft + x, destinationTop + y, out[0], out[1], out[2], out[3]);
    }
  }
  return 0;
}
