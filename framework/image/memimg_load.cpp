// Copying pixels into software images: a rectangle from another software
// image, and a base image (with its alpha companion) converted into the
// image's layout, palette included, with the planes the blits read.
#include <cstring>

#include "image/memimg.h"
#include "image/pixel_convert.h"

namespace {

constexpr int kPaletteEntries = 256;

// The image's palette in the software image's own entries: 0x00RRGGBB for
// 32-bit images, RGB565 for 16-bit ones; then copied to the second palette.
void LoadPalette(MemImgData* data, const ColorFormat& format) {
  if (data->colorType == kMemImgRgb32) {
    for (int i = 0; i < kPaletteEntries; ++i) {
      const ColorPaletteEntry& entry = format.palette[i];
      const std::uint32_t value = static_cast<std::uint32_t>(entry.red) << 16 | entry.green << 8 | entry.blue;
      std::memcpy(data->palette + i * 4, &value, 4);
    }
    std::memcpy(data->secondPalette, data->palette, kPaletteEntries * 4);
    return;
  }
  for (int i = 0; i < kPaletteEntries; ++i) {
    const ColorPaletteEntry& entry = format.palette[i];
    const auto value = static_cast<std::uint16_t>((entry.red >> 3) << 11 | (entry.green >> 2) << 5 | entry.blue >> 3);
    std::memcpy(data->palette + i * 2, &value, 2);
  }
  std::memcpy(data->secondPalette, data->palette, kPaletteEntries * 2);
}

}  // namespace

int CopyMemImgRect(MEMIMG* destination, const MEMIMG* source, const RECT* sourceRect, int x, int y) {
  const RECT whole{0, 0, source->width, source->height};
  const RECT* rect = sourceRect ? sourceRect : &whole;
  return ConvertPixelRect(destination->pixels, destination->data->pitch, destination->data->colorFormat, source->pixels,
                          source->data->pitch, source->data->colorFormat, nullptr, 0, nullptr, x, y, rect, 0, 0, 0, 0,
                          0, 0, 0, 0);
}

int LoadBaseImageToMemImg(const BaseImage* image, const BaseImage* alpha, MEMIMG* destination, int sourceX, int sourceY,
                          int width, int height, int destinationX, int destinationY, int conversionOption) {
  MemImgData* data = destination->data;
  const RECT rect{sourceX, sourceY, sourceX + width, sourceY + height};
  if (data->colorType == kMemImgChannel8 || data->colorType == kMemImgChannel16) {
    // The single channel takes the red channel, colour switched off.
    ConvertPixelRect(destination->pixels, data->pitch, data->colorFormat, image->pixels, image->pitch, &image->format,
                     nullptr, 0, nullptr, destinationX, destinationY, &rect, 0, 0, 0, 0, 1, 1, 0, 0);
  } else {
    const int result = ConvertPixelRect(
        destination->pixels, data->pitch, data->colorFormat, image->pixels, image->pitch, &image->format,
        alpha ? alpha->pixels : nullptr, alpha ? alpha->pitch : 0, alpha ? &alpha->format : nullptr, destinationX,
        destinationY, &rect, 0, conversionOption, data->transparentColor, 0, 0, 0, 0, 0);
    if (result < 0) return result;
    if (alpha == nullptr && data->paletteFlag) data->paletteCount = result + 1;
  }
  if (data->paletteFlag) LoadPalette(data, image->format);
  RefreshMemImgPlanes(destination, width, height);
  return 0;
}
