// The premultiplied plane and the run-length transparency stream, built once
// per whole-image load so that the blit kernels need not classify pixels
// again at every draw.
#include <cstring>

#include "image/memimg.h"

namespace {

std::uint32_t LoadPixel32(const std::uint8_t* at) {
  std::uint32_t value;
  std::memcpy(&value, at, 4);
  return value;
}

std::uint32_t Premultiply(int colorType, std::uint32_t pixel) {
  if (colorType == kMemImgRgb565) {
    const std::uint32_t alpha = (pixel >> 16) & 0xFF;
    const std::uint32_t rgb = pixel & 0xFFFF;
    const std::uint32_t scaled = (((rgb & 0xF800) * alpha & 0xF80000) | ((rgb & 0x07E0) * alpha & 0x7E000) |
                                  ((rgb & 0x001F) * alpha & 0x1F00)) >>
                                 8;
    return scaled | alpha << 16;
  }
  const std::uint32_t alpha = pixel >> 24;
  const std::uint32_t blue = (pixel & 0xFF) * alpha >> 8;
  const std::uint32_t green = ((pixel >> 8) & 0xFF) * alpha >> 8;
  const std::uint32_t red = ((pixel >> 16) & 0xFF) * alpha >> 8;
  return blue | green << 8 | red << 16 | alpha << 24;
}

void FillPremultipliedPlane(const MEMIMG* header) {
  const MemImgData* data = header->data;
  for (int y = 0; y < header->height; ++y) {
    const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(y) * data->pitch;
    for (int x = 0; x < header->width; ++x) {
      const std::uint32_t value = Premultiply(data->colorType, LoadPixel32(header->pixels + row + x * 4));
      std::memcpy(header->premultipliedPixels + row + x * 4, &value, 4);
    }
  }
}

// The run kind of one pixel: by its alpha byte in alpha images, else by
// comparing it with the transparent colour (the index byte, the u16 or the
// whole u32 pixel, unused byte included).
std::uint8_t ClassifyPixel(const MemImgData* data, const std::uint8_t* pixel) {
  if (data->alphaFlag) {
    const std::uint8_t alpha = pixel[data->colorType == kMemImgRgb565 ? 2 : 3];
    if (alpha == 0) return kMemImgRunSkip;
    return alpha == 255 ? kMemImgRunCopy : kMemImgRunBlend;
  }
  std::uint32_t value;
  if (data->paletteFlag) {
    value = pixel[0];
  } else if (data->colorType == kMemImgRgb565) {
    std::uint16_t half;
    std::memcpy(&half, pixel, 2);
    value = half;
  } else {
    value = LoadPixel32(pixel);
  }
  return value == data->transparentColor ? kMemImgRunSkip : kMemImgRunCopy;
}

void WriteRunLengths(const MEMIMG* header) {
  const MemImgData* data = header->data;
  const int bytesPerPixel = MemImgBytesPerPixel(header);
  std::uint8_t* out = data->runLengths;
  for (int y = 0; y < header->height; ++y) {
    const std::uint8_t* row = header->pixels + static_cast<std::ptrdiff_t>(y) * data->pitch;
    int x = 0;
    while (x < header->width) {
      const std::uint8_t kind = ClassifyPixel(data, row + x * bytesPerPixel);
      int run = 1;
      while (run < kMemImgMaxRun && x + run < header->width &&
             ClassifyPixel(data, row + (x + run) * bytesPerPixel) == kind)
        ++run;
      *out++ = static_cast<std::uint8_t>(kind | (run - 1));
      x += run;
    }
    *out++ = kMemImgRunRowEnd;
  }
}

}  // namespace

void RefreshMemImgPlanes(MEMIMG* header, int width, int height) {
  if (!IsMemImgInUse(header)) return;
  MemImgData* data = header->data;
  data->premultipliedValid = 0;
  data->runLengthValid = 0;
  if (width != header->width || height != header->height) return;
  if (header->width != data->width || header->height != data->height) return;
  if (data->colorType != kMemImgRgb565 && data->colorType != kMemImgRgb32) return;
  if (!data->runLengths) return;
  data->runLengthValid = 1;
  if (data->alphaFlag && data->premultipliedPlane) {
    data->premultipliedValid = 1;
    FillPremultipliedPlane(header);
  }
  WriteRunLengths(header);
}
